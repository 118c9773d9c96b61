// The page view over a real dialog: box texts and checks by control id, error boxes owned by the
// page, a wait bar centred over it, repainting the main window and the cancel key.
#pragma once

#include <windows.h>

#include <map>

#include "pages/cv_editor_rules.h"

class TabPage;

class Win32PageView : public CvEditorView {
  public:
    explicit Win32PageView(const TabPage& page) : page_(page) {}

    std::string boxText(int controlId) override;
    void setBoxText(int controlId, const std::string& text) override;
    bool isChecked(int controlId) override;
    void setChecked(int controlId, bool checked) override;
    void showError(const std::string& text) override;
    bool confirm(const std::string& text, const char* caption) override;
    std::unique_ptr<WaitProgress> openWaitBar(uint32_t maximum, const char* message) override;
    void repaintMainWindow() override;
    int takeKeyPress() override;
    void beep() override;
    void setListNames(const std::vector<const char*>& names) override;
    int selectedListPosition() override;
    void setCaret(int controlId, int position) override;
    bool backUpDecoder(std::string& error) override;
    void showNote(const std::string& text, const char* caption) override;

    // The page's window is gone: its controls with it.
    void forgetBoxes();

  private:
    HWND dialog() const;
    HWND box(int controlId);

    const TabPage& page_;
    // Under Wine each GetDlgItem asks the server; a page reads and sets its boxes by the dozen.
    std::map<int, HWND> boxes_;
};
