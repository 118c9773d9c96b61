// Where the main window opens and what the work area allows, without a window.
#include <gtest/gtest.h>

#include "app/placement_rules.h"

namespace {

const ScreenRect screen1024{0, 0, 1024, 768};

TEST(PlacementRulesTest, LocationKeepsPositionsOnScreenAndWrapsNegativeCorners) {
    EXPECT_EQ(encodeMainLocation(30, 50), 30u * 65536u + 50u);
    EXPECT_EQ(decodeMainLocation(encodeMainLocation(200, 150)).x, 200);
    EXPECT_EQ(decodeMainLocation(encodeMainLocation(200, 150)).y, 150);
    // A maximised window's corner (-4, -4) comes back as a large unsigned position.
    EXPECT_EQ(encodeMainLocation(-4, -4), 0xFFFBFFFCu);
    EXPECT_EQ(decodeMainLocation(0xFFFBFFFCu).x, 0xFFFB);
    EXPECT_EQ(decodeMainLocation(0xFFFBFFFCu).y, 0xFFFC);
}

TEST(PlacementRulesTest, TitleStripCountsOnlyWithEdgesStrictlyInsideTheArea) {
    const ScreenRect area = shrinkWorkArea(screen1024); // 7, 7, 1017, 761
    EXPECT_TRUE(isTitleStripVisible({200, 150}, area));
    // The strip's right end alone is enough across, its bottom alone enough down.
    EXPECT_TRUE(isTitleStripVisible({0, 100}, area));
    EXPECT_TRUE(isTitleStripVisible({100, 0}, area));
    // Edges on the area's border are outside.
    EXPECT_FALSE(isTitleStripVisible({100, 761}, area));
    EXPECT_FALSE(isTitleStripVisible({1017, 100}, area));
    EXPECT_TRUE(isTitleStripVisible({1016, 100}, area));
    EXPECT_FALSE(isTitleStripVisible({7 - 625, 100}, area));
    // Left of and above the area, compared as signed numbers.
    EXPECT_FALSE(isTitleStripVisible({-700, 100}, area));
    EXPECT_FALSE(isTitleStripVisible({100, -20}, area));
}

TEST(PlacementRulesTest, RestoredPositionFallsBackToTheDefault) {
    const ScreenRect area = shrinkWorkArea(screen1024);
    const ScreenPoint none = restoredMainPosition(0, area);
    EXPECT_EQ(none.x, 30);
    EXPECT_EQ(none.y, 50);
    const ScreenPoint kept = restoredMainPosition(encodeMainLocation(200, 150), area);
    EXPECT_EQ(kept.x, 200);
    EXPECT_EQ(kept.y, 150);
    for (uint32_t gone : {encodeMainLocation(-4, -4), encodeMainLocation(1900, 100),
                          encodeMainLocation(100, 900)}) {
        const ScreenPoint fallback = restoredMainPosition(gone, area);
        EXPECT_EQ(fallback.x, 30);
        EXPECT_EQ(fallback.y, 50);
    }
}

TEST(PlacementRulesTest, WorkAreaNeeds625By425AndGetsMultiLineTabsAbove700By525) {
    EXPECT_EQ(fitWorkArea(625, 425), WorkAreaFit::SingleRowTabs);
    EXPECT_EQ(fitWorkArea(624, 600), WorkAreaFit::TooSmall);
    EXPECT_EQ(fitWorkArea(800, 424), WorkAreaFit::TooSmall);
    EXPECT_EQ(fitWorkArea(701, 526), WorkAreaFit::MultiLineTabs);
    EXPECT_EQ(fitWorkArea(700, 526), WorkAreaFit::SingleRowTabs);
    EXPECT_EQ(fitWorkArea(701, 525), WorkAreaFit::SingleRowTabs);
    // Sizes are taken as 16-bit numbers.
    EXPECT_EQ(fitWorkArea(65536 + 600, 600), WorkAreaFit::TooSmall);
}

// 638 pixels pass as reported but not once the start-up margins are taken off.
TEST(PlacementRulesTest, WorkArea638WideIsEnoughOnlyBeforeTheMargins) {
    const ScreenRect reported{0, 0, 638, 600};
    EXPECT_NE(fitWorkArea(reported.right - reported.left, reported.bottom - reported.top),
              WorkAreaFit::TooSmall);
    const ScreenRect shrunk = shrinkWorkArea(reported);
    EXPECT_EQ(shrunk.right - shrunk.left, 624);
    EXPECT_EQ(fitWorkArea(shrunk.right - shrunk.left, shrunk.bottom - shrunk.top),
              WorkAreaFit::TooSmall);
}

} // namespace
