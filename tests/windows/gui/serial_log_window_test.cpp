// The serial traffic log's window: it opens where it was last closed.
#include "gui_test_support.h"

#include <string>

#include "resources/resource_ids.h"
#include "stations/serial_log_window.h"

namespace {

using SerialLogWindowTest = ShellTest;

TEST_F(SerialLogWindowTest, ReopensWithTheRectangleItWasClosedWith) {
    SerialLogWindow log(4096);
    log.appendText("M\r\n");
    log.show(1);
    ASSERT_NE(log.window(), nullptr);
    char caption[32] = {};
    GetWindowTextA(log.window(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Serial Comm Log");
    RECT first = windowRect(log.window());
    EXPECT_EQ(first.left, 100);
    EXPECT_EQ(first.top, 75);
    EXPECT_EQ(first.right - first.left, 250);
    EXPECT_EQ(first.bottom - first.top, 300);

    SetWindowPos(log.window(), nullptr, 220, 140, 320, 200, SWP_NOZORDER);
    log.show(0);
    EXPECT_EQ(log.window(), nullptr);
    log.show(1);
    RECT again = windowRect(log.window());
    EXPECT_EQ(again.left, 220);
    EXPECT_EQ(again.top, 140);
    EXPECT_EQ(again.right - again.left, 320);
    EXPECT_EQ(again.bottom - again.top, 200);

    // The text fills the window and shows what was logged before it opened.
    HWND text = GetDlgItem(log.window(), IDC_LOG_TEXT);
    RECT client{};
    GetClientRect(log.window(), &client);
    RECT textRect = windowRect(text);
    EXPECT_EQ(textRect.right - textRect.left, client.right);
    EXPECT_EQ(textRect.bottom - textRect.top, client.bottom);
    char shown[16] = {};
    GetWindowTextA(text, shown, sizeof shown);
    EXPECT_STREQ(shown, "M\r\n");

    // Its close box (IDCANCEL) closes it the same way.
    SendMessageA(log.window(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(log.window(), nullptr);
}

} // namespace

namespace {

std::string windowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

TEST_F(SerialLogWindowTest, OpenWindowFollowsTheLogAndNeverOutgrowsIt) {
    SerialLogWindow log(128);
    log.show(1);
    HWND text = GetDlgItem(log.window(), IDC_LOG_TEXT);
    log.appendText("M\r\n");
    log.appendText("COMMAND: ");
    EXPECT_EQ(windowText(text), "M\r\nCOMMAND: ");

    // Hours of traffic later the window holds what the log holds, not everything ever sent.
    for (int i = 0; i < 500; ++i)
        log.appendText("R029\r\n6\r\nCOMMAND: ");
    EXPECT_EQ(windowText(text), std::string(log.text()));
    EXPECT_LE(windowText(text).size(), 128u);

    MINMAXINFO limits{};
    SendMessageA(log.window(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, 114);
    EXPECT_EQ(limits.ptMinTrackSize.y, 114);
    log.show(0);
}

} // namespace
