// The main window, every tab page and every driver options page: an object owning one modeless
// dialog built from a template, receiving the dialog's messages through virtual operations.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "foundation/window_handle.h"

class TabPage {
  public:
    // Does not create the dialog; createWindow does.
    TabPage(const char* templateName, WindowHandle parent);
    TabPage(const TabPage&) = delete;
    TabPage& operator=(const TabPage&) = delete;

    // 0 when the dialog was created and initialised, 1 otherwise.
    int createWindow();
    // Destroys the window, if any, then the object: the caller's pointer is void afterwards.
    void destroyPage();
    void showPage();
    HWND window() const { return window_; }
    // Centres the page over the display area of a tab control.
    void centreInTab(HWND tabControl);
    // Centres the page over another window, e.g. an options page over its frame.
    void centreOver(HWND reference);

  protected:
    // Pages are destroyed only through destroyPage, together with their window.
    virtual ~TabPage();

    // One operation per message, in this order; the result is the dialog procedure's.
    virtual INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam);
    virtual INT_PTR onDestroy(WPARAM wParam, LPARAM lParam);
    // Derived pages pass the ids they do not handle here, so the quit command works everywhere.
    virtual INT_PTR onCommand(int id, int notification);
    virtual INT_PTR onPaint(HDC dc, PAINTSTRUCT* paint);
    virtual INT_PTR onNotify(NMHDR* header);
    virtual INT_PTR onSize(WPARAM wParam, LPARAM lParam);
    virtual INT_PTR onWindowPosChanging(LPARAM lParam);
    virtual INT_PTR onGetMinMaxInfo(MINMAXINFO* info);
    virtual INT_PTR onHorizontalScroll(WPARAM wParam, LPARAM lParam);
    virtual INT_PTR onDisplayChange(WPARAM wParam, LPARAM lParam);
    virtual INT_PTR onEraseBackground(WPARAM wParam);
    virtual INT_PTR onDrawItem(WPARAM wParam, LPARAM lParam);
    virtual INT_PTR onSysColorChange();
    virtual INT_PTR onEnterSizeMove();
    virtual INT_PTR onExitSizeMove();
    // Messages none of the above take, registered ones among them.
    virtual INT_PTR onOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    int showCommand_ = SW_RESTORE;
    const char* templateName_;
    HWND parent_;

  private:
    static INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};
