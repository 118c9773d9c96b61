// The whole program from start to exit: how it ends and in which order it shuts down.
#include "gui_test_support.h"

#include "app/page_table.h"
#include "gui_test_ids.h"

namespace {

class StartUpTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        setPageFactory(0, createRecordingPage);
    }

    // Whatever ended the loop, the page goes with the main window, which stores its placement
    // before the station is stored and closed.
    void expectOrderlyShutdown(int exitCode) {
        EXPECT_EQ(exitCode, 0);
        const std::vector<std::string> expected = {
            "init TAB_BASIC_LOCO",
            "open (none)",
            "destroy TAB_BASIC_LOCO",
            "delete TAB_BASIC_LOCO",
            "store station: placement stored, main window gone",
            "close",
            "delete driver"};
        EXPECT_EQ(events(), expected);
        EXPECT_TRUE(messageBoxes().empty());
    }

    static HWND pageControl(int id) {
        HWND page = FindWindowExA(findMainWindow(), nullptr, nullptr, nullptr);
        for (; page; page = FindWindowExA(findMainWindow(), page, nullptr, nullptr)) {
            if (HWND control = GetDlgItem(page, id))
                return control;
        }
        return nullptr;
    }
};

TEST_F(StartUpTest, CtrlQOnAPageEndsTheProgram) {
    const int exitCode = runProgram([] {
        HWND edit = pageControl(IDC_TEST_EDIT);
        ASSERT_NE(edit, nullptr);
        SetFocus(edit);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        PostMessageA(edit, WM_KEYDOWN, 'Q', 1);
    });
    expectOrderlyShutdown(exitCode);
}

TEST_F(StartUpTest, ClosingFromTheSystemMenuEndsTheProgram) {
    const int exitCode =
        runProgram([] { PostMessageA(findMainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); });
    expectOrderlyShutdown(exitCode);
}

TEST_F(StartUpTest, QuitCommandSentToAPageEndsTheProgram) {
    const int exitCode = runProgram([] {
        HWND page = GetParent(pageControl(IDC_TEST_EDIT));
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(40003, 0), 0);
    });
    expectOrderlyShutdown(exitCode);
}

TEST_F(StartUpTest, WindowMaximisedAtExitIsMaximisedAtTheNextStart) {
    runProgram([] {
        HWND main = findMainWindow();
        ShowWindow(main, SW_MAXIMIZE);
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    bool zoomed = false;
    runProgram([&] {
        HWND main = findMainWindow();
        zoomed = IsZoomed(main) != FALSE;
        PostMessageA(main, WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(zoomed);
}

TEST_F(StartUpTest, StoredStationIsReopenedWithItsConfiguration) {
    runProgram([] { PostMessageA(findMainWindow(), WM_CLOSE, 0, 0); });
    uint32_t tag = 0;
    ASSERT_TRUE(storedDword("CmdSt_IDX", &tag));
    EXPECT_EQ(tag, RecordingDriver::tag);
    events().clear();
    runProgram([] { PostMessageA(findMainWindow(), WM_CLOSE, 0, 0); });
    ASSERT_GE(events().size(), 2u);
    EXPECT_EQ(events()[1], "open recorded");
}

} // namespace
