// The "Load/Save" tab: saves the decoder data of every page to a decoder file, loads one back,
// clears it all, and carries the decoder's name, owner and notes.
#pragma once

#include <string>

#include "app/tab_page.h"

class LoadSavePage : public TabPage {
  public:
    LoadSavePage(const char* templateName, WindowHandle parent);

    // The "Load" and "Save" buttons: a file dialog, then the file.
    void loadFromFile();
    void saveToFile();
    // The "Clear All" button asks first; a failed load does not.
    void clearAllData(bool ask);
    // Paths are UTF-8. 0 on success; 1 when it failed, after the message (a failed load clears
    // all).
    int readDecoderFile(const char* path);
    // A decoder file, or a CV list with asCvList.
    int writeDecoderFile(const char* path, bool asCvList = false);

  protected:
    ~LoadSavePage() override;
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDestroy(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;

  private:
    std::string boxText(int id, size_t limit) const;
};

TabPage* createLoadSavePage(const char* templateName, WindowHandle parent);
