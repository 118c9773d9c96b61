#include "app/tab_page.h"

#include "app/placement_rules.h"
#include "foundation/module_instance.h"
#include "resources/resource_ids.h"

TabPage::TabPage(const char* templateName, WindowHandle parent)
    : templateName_(templateName), parent_(parent) {}

TabPage::~TabPage() = default;

int TabPage::createWindow() {
    CreateDialogParamA(moduleInstance(), templateName_, parent_, dialogProcedure,
                       reinterpret_cast<LPARAM>(this));
    return window_ ? 0 : 1;
}

void TabPage::destroyPage() {
    if (window_)
        DestroyWindow(window_);
    window_ = nullptr;
    delete this;
}

void TabPage::showPage() {
    ShowWindow(window_, showCommand_);
}

void TabPage::centreInTab(HWND tabControl) {
    if (!window_)
        return;
    RECT page{};
    GetClientRect(window_, &page);
    RECT area{};
    GetClientRect(tabControl, &area);
    SendMessageA(tabControl, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    const int x = (area.right - area.left - page.right) / 2 + area.left;
    const int y = (area.bottom - area.top - page.bottom) / 2 + area.top;
    // The page is a sibling of the tab control, which sits at (2, 2) in the main window; the
    // offsets carry the display area over into the main window's client coordinates.
    MoveWindow(window_, x + 4, y + 3, page.right, page.bottom, TRUE);
}

void TabPage::centreOver(HWND reference) {
    if (!window_)
        return;
    RECT referenceFrame{};
    RECT parentFrame{};
    GetWindowRect(reference, &referenceFrame);
    GetWindowRect(parent_, &parentFrame);
    RECT page{};
    RECT referenceClient{};
    GetClientRect(window_, &page);
    GetClientRect(reference, &referenceClient);
    const int x = (referenceClient.right - page.right) / 2 + referenceFrame.left - parentFrame.left;
    const int y = (referenceClient.bottom - page.bottom) / 2 + referenceFrame.top - parentFrame.top;
    MoveWindow(window_, x, y, page.right, page.bottom, FALSE);
}

INT_PTR TabPage::onInitDialog(WPARAM, LPARAM) {
    return 0;
}
INT_PTR TabPage::onDestroy(WPARAM, LPARAM) {
    return 0;
}

INT_PTR TabPage::onCommand(int id, int) {
    if (id != IDM_QUIT)
        return 0;
    PostQuitMessage(0);
    return 1;
}

INT_PTR TabPage::onPaint(HDC, PAINTSTRUCT*) {
    return 0;
}
INT_PTR TabPage::onNotify(NMHDR*) {
    return 0;
}
INT_PTR TabPage::onSize(WPARAM, LPARAM) {
    return 0;
}
INT_PTR TabPage::onWindowPosChanging(LPARAM) {
    return 0;
}

INT_PTR TabPage::onGetMinMaxInfo(MINMAXINFO* info) {
    info->ptMinTrackSize = {mainWindowWidth, mainWindowHeight};
    return 1;
}

INT_PTR TabPage::onHorizontalScroll(WPARAM, LPARAM) {
    return 0;
}
INT_PTR TabPage::onDisplayChange(WPARAM, LPARAM) {
    return 0;
}
INT_PTR TabPage::onEraseBackground(WPARAM) {
    return 0;
}
INT_PTR TabPage::onDrawItem(WPARAM, LPARAM) {
    return 0;
}
INT_PTR TabPage::onSysColorChange() {
    return 0;
}
INT_PTR TabPage::onEnterSizeMove() {
    return 0;
}
INT_PTR TabPage::onExitSizeMove() {
    return 0;
}

INT_PTR TabPage::onOtherMessage(UINT, WPARAM, LPARAM) {
    return 0;
}

INT_PTR CALLBACK TabPage::dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* page = reinterpret_cast<TabPage*>(lParam);
        page->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        return page->onInitDialog(wParam, lParam);
    }
    // Messages that arrive before WM_INITDIALOG find no page yet.
    auto* page = reinterpret_cast<TabPage*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return page ? page->dispatch(message, wParam, lParam) : 0;
}

INT_PTR TabPage::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        return onDestroy(wParam, lParam);
    case WM_NCDESTROY:
        // A window destroyed other than through destroyPage (with its parent, say) must not
        // leave the page holding a handle the system may give to another window.
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
        return 0;
    case WM_COMMAND:
        return onCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window_, &paint);
        INT_PTR result = onPaint(dc, &paint);
        EndPaint(window_, &paint);
        return result;
    }
    case WM_NOTIFY:
        return onNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_SIZE:
        return onSize(wParam, lParam);
    case WM_WINDOWPOSCHANGING:
        return onWindowPosChanging(lParam);
    case WM_GETMINMAXINFO:
        return onGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_HSCROLL:
        return onHorizontalScroll(wParam, lParam);
    case WM_DISPLAYCHANGE:
        return onDisplayChange(wParam, lParam);
    case WM_ERASEBKGND:
        return onEraseBackground(wParam);
    case WM_DRAWITEM:
        return onDrawItem(wParam, lParam);
    case WM_SYSCOLORCHANGE:
        return onSysColorChange();
    case WM_ENTERSIZEMOVE:
        return onEnterSizeMove();
    case WM_EXITSIZEMOVE:
        return onExitSizeMove();
    case WM_CLOSE:
        // Closing the main window from its system menu, or any page, ends the program.
        PostQuitMessage(0);
        return 1;
    default:
        return onOtherMessage(message, wParam, lParam);
    }
}
