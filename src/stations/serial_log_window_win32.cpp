// The log's window: a modeless tool window whose edit control shows the buffered traffic.
#include <windows.h>

#include "resources/resource_ids.h"
#include "stations/serial_log_window.h"

namespace {

constexpr int minimumTrackSize = 114;

HWND textControl(HWND window) {
    return GetDlgItem(window, IDC_LOG_TEXT);
}

void scrollToEnd(HWND edit) {
    int end = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, end, end);
    SendMessageA(edit, EM_SCROLLCARET, 0, 0);
}

INT_PTR CALLBACK logWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return 1;
    case WM_SIZE:
        SetWindowPos(textControl(window), nullptr, 0, 0, LOWORD(lParam), HIWORD(lParam),
                     SWP_NOZORDER | SWP_NOMOVE);
        return 1;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {minimumTrackSize,
                                                                 minimumTrackSize};
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDCANCEL)
            return 0;
        if (auto* log =
                reinterpret_cast<SerialLogWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            log->show(0);
        return 1;
    case WM_DESTROY:
        return 1;
    default:
        return 0;
    }
}

} // namespace

void SerialLogWindow::show(int flag) {
    if (flag && window_) {
        BringWindowToTop(window_);
    } else if (flag) {
        window_ = CreateDialogParamA(GetModuleHandleA(nullptr), "LOG_WINDOW", nullptr,
                                     logWindowProcedure, 0);
        if (!window_)
            return;
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        HWND edit = textControl(window_);
        SetWindowTextA(edit, start_);
        scrollToEnd(edit);
        SetWindowPos(window_, nullptr, left_, top_, width_, height_, SWP_NOZORDER);
        SetWindowPos(window_, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
    } else if (window_) {
        RECT rect{};
        GetWindowRect(window_, &rect);
        left_ = rect.left;
        top_ = rect.top;
        width_ = rect.right - rect.left;
        height_ = rect.bottom - rect.top;
        HWND closing = window_;
        window_ = nullptr;
        DestroyWindow(closing);
    }
}

// The window shows exactly the buffer: when old lines leave the buffer they leave the window
// too, so a log left open for hours does not grow without bound.
void SerialLogWindow::showAppended(size_t length, bool wholeText) {
    HWND edit = textControl(window_);
    if (wholeText) {
        SetWindowTextA(edit, start_);
    } else {
        int end = GetWindowTextLengthA(edit);
        SendMessageA(edit, EM_SETSEL, end, end);
        SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(write_ - length));
    }
    scrollToEnd(edit);
}
