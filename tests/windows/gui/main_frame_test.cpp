// The main window on its own: where it opens, what it stores, its tabs and pages, and how it
// answers the work area.
#include "gui_test_support.h"

#include "app/main_frame.h"
#include "app/page_table.h"
#include "app/placement_rules.h"

namespace {

ScreenRect shrunkReportedWorkArea() {
    RECT area{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return shrinkWorkArea({area.left, area.top, area.right, area.bottom});
}

class MainFrameTest : public ShellTest {
  protected:
    void TearDown() override {
        closeFrame();
        ShellTest::TearDown();
    }

    MainFrame* openFrame(int showCommand = SW_SHOWNORMAL) {
        frame = new MainFrame(showCommand);
        EXPECT_EQ(frame->createWindow(), 0);
        frame->showPage();
        quitWhileOpening = pumpMessages();
        return frame;
    }

    void closeFrame() {
        if (frame)
            frame->destroyPage();
        frame = nullptr;
    }

    POINT topLeft() const {
        RECT rect = windowRect(frame->window());
        return {rect.left, rect.top};
    }

    HWND pageWindow() const {
        return frame->currentPage() ? frame->currentPage()->window() : nullptr;
    }

    void clickTab(int position) {
        ::clickTab(frame->tabControl(), position);
        pumpMessages();
    }

    MainFrame* frame = nullptr;
    bool quitWhileOpening = false;
};

TEST_F(MainFrameTest, FirstRunOpensAtTheDefaultPlaceAndStoresPlacementAtExit) {
    openFrame();
    RECT rect = windowRect(frame->window());
    EXPECT_EQ(rect.left, 30);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right - rect.left, 625);
    EXPECT_EQ(rect.bottom - rect.top, 455);
    EXPECT_FALSE(IsZoomed(frame->window()));

    closeFrame();
    uint32_t location = 0;
    uint32_t zoomed = 7;
    ASSERT_TRUE(storedDword("MainLocation", &location));
    EXPECT_EQ(location, 30u * 65536u + 50u);
    ASSERT_TRUE(storedDword("MainZoom", &zoomed));
    EXPECT_EQ(zoomed, 0u);
    EXPECT_EQ(storedText("Version"), std::string("14:19:53:12") + '\0');
}

TEST_F(MainFrameTest, StoredPositionIsUsedOnlyWhileItsTitleStripIsOnTheWorkArea) {
    const ScreenRect area = shrunkReportedWorkArea();
    struct Case {
        int32_t x, y;
        bool kept;
    };
    const Case cases[] = {
        {200, 150, true},
        // Only the right end of the strip on the area is enough.
        {0, 100, true},
        // A monitor that is no longer there.
        {area.right + 600, 100, false},
        {100, area.bottom, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stored " << c.x << ", " << c.y);
        storeDword("MainLocation", encodeMainLocation(c.x, c.y));
        openFrame();
        const POINT corner = topLeft();
        const ScreenPoint expected = c.kept ? ScreenPoint{c.x, c.y} : ScreenPoint{30, 50};
        EXPECT_EQ(corner.x, expected.x);
        EXPECT_EQ(corner.y, expected.y);
        closeFrame();
    }
}

TEST_F(MainFrameTest, MaximisedAtExitComesBackMaximisedOverTheDefaultPlace) {
    openFrame();
    ShowWindow(frame->window(), SW_MAXIMIZE);
    closeFrame();
    uint32_t zoomed = 0;
    ASSERT_TRUE(storedDword("MainZoom", &zoomed));
    EXPECT_EQ(zoomed, 1u);

    // Whatever corner the maximised window had, a negative one must not be trusted.
    storeDword("MainLocation", encodeMainLocation(-4, -4));
    openFrame(SW_SHOWNORMAL);
    EXPECT_TRUE(IsZoomed(frame->window()));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(frame->window(), &placement);
    EXPECT_EQ(placement.rcNormalPosition.left, 30);
    EXPECT_EQ(placement.rcNormalPosition.top, 50);
}

TEST_F(MainFrameTest, ValuesOfTheWrongTypeFallBackToDefaults) {
    // A text where the position belongs is no position, even if it fits in four bytes.
    storeText("MainLocation", "abc");
    storeDword("MainZoom", 1);
    openFrame();
    EXPECT_EQ(topLeft().x, 30);
    EXPECT_EQ(topLeft().y, 50);
    EXPECT_FALSE(IsZoomed(frame->window()));
    closeFrame();

    storeDword("MainLocation", encodeMainLocation(200, 150));
    storeText("MainZoom", "1");
    openFrame();
    EXPECT_EQ(topLeft().x, 200);
    EXPECT_FALSE(IsZoomed(frame->window()));
    closeFrame();

    store.setFailing(true);
    openFrame();
    EXPECT_EQ(topLeft().x, 30);
    closeFrame();
    EXPECT_TRUE(messageBoxes().empty());
}

TEST_F(MainFrameTest, NineTabsInOrderWithTheFirstPageShownOverTheTabs) {
    setPageFactory(0, createRecordingPage);
    openFrame();
    HWND tabs = frame->tabControl();
    ASSERT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 9);
    const char* const captions[] = {
        "Locomotive Decoder",  "Speed Table Editor", "CV Editor",
        "Function Map Editor", "Consist Editor",     "Accessory Decoder",
        "Load/Save",           "Connection Setup",   "Version"};
    for (int position = 0; position < 9; ++position) {
        char caption[64] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = sizeof caption;
        SendMessageA(tabs, TCM_GETITEMA, position, reinterpret_cast<LPARAM>(&item));
        EXPECT_STREQ(caption, captions[position]);
    }

    HWND page = pageWindow();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(GetParent(page), frame->window());
    EXPECT_TRUE(IsWindowVisible(page));
    RECT display = windowRect(tabs);
    SendMessageA(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    RECT pageRect = windowRect(page);
    EXPECT_GE(pageRect.left, display.left);
    EXPECT_GE(pageRect.top, display.top);
    EXPECT_LE(pageRect.right, display.right + 4);
    EXPECT_LE(pageRect.bottom, display.bottom + 3);
}

TEST_F(MainFrameTest, ChangingTabsDestroysTheOldPageBeforeBuildingTheNew) {
    setPageFactory(0, createRecordingPage);
    setPageFactory(2, createRecordingPage);
    openFrame();
    clickTab(2);
    clickTab(2);
    clickTab(0);
    const std::vector<std::string> expected = {"init TAB_BASIC_LOCO",   "destroy TAB_BASIC_LOCO",
                                               "delete TAB_BASIC_LOCO", "init TAB_SIMPLE_CV",
                                               "destroy TAB_SIMPLE_CV", "delete TAB_SIMPLE_CV",
                                               "init TAB_BASIC_LOCO"};
    EXPECT_EQ(events(), expected);
}

TEST_F(MainFrameTest, PageWithoutTemplateLeavesAnEmptyAreaAndNoMessage) {
    setPageFactory(0, createRecordingPage);
    // Every tab gets its template in time; this one stands for a tab whose template is missing.
    setPageFactory(1, [](const char*, WindowHandle parent) {
        return createPlainPage("NO_SUCH_TEMPLATE", parent);
    });
    openFrame();
    clickTab(1);
    EXPECT_EQ(events().back(), "delete TAB_BASIC_LOCO");
    ASSERT_NE(frame->currentPage(), nullptr);
    EXPECT_EQ(pageWindow(), nullptr);
    EXPECT_TRUE(messageBoxes().empty());
    // The windowless page goes at the next change like any other.
    setPageFactory(2, createRecordingPage);
    clickTab(2);
    EXPECT_EQ(events().back(), "init TAB_SIMPLE_CV");
}

TEST_F(MainFrameTest, SystemMessagesReachThePageShown) {
    setPageFactory(0, createRecordingPage);
    openFrame();
    events().clear();
    SendMessageA(frame->window(), WM_SYSCOLORCHANGE, 0, 0);
    SendMessageA(frame->window(), WM_ENTERSIZEMOVE, 0, 0);
    SendMessageA(frame->window(), WM_EXITSIZEMOVE, 0, 0);
    const std::vector<std::string> expected = {"colours TAB_BASIC_LOCO",
                                               "enter size/move TAB_BASIC_LOCO",
                                               "exit size/move TAB_BASIC_LOCO"};
    EXPECT_EQ(events(), expected);
}

TEST_F(MainFrameTest, TabControlFillsTheClientAreaLessAMargin) {
    openFrame();
    RECT client{};
    GetClientRect(frame->window(), &client);
    RECT tabs = windowRect(frame->tabControl());
    MapWindowPoints(nullptr, frame->window(), reinterpret_cast<POINT*>(&tabs), 2);
    EXPECT_EQ(tabs.left, 2);
    EXPECT_EQ(tabs.top, 2);
    EXPECT_EQ(tabs.right, client.right - 2);
    EXPECT_EQ(tabs.bottom, client.bottom - 2);
}

TEST_F(MainFrameTest, TabsGoMultiLineOnlyOnAWorkAreaAbove700By525) {
    openFrame();
    struct Case {
        int width, height;
        bool multiLine;
    };
    for (const Case& c : {Case{701, 526, true}, Case{700, 526, false}, Case{701, 525, false},
                          Case{1024, 768, true}, Case{625, 425, false}}) {
        frame->checkWorkArea(c.width, c.height);
        const bool multiLine =
            (GetWindowLongA(frame->tabControl(), GWL_STYLE) & TCS_MULTILINE) != 0;
        EXPECT_EQ(multiLine, c.multiLine) << c.width << " x " << c.height;
    }
    EXPECT_TRUE(messageBoxes().empty());
    EXPECT_FALSE(pumpMessages());
}

TEST_F(MainFrameTest, TooSmallAWorkAreaHidesTheWindowAndEndsTheProgram) {
    openFrame();
    frame->checkWorkArea(624, 600);
    EXPECT_FALSE(IsWindowVisible(frame->window()));
    ASSERT_EQ(messageBoxes().size(), 1u);
    EXPECT_EQ(messageBoxes()[0].owner, nullptr);
    EXPECT_EQ(messageBoxes()[0].text, "Velquist 1.0 requires at least 625x425 of work area");
    EXPECT_EQ(messageBoxes()[0].caption, "Error");
    EXPECT_TRUE(pumpMessages());
}

// A work area 638 wide suffices once the window is up but not at start, where the margins
// take 14 pixels of it.
TEST_F(MainFrameTest, WorkArea638WideFailsOnlyAtStart) {
    RECT original{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &original, 0);
    openFrame();
    RECT narrow{0, 0, 638, 600};
    if (!SystemParametersInfoA(SPI_SETWORKAREA, 0, &narrow, 0))
        GTEST_SKIP() << "the work area cannot be changed here";
    RECT applied{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &applied, 0);
    if (applied.right != 638) {
        SystemParametersInfoA(SPI_SETWORKAREA, 0, &original, 0);
        GTEST_SKIP() << "the work area cannot be changed here";
    }

    SendMessageA(frame->window(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    EXPECT_TRUE(messageBoxes().empty());
    closeFrame();
    openFrame();
    SystemParametersInfoA(SPI_SETWORKAREA, 0, &original, 0);
    EXPECT_EQ(messageBoxes().size(), 1u);
    EXPECT_TRUE(quitWhileOpening);
}

} // namespace
