// The progress window: its bar, its message line, its pauses, where it shows and the cursor.
#include "gui_test_support.h"

#include <commctrl.h>

#include <memory>

#include "foundation/pause.h"
#include "model/wait_bar.h"
#include "resources/resource_ids.h"

namespace {

std::vector<unsigned> pauses;
// The bar's position at each pause, to see the bar full while the closing pause runs.
std::vector<int> positionsAtPause;
HWND observedBar = nullptr;

void recordPause(unsigned milliseconds) {
    pauses.push_back(milliseconds);
    positionsAtPause.push_back(
        static_cast<int>(SendDlgItemMessageA(observedBar, IDC_WAIT_PROGRESS, PBM_GETPOS, 0, 0)));
}

class WaitBarTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        pauses.clear();
        positionsAtPause.clear();
        observedBar = nullptr;
        setPauseHandler(recordPause);
        frame = CreateWindowExA(0, "Static", "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80,
                                400, 300, nullptr, nullptr, nullptr, nullptr);
        owner = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 100, frame,
                                nullptr, nullptr, nullptr);
    }

    void TearDown() override {
        DestroyWindow(frame);
        ShellTest::TearDown();
    }

    static int barPosition(const WaitBar& bar) {
        return static_cast<int>(
            SendDlgItemMessageA(bar.window(), IDC_WAIT_PROGRESS, PBM_GETPOS, 0, 0));
    }

    static std::string messageLine(const WaitBar& bar) {
        char text[64] = {};
        GetDlgItemTextA(bar.window(), IDC_WAIT_MESSAGE, text, sizeof text);
        return text;
    }

    HWND frame = nullptr;
    HWND owner = nullptr;
};

TEST_F(WaitBarTest, PositionStopsAtTheMaximumWhileTheMessageStillChanges) {
    WaitBar bar(owner, 3, "");
    ASSERT_NE(bar.window(), nullptr);
    bar.step("one");
    EXPECT_EQ(barPosition(bar), 1);
    for (int i = 0; i < 4; ++i)
        bar.step("more");
    bar.step("last");
    EXPECT_EQ(bar.position(), 3u);
    EXPECT_EQ(barPosition(bar), 3);
    EXPECT_EQ(messageLine(bar), "last");

    bar.setPosition(1, nullptr);
    EXPECT_EQ(barPosition(bar), 1);
    EXPECT_EQ(messageLine(bar), "last");
    bar.setPosition(1000000, "cancelled");
    EXPECT_EQ(barPosition(bar), 3);
    EXPECT_EQ(messageLine(bar), "cancelled");
}

TEST_F(WaitBarTest, LargeMaximumKeepsItsWholeRange) {
    WaitBar bar(owner, 70000, "");
    bar.setPosition(35000, nullptr);
    PBRANGE range{};
    SendDlgItemMessageA(bar.window(), IDC_WAIT_PROGRESS, PBM_GETRANGE, FALSE,
                        reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iHigh, 70000);
    EXPECT_EQ(barPosition(bar), 35000);
}

TEST_F(WaitBarTest, MessageAtCreationPausesAndCloseShowsAFullBarForAMoment) {
    {
        WaitBar bar(owner, 10, "Reading...");
        observedBar = bar.window();
        EXPECT_EQ(messageLine(bar), "Reading...");
        EXPECT_EQ(pauses, std::vector<unsigned>{250});
        bar.setPosition(4, nullptr);
    }
    EXPECT_EQ(pauses, (std::vector<unsigned>{250, 250}));
    EXPECT_EQ(positionsAtPause.back(), 10);
    EXPECT_FALSE(IsWindow(observedBar));
}

TEST_F(WaitBarTest, EmptyMessageDoesNotPauseAndAbandonedBarClosesWhereItStands) {
    auto bar = std::make_unique<WaitBar>(owner, 10, "");
    HWND window = bar->window();
    bar->setPosition(4, nullptr);
    bar->abandon();
    bar.reset();
    EXPECT_TRUE(pauses.empty());
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WaitBarTest, ShowsCentredOnItsOwnerWithTheHourglassUntilClosed) {
    HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    SetCursor(arrow);
    {
        WaitBar bar(owner, 10, "");
        EXPECT_TRUE(IsWindowVisible(bar.window()));
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
        EXPECT_EQ(bar.repaintTarget(), frame);

        RECT ownerRect = windowRect(owner);
        RECT client{};
        GetClientRect(bar.window(), &client);
        RECT barRect = windowRect(bar.window());
        EXPECT_EQ(barRect.left, (ownerRect.left + ownerRect.right) / 2 - client.right / 2);
        EXPECT_EQ(barRect.top, (ownerRect.top + ownerRect.bottom) / 2 - client.bottom / 2);
    }
    EXPECT_EQ(GetCursor(), arrow);
}

bool isAbove(HWND upper, HWND lower) {
    for (HWND next = GetWindow(upper, GW_HWNDNEXT); next; next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == lower)
            return true;
    }
    return false;
}

TEST_F(WaitBarTest, ComesBackOnTopWhenTheApplicationIsActivatedAgain) {
    WaitBar bar(owner, 10, "");
    SetWindowPos(frame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(isAbove(frame, bar.window()));
    // Deactivation of the application leaves the order alone.
    SendMessageA(bar.window(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(isAbove(frame, bar.window()));
    SendMessageA(bar.window(), WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(isAbove(bar.window(), frame));
}

} // namespace
