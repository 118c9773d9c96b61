#include "pages/speed_value_popup.h"

#include "foundation/module_instance.h"
#include "pages/speed_table_rules.h"

HWND speedPopup = nullptr;
HBRUSH popupBrush = nullptr;
int popupUsers = 0;
int popupCv = 0;
int popupValue = 0;

namespace {

const COLORREF popupColour = RGB(255, 254, 194);
constexpr int popupWidth = 105;
constexpr int popupHeight = 19;
constexpr int popupCentreOffset = 52;
constexpr int popupRise = 29;

void paintPopup(HWND popup) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(popup, &paint);
    RECT client{};
    GetClientRect(popup, &client);
    const std::string text = currentPopupText();
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(popup, WM_GETFONT, 0, 0)));
    const COLORREF oldBackground = SetBkColor(dc, popupColour);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkColor(dc, oldBackground);
    if (oldFont)
        SelectObject(dc, oldFont);
    EndPaint(popup, &paint);
}

INT_PTR CALLBACK popupProcedure(HWND popup, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client{};
        GetClientRect(popup, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, popupBrush);
        return TRUE;
    }
    case WM_PAINT:
        paintPopup(popup);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void addPopupUser() {
    if (popupUsers == 0) {
        popupBrush = CreateSolidBrush(popupColour);
        speedPopup =
            CreateDialogParamA(moduleInstance(), "POP_SPEED_STATUS", nullptr, popupProcedure, 0);
    }
    ++popupUsers;
}

void removePopupUser() {
    if (popupUsers == 0 || --popupUsers > 0)
        return;
    if (speedPopup)
        DestroyWindow(speedPopup);
    speedPopup = nullptr;
    if (popupBrush)
        DeleteObject(popupBrush);
    popupBrush = nullptr;
}

void showPopupAt(HWND thumb) {
    if (!speedPopup)
        return;
    RECT rect{};
    GetWindowRect(thumb, &rect);
    const int x = rect.left + (rect.right - rect.left) / 2 - popupCentreOffset;
    const int y = rect.top - popupRise;
    // While it is shown it is already topmost: a drag then only moves it, which costs Wine's
    // server a fraction of showing it again on every mouse move.
    const UINT placement = IsWindowVisible(speedPopup) ? SWP_NOZORDER : SWP_SHOWWINDOW;
    SetWindowPos(speedPopup, HWND_TOPMOST, x, y, popupWidth, popupHeight,
                 SWP_NOACTIVATE | SWP_NOCOPYBITS | placement);
    // Unmoved, the popup would keep its old text: the other form after Show CV # changed.
    InvalidateRect(speedPopup, nullptr, TRUE);
}

void hidePopup() {
    if (speedPopup && IsWindowVisible(speedPopup))
        SetWindowPos(speedPopup, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

void showPopupAgain(HWND focused) {
    if (speedPopup && !IsWindowVisible(speedPopup) && focused)
        showPopupAt(focused);
}

std::string currentPopupText() {
    return speedPopupText(popupCv, popupValue, showCvInPopup != 0);
}
