// A page outside the main window: placed over another window, and destroyed with its parent.
#include "gui_test_support.h"

namespace {

class TabPageTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        // Borderless, like the setup page that holds a driver's options page.
        parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 50, 40, 600, 400, nullptr,
                                 nullptr, nullptr, nullptr);
        page = new RecordingPage("options", parent);
        ASSERT_EQ(page->createWindow(), 0);
    }

    void TearDown() override {
        if (page)
            page->destroyPage();
        DestroyWindow(parent);
        ShellTest::TearDown();
    }

    HWND parent = nullptr;
    TabPage* page = nullptr;
};

TEST_F(TabPageTest, CentresOverAReferenceWindowInItsParent) {
    HWND frame = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 100, 60, 400, 300, parent,
                                 nullptr, nullptr, nullptr);
    page->centreOver(frame);
    const RECT frameRect = windowRect(frame);
    const RECT pageRect = windowRect(page->window());
    // Halves round down, so an odd margin leaves one pixel more on the far side.
    EXPECT_NEAR(pageRect.left - frameRect.left, frameRect.right - pageRect.right, 1);
    EXPECT_NEAR(pageRect.top - frameRect.top, frameRect.bottom - pageRect.bottom, 1);
}

TEST_F(TabPageTest, WindowDestroyedWithItsParentLeavesNoStaleHandle) {
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_EQ(page->window(), nullptr);
    page->destroyPage();
    page = nullptr;
    const std::vector<std::string> expected = {"init options", "destroy options", "delete options"};
    EXPECT_EQ(events(), expected);
}

} // namespace
