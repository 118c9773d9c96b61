#include "model/wait_bar.h"

#include <commctrl.h>

#include <climits>

#include "foundation/module_instance.h"
#include "foundation/pause.h"
#include "resources/resource_ids.h"

namespace {

// Long enough to read a line of text or see a full bar.
constexpr unsigned readablePauseMs = 250;

} // namespace

WaitBar::WaitBar(HWND owner, uint32_t maximum, const char* message) : maximum_(maximum) {
    CreateDialogParamA(moduleInstance(), "WAIT_BAR", nullptr, dialogProcedure,
                       reinterpret_cast<LPARAM>(this));
    progress_ = GetDlgItem(window_, IDC_WAIT_PROGRESS);
    messageLine_ = GetDlgItem(window_, IDC_WAIT_MESSAGE);
    // The full 32-bit range: a 16-bit one would wrap for a maximum above 65535 and show a full
    // bar long before the end.
    const int range =
        maximum > static_cast<uint32_t>(INT_MAX) ? INT_MAX : static_cast<int>(maximum);
    SendMessageA(progress_, PBM_SETRANGE32, 0, range);
    SetWindowTextA(messageLine_, message ? message : "");
    centreOn(owner);
    HCURSOR hourglass = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    if (hourglass)
        savedCursor_ = SetCursor(hourglass);
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    if (message && *message)
        pauseFor(readablePauseMs);
    repaintTarget_ = GetParent(owner);
}

WaitBar::~WaitBar() {
    if (fillOnClose_) {
        setPosition(maximum_, nullptr);
        pauseFor(readablePauseMs);
    }
    if (window_)
        DestroyWindow(window_);
    if (savedCursor_)
        SetCursor(savedCursor_);
}

void WaitBar::step(const char* message) {
    setPosition(position_ + 1, message);
}

void WaitBar::setPosition(uint32_t position, const char* message) {
    position_ = position > maximum_ ? maximum_ : position;
    SendMessageA(progress_, PBM_SETPOS, position_, 0);
    if (message)
        SetWindowTextA(messageLine_, message);
}

void WaitBar::centreOn(HWND owner) {
    RECT frame{};
    GetWindowRect(owner ? owner : GetDesktopWindow(), &frame);
    RECT client{};
    GetClientRect(window_, &client);
    const int x = frame.left + (frame.right - frame.left) / 2 - client.right / 2;
    const int y = frame.top + (frame.bottom - frame.top) / 2 - client.bottom / 2;
    SetWindowPos(window_, HWND_TOP, x, y, 0, 0, SWP_NOSIZE);
}

// Another application may have been clicked while the operation runs; the bar must not stay
// hidden behind it. But an error box of the operation (it disables the main window while it
// waits for its answer) must stay in view over the bar, and keep the keyboard.
void WaitBar::comeToTop() {
    if (repaintTarget_ && !IsWindowEnabled(repaintTarget_))
        return;
    SetWindowPos(window_, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOSENDCHANGING | SWP_NOACTIVATE);
    if (repaintTarget_)
        UpdateWindow(repaintTarget_);
}

INT_PTR CALLBACK WaitBar::dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* bar = reinterpret_cast<WaitBar*>(lParam);
        bar->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        return 0;
    }
    auto* bar = reinterpret_cast<WaitBar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const bool regainTop = (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE) ||
                           (message == WM_ACTIVATEAPP && wParam != 0);
    if (!bar || !regainTop)
        return 0;
    bar->comeToTop();
    return 1;
}
