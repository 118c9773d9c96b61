// The speed table page on its real template: thumbs, the value popup, mouse and keys, the table
// actions with Force Inclination, and what opening and closing the page leaves behind.
#include "gui_test_support.h"

#include "foundation/heap_in_use.h"
#include "model/cv_text_store.h"
#include "pages/speed_table_graph.h"
#include "pages/speed_table_page.h"
#include "pages/speed_value_popup.h"

namespace {

constexpr LPARAM repeatBit = 1L << 30;

BOOL CALLBACK countWindow(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, countWindow, count);
    return TRUE;
}

class SpeedTablePageTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        ASSERT_EQ(registerSpeedTableClasses(), 0);
        parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 60, 80, 640, 420, nullptr,
                                 nullptr, nullptr, nullptr);
        openPage();
    }

    void TearDown() override {
        closePage();
        DestroyWindow(parent);
        CvTextStore::reset();
        resetSpeedTablePageState();
        ShellTest::TearDown();
    }

    void openPage() {
        page = createSpeedTablePage("TAB_SPEED_TABLE", parent);
        ASSERT_EQ(page->createWindow(), 0);
        page->showPage();
        pumpMessages();
    }
    void closePage() {
        if (page)
            page->destroyPage();
        page = nullptr;
        pumpMessages();
    }

    HWND dialog() const { return page->window(); }
    static HWND thumb(int step) { return GetWindow(speedSlides[step - 1], GW_CHILD); }
    static int thumbTop(int step) {
        return windowRect(thumb(step)).top - windowRect(speedSlides[step - 1]).top;
    }
    // The values the thumbs show, steps 1 to 28.
    static std::vector<int> thumbValues() {
        std::vector<int> values;
        for (int k = 1; k <= speedStepCount; ++k)
            values.push_back(255 - thumbTop(k));
        return values;
    }
    std::string box(int step) const {
        char text[100] = {};
        GetDlgItemTextA(dialog(), speedStepBox(step), text, sizeof text);
        return text;
    }
    std::vector<std::string> boxes() const {
        std::vector<std::string> texts;
        for (int k = 1; k <= speedStepCount; ++k)
            texts.push_back(box(k));
        return texts;
    }
    // Sets the table as the user would, with the neighbours left alone.
    static void setTable(const std::vector<int>& values) {
        for (int k = 1; k <= speedStepCount; ++k)
            SendMessageA(speedSlides[k - 1], sliderSetValue,
                         static_cast<WPARAM>(values[static_cast<size_t>(k - 1)]), 1);
    }
    void click(int id) {
        SendDlgItemMessageA(dialog(), id, BM_CLICK, 0, 0);
        pumpMessages();
    }
    static void key(int step, WPARAM key, LPARAM flags = 1) {
        SendMessageA(thumb(step), WM_KEYDOWN, key, flags);
    }
    static void mouse(HWND target, UINT message, WPARAM keys, int y) {
        PostMessageA(target, message, keys,
                     MAKELPARAM(5, static_cast<WORD>(static_cast<short>(y))));
        pumpMessages();
    }
    static bool popupShown() { return speedPopup && IsWindowVisible(speedPopup); }

    HWND parent = nullptr;
    TabPage* page = nullptr;
};

std::vector<std::string> texts(const std::vector<int>& values) {
    std::vector<std::string> result;
    for (int v : values)
        result.push_back(std::to_string(v));
    return result;
}

TEST_F(SpeedTablePageTest, ThumbsStandAtTheirClampedValuesAndReportThemOnlyWhenAsked) {
    EXPECT_EQ(boxes(), std::vector<std::string>(28, ""));
    EXPECT_EQ(thumbValues(), std::vector<int>(28, 0));
    struct {
        int value;
        int top;
        const char* reported;
    } cases[] = {{-5, 255, "0"}, {0, 255, "0"}, {12, 243, "12"}, {255, 0, "255"}, {300, 0, "255"}};
    for (const auto& c : cases) {
        SetDlgItemTextA(dialog(), speedStepBox(5), "x");
        SendMessageA(speedSlides[4], sliderSetValue, static_cast<WPARAM>(c.value), 0);
        EXPECT_EQ(thumbTop(5), c.top) << c.value;
        EXPECT_EQ(box(5), "x");
        SendMessageA(speedSlides[4], sliderSetValue, static_cast<WPARAM>(c.value), 1);
        EXPECT_EQ(box(5), c.reported) << c.value;
    }
    // The thumb of step 5 stands in the slider's groove, the full slider wide.
    const RECT thumbRect = windowRect(thumb(5));
    EXPECT_EQ(thumbRect.right - thumbRect.left, sliderWidth);
    EXPECT_EQ(thumbRect.bottom - thumbRect.top, thumbHeight);
}

TEST_F(SpeedTablePageTest, PopupFollowsTheFocusedThumbAndAButtonHidesIt) {
    SendMessageA(speedSlides[0], sliderSetValue, 12, 1);
    EXPECT_FALSE(popupShown());
    SetFocus(thumb(1));
    ASSERT_TRUE(popupShown());
    const RECT popup = windowRect(speedPopup);
    const RECT at = windowRect(thumb(1));
    EXPECT_EQ(popup.right - popup.left, 105);
    EXPECT_EQ(popup.bottom - popup.top, 19);
    EXPECT_EQ(popup.left, at.left + (at.right - at.left) / 2 - 52);
    EXPECT_EQ(popup.top, at.top - 29);
    EXPECT_EQ(currentPopupText(), "Speed 1 = 12");
    EXPECT_EQ(GetWindowLongA(speedPopup, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW);

    // The option takes its click's focus, which hides the popup; it comes back in the new form.
    click(showCvCheck);
    EXPECT_FALSE(popupShown());
    EXPECT_EQ(showCvInPopup, 1);
    SetFocus(thumb(1));
    EXPECT_TRUE(popupShown());
    EXPECT_EQ(currentPopupText(), "CV 67 = 12");

    // Moving the main window hides it; the end of the move brings it back at the same thumb.
    SendMessageA(dialog(), WM_ENTERSIZEMOVE, 0, 0);
    EXPECT_FALSE(popupShown());
    SendMessageA(dialog(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_TRUE(popupShown());
    EXPECT_EQ(windowRect(speedPopup).top, popup.top);

    SetFocus(GetDlgItem(dialog(), defaultTableButton));
    EXPECT_FALSE(popupShown());
    SendMessageA(dialog(), WM_EXITSIZEMOVE, 0, 0); // no thumb has the focus: stays hidden
    EXPECT_FALSE(popupShown());
}

TEST_F(SpeedTablePageTest, DragStopsAtBothEndsOfTheSlider) {
    HWND dragged = thumb(3);
    mouse(dragged, WM_MOUSEACTIVATE, 0, 0);
    mouse(dragged, WM_LBUTTONDOWN, MK_LBUTTON, 4);
    EXPECT_EQ(GetFocus(), dragged);
    EXPECT_EQ(GetCapture(), dragged);
    EXPECT_TRUE(popupShown());

    struct {
        int y;
        int value;
    } moves[] = {{-40, 44}, {-1000, 255}, {3000, 0}, {-30000, 255}, {159, 100}};
    for (const auto& m : moves) {
        // y is taken in the thumb where it stands, less the grab offset 4.
        mouse(dragged, WM_MOUSEMOVE, MK_LBUTTON, m.y);
        EXPECT_EQ(box(3), std::to_string(m.value)) << m.y;
        EXPECT_EQ(thumbTop(3), 255 - m.value);
        EXPECT_EQ(currentPopupText(), "Speed 3 = " + std::to_string(m.value));
    }
    // A move repaints the dragged slider only: nothing of the page or the other sliders.
    SendMessageA(dragged, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 20));
    EXPECT_TRUE(GetUpdateRect(speedSlides[2], nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(dialog(), nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(speedSlides[1], nullptr, FALSE));
    EXPECT_FALSE(GetUpdateRect(speedSlides[3], nullptr, FALSE));
    pumpMessages();
    EXPECT_EQ(box(3), "84");

    mouse(dragged, WM_MOUSEMOVE, 0, 3000); // without the button nothing moves
    EXPECT_EQ(box(3), "84");
    mouse(dragged, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SpeedTablePageTest, HeldKeysAccelerateAndStopAtTheEnds) {
    SetFocus(thumb(2));
    std::vector<std::string> seen;
    key(2, VK_UP);
    seen.push_back(box(2));
    for (int i = 0; i < 13; ++i) {
        key(2, VK_UP, 1 | repeatBit);
        seen.push_back(box(2));
    }
    EXPECT_EQ(seen, texts({1, 2, 3, 4, 7, 10, 13, 19, 25, 31, 41, 51, 61, 71}));
    key(2, VK_NEXT); // a fresh press steps by 1 again
    EXPECT_EQ(box(2), "70");
    for (int i = 0; i < 30; ++i)
        key(2, VK_PRIOR, 1 | repeatBit);
    EXPECT_EQ(box(2), "255");
    EXPECT_EQ(thumbTop(2), 0);
    for (int i = 0; i < 40; ++i)
        key(2, VK_DOWN, 1 | repeatBit);
    EXPECT_EQ(box(2), "0");
    EXPECT_EQ(currentPopupText(), "Speed 2 = 0");
    key(2, 'A');
    EXPECT_EQ(box(2), "0");
}

TEST_F(SpeedTablePageTest, LeftAndRightWalkTheThumbsButNotPastTheEnds) {
    struct {
        int from;
        WPARAM key;
        int to;
    } cases[] = {{1, VK_LEFT, 1},
                 {1, VK_RIGHT, 2},
                 {28, VK_RIGHT, 28},
                 {28, VK_LEFT, 27},
                 {14, VK_RIGHT, 15}};
    for (const auto& c : cases) {
        SetFocus(thumb(c.from));
        key(c.from, c.key);
        EXPECT_EQ(GetFocus(), thumb(c.to)) << c.from;
        EXPECT_EQ(popupCv, c.to + 66);
        EXPECT_EQ(box(c.from), ""); // the value does not change
    }
}

TEST_F(SpeedTablePageTest, ForceInclinationKeepsAFallingAndRisingShapeBelowStepTwentyEight) {
    const std::vector<int> start = {90, 60, 30,  10, 30, 60, 90, 150, 255, 101, 100, 99, 50,  0,
                                    50, 99, 120, 80, 40, 20, 40, 80,  130, 70,  30,  70, 200, 100};
    setTable(start);
    click(forceInclinationCheck);
    EXPECT_EQ(forceInclination, 1);
    std::vector<int> expected = start;
    for (int k : {8, 9, 10, 17, 23, 27})
        expected[static_cast<size_t>(k - 1)] = 100;
    EXPECT_EQ(boxes(), texts(expected));
    EXPECT_EQ(thumbValues(), expected);

    // Step 10 set to 40 pulls the steps left of it down and the right ones up.
    SendMessageA(speedSlides[9], sliderSetValue, 40, 1);
    const std::vector<int> levelled = {40, 40, 30,  10, 30, 40, 40, 40, 40,  40, 100, 99, 50,  40,
                                       50, 99, 100, 80, 40, 40, 40, 80, 100, 70, 40,  70, 100, 100};
    EXPECT_EQ(boxes(), texts(levelled));
    EXPECT_EQ(thumbValues(), levelled);
}

// The page holds the texts its sliders set until something asks the box: a box written
// directly afterwards keeps the direct text, for other readers and the page's own rules alike.
TEST_F(SpeedTablePageTest, ADirectWriteAfterASliderWins) {
    setTable(std::vector<int>(28, 200));
    SetDlgItemTextA(dialog(), speedStepBox(28), "28");
    click(buildFromRightButton);
    std::vector<int> steps;
    for (int k = 1; k <= 28; ++k)
        steps.push_back(k);
    EXPECT_EQ(boxes(), texts(steps));
    EXPECT_EQ(thumbValues(), steps);
}

TEST_F(SpeedTablePageTest, TableActionsWithForceInclinationOn) {
    const std::vector<int> defaults = {9,   18,  27,  36,  45,  54,  63,  72,  81,  91,
                                       100, 109, 118, 127, 136, 145, 154, 163, 173, 182,
                                       191, 200, 209, 218, 227, 236, 245, 255};
    std::vector<int> half(28);
    for (int k = 1; k <= 28; ++k)
        half[static_cast<size_t>(k - 1)] = k * 128 / 28;
    setTable(std::vector<int>(28, 200));
    click(forceInclinationCheck);
    struct {
        int button;
        int lastStep; // set before the click; -1 leaves it
        std::vector<int> expected;
    } cases[] = {{defaultTableButton, -1, defaults},
                 {zeroTableButton, -1, std::vector<int>(28, 0)},
                 {buildFromRightButton, -1, std::vector<int>(28, 0)},
                 {buildFromRightButton, 128, half}};
    for (const auto& c : cases) {
        if (c.lastStep >= 0)
            SetDlgItemTextA(dialog(), speedStepBox(28), std::to_string(c.lastStep).c_str());
        click(c.button);
        EXPECT_EQ(boxes(), texts(c.expected)) << c.button;
        EXPECT_EQ(thumbValues(), c.expected) << c.button;
        EXPECT_EQ(IsDlgButtonChecked(dialog(), forceInclinationCheck), BST_CHECKED);
        EXPECT_EQ(forceInclination, 1);
    }
}

TEST_F(SpeedTablePageTest, ValuesAndOptionsSurviveReopeningAndKeptTextsShowAsTheyWere) {
    setTable(std::vector<int>(28, 30));
    click(forceInclinationCheck);
    SetDlgItemTextA(dialog(), speedStepBox(1), "300 rpm");
    SetDlgItemTextA(dialog(), speedStepBox(2), "-5");
    closePage();
    openPage();
    std::vector<std::string> expected(28, "30");
    expected[0] = "300 rpm";
    expected[1] = "-5";
    EXPECT_EQ(boxes(), expected);
    std::vector<int> shown(28, 30);
    shown[0] = 255;
    shown[1] = 0;
    EXPECT_EQ(thumbValues(), shown);
    EXPECT_EQ(IsDlgButtonChecked(dialog(), forceInclinationCheck), BST_CHECKED);
}

TEST_F(SpeedTablePageTest, OpeningAndClosingLeavesNothingBehind) {
    // Every step keeps a text from here on, so the drags below only change kept texts.
    setTable(std::vector<int>(28, 50));
    SetFocus(thumb(4));
    closePage();
    EXPECT_EQ(speedPageWindow, nullptr);
    EXPECT_EQ(thumbRegistry, nullptr);
    EXPECT_EQ(speedPopup, nullptr);
    EXPECT_EQ(popupBrush, nullptr);
    EXPECT_EQ(focusedThumb, nullptr);
    EXPECT_EQ(popupUsers, 0);
    for (HWND slider : speedSlides)
        EXPECT_EQ(slider, nullptr);

    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&windows));
    const int gdiObjects = gdiObjectCount();
    const uint64_t heapBlocks = heapInUse().blocks;
    for (int i = 0; i < 100; ++i) {
        openPage();
        SetFocus(thumb(1 + i % 28));
        mouse(thumb(1 + i % 28), WM_LBUTTONDOWN, MK_LBUTTON, 2);
        mouse(thumb(1 + i % 28), WM_MOUSEMOVE, MK_LBUTTON, -20);
        mouse(thumb(1 + i % 28), WM_LBUTTONUP, 0, 0);
        InvalidateRect(parent, nullptr, TRUE);
        UpdateWindow(parent);
        closePage();
    }
    int windowsAfter = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWindow, reinterpret_cast<LPARAM>(&windowsAfter));
    EXPECT_EQ(windowsAfter, windows);
    EXPECT_EQ(gdiObjectCount(), gdiObjects);
    EXPECT_EQ(heapInUse().blocks, heapBlocks);
    EXPECT_EQ(thumbRegistry, nullptr);
}

} // namespace
