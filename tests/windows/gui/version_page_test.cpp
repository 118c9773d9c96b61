// The Version tab: its texts and slider, the train strip's speeds, and a clean tear-down.
#include "gui_test_support.h"

#include <cstdlib>
#include <vector>

#include "app/animation_window.h"
#include "app/train_animation.h"
#include "app/version_page.h"
#include "foundation/heap_in_use.h"
#include "resources/resource_ids.h"

namespace {

class VersionPageTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_EQ(registerAnimationClass(), 0);
        resetAnimationSpeed();
        parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 20, 20, 700, 420, nullptr,
                                 nullptr, nullptr, nullptr);
    }
    void TearDown() override {
        closePage();
        DestroyWindow(parent);
        ShellTest::TearDown();
    }

    void openPage() {
        page = createVersionPage("TAB_VERSION_DIALOG", parent);
        ASSERT_EQ(page->createWindow(), 0);
        page->showPage();
    }
    void closePage() {
        if (page)
            page->destroyPage();
        page = nullptr;
    }
    HWND item(int id) const { return GetDlgItem(page->window(), id); }
    LRESULT slider(UINT message) const {
        return SendMessageA(item(IDC_TRAIN_SPEED), message, 0, 0);
    }
    // The user moves the slider to position with the given notification.
    void moveSlider(int position, WORD code) {
        SendMessageA(item(IDC_TRAIN_SPEED), TBM_SETPOS, TRUE, position);
        SendMessageA(page->window(), WM_HSCROLL, MAKEWPARAM(code, position),
                     reinterpret_cast<LPARAM>(item(IDC_TRAIN_SPEED)));
    }
    LRESULT stripSpeed() const {
        return SendMessageA(item(IDC_TRAIN_STRIP), animationGetSpeed, 0, 0);
    }

    // Runs the strip's timer for a while; returns how many steps it took.
    int runSteps(DWORD milliseconds) {
        int steps = 0;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < milliseconds) {
            MSG message{};
            if (PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
                const int before = animatedTrain()->position;
                DispatchMessageA(&message);
                EXPECT_EQ(animatedTrain()->position - before, animatedTrain()->velocity);
                ++steps;
            } else {
                Sleep(1);
            }
        }
        return steps;
    }

    HWND parent = nullptr;
    TabPage* page = nullptr;
};

TEST_F(VersionPageTest, ShowsTheBuildAndASliderOverTheSevenSpeeds) {
    openPage();
    EXPECT_EQ(controlText(item(IDC_VERSION_BUILD)), "version 14:14:19:53:12");
    EXPECT_EQ(controlText(item(IDC_VERSION_DATE)), "May 12 2002");
    EXPECT_EQ(slider(TBM_GETRANGEMIN), 0);
    EXPECT_EQ(slider(TBM_GETRANGEMAX), 6);
    EXPECT_EQ(slider(TBM_GETPOS), 3);

    moveSlider(5, TB_THUMBTRACK);
    EXPECT_EQ(stripSpeed(), 5);
    // Letting go reports the end of the drag, which must not set a speed again.
    moveSlider(1, TB_ENDTRACK);
    EXPECT_EQ(stripSpeed(), 5);
    moveSlider(6, TB_BOTTOM);
    EXPECT_EQ(stripSpeed(), 6);

    // The speed outlives the page; the slider shows it when the tab comes back.
    closePage();
    openPage();
    EXPECT_EQ(slider(TBM_GETPOS), 6);
}

TEST_F(VersionPageTest, TrainEntersFromOutsideAndKeepsItsWayAcrossSpeedChanges) {
    openPage();
    RECT strip{};
    GetClientRect(item(IDC_TRAIN_STRIP), &strip);
    const TrainRun* train = animatedTrain();
    ASSERT_NE(train, nullptr);
    EXPECT_EQ(std::abs(train->velocity), 3);
    // One frame is drawn at once, and each frame moves the train on.
    const int entry = train->velocity > 0 ? strip.left - 250 : strip.right + 250;
    EXPECT_EQ(train->position, entry + train->velocity);

    const int direction = train->velocity > 0 ? 1 : -1;
    const int position = train->position;
    for (int speed : {6, 0, 1, 4}) {
        SendMessageA(item(IDC_TRAIN_STRIP), animationSetSpeed, 0, speed);
        EXPECT_EQ(train->velocity, direction * animationSpeed(speed).pixelsPerStep);
        EXPECT_EQ(train->position, position);
    }
    // A speed beyond the slider's range is the fastest, not a read past the table.
    SendMessageA(item(IDC_TRAIN_STRIP), animationSetSpeed, 0, 1000);
    EXPECT_EQ(stripSpeed(), 6);
}

TEST_F(VersionPageTest, TimerStepsNoFasterThanTheSpeedsInterval) {
    openPage();
    const DWORD period = 400;
    for (int speed : {0, 1, 6}) {
        SCOPED_TRACE(speed);
        SendMessageA(item(IDC_TRAIN_STRIP), animationSetSpeed, 0, speed);
        const int steps = runSteps(period);
        EXPECT_GE(steps, 1);
        EXPECT_LE(steps, static_cast<int>(period) / animationSpeed(speed).intervalMs + 1);
    }
}

TEST_F(VersionPageTest, OpeningAndClosingLeavesNoGdiObjectWindowOrTimer) {
    // The count must see what this process creates, or the checks below prove nothing.
    const int atStart = gdiObjectCount();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(gdiObjectCount(), atStart + 1);
    DeleteObject(brush);
    // Likewise the heap figure must see what the C++ library allocates.
    const HeapUse heapAtStart = heapInUse();
    std::vector<char> block(1 << 20);
    EXPECT_GE(heapInUse().bytes, heapAtStart.bytes + block.size());
    EXPECT_GT(heapInUse().blocks, heapAtStart.blocks);

    // The first openings make what the system keeps for good (fonts, cached contexts).
    for (int round = 0; round < 3; ++round) {
        openPage();
        runSteps(5);
        closePage();
    }
    pumpMessages();
    const int before = gdiObjectCount();
    const int windows = threadWindowCount("");
    for (int round = 0; round < 100; ++round) {
        openPage();
        runSteps(5);
        closePage();
    }
    pumpMessages();
    EXPECT_EQ(gdiObjectCount(), before);
    EXPECT_EQ(threadWindowCount(""), windows);
    EXPECT_EQ(animatedTrain(), nullptr);

    // A timer left running would have posted its tick by now.
    Sleep(150);
    MSG message{};
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

} // namespace
