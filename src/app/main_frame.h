// The main window: the tab control with the nine pages, its placement kept across runs, and the
// system messages passed on to the page shown.
#pragma once

#include <cstdint>

#include "app/tab_page.h"

class MainFrame : public TabPage {
  public:
    // showCommand is the one the program was started with; a window maximised at the last exit
    // is maximised again. The window opens on the tab at firstTab.
    explicit MainFrame(int showCommand, int firstTab = 0);

    // Replaces the page shown by the page of the selected tab.
    void showSelectedPage();
    // Hides the window and ends the program when the work area is too small for it; otherwise
    // lays the tabs out in one row or several and centres the page again.
    void checkWorkArea(int width, int height);

    TabPage* currentPage() const { return currentPage_; }
    HWND tabControl() const;

  protected:
    ~MainFrame() override;

    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDestroy(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onNotify(NMHDR* header) override;
    INT_PTR onSize(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDisplayChange(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onSysColorChange() override;
    INT_PTR onEnterSizeMove() override;
    INT_PTR onExitSizeMove() override;
    INT_PTR onOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;

  private:
    void insertTabs();
    // Reads the stored placement; sets the show command when the window was maximised.
    uint32_t readStoredLocation();
    void storePlacement();
    void checkReportedWorkArea();

    TabPage* currentPage_ = nullptr;
    int firstTab_;
};
