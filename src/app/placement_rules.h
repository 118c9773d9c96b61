// Where the main window goes and what the work area allows: the decisions behind its placement,
// kept free of window calls so they can be checked on any platform.
#pragma once

#include <cstdint>

constexpr int32_t mainWindowWidth = 625;
constexpr int32_t mainWindowHeight = 455;
constexpr int32_t defaultMainLeft = 30;
constexpr int32_t defaultMainTop = 50;
// The smallest work area the program runs in.
constexpr int32_t minimumWorkWidth = 625;
constexpr int32_t minimumWorkHeight = 425;
// Multi-line tabs only when the area is larger than these.
constexpr int32_t multiLineWorkWidth = 700;
constexpr int32_t multiLineWorkHeight = 525;
// Kept clear around the work area at start, so a window restored at its edge stays reachable.
constexpr int32_t workAreaMargin = 7;
// The part of the window that must be on screen: enough of the caption to drag it by.
constexpr int32_t titleStripHeight = 15;

struct ScreenRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

// The stored form of a position: left * 65536 + top in 32-bit arithmetic. Negative corners (a
// maximised window) therefore read back as large positions and fail the visibility test.
uint32_t encodeMainLocation(int32_t left, int32_t top);
// x from bits 16-31, y from bits 0-15, both unsigned.
ScreenPoint decodeMainLocation(uint32_t location);

ScreenRect shrinkWorkArea(const ScreenRect& workArea);

// Whether the title strip of a main window at position lies on the area: one of its vertical
// edges strictly inside the area's width and one of its horizontal edges strictly inside its
// height.
bool isTitleStripVisible(ScreenPoint position, const ScreenRect& area);

// The start position: the stored location (0 = none) if its title strip is visible on the
// shrunk work area, else the default position.
ScreenPoint restoredMainPosition(uint32_t location, const ScreenRect& shrunkWorkArea);

enum class WorkAreaFit { TooSmall, SingleRowTabs, MultiLineTabs };

// The verdict on a work area, its width and height taken as 16-bit unsigned numbers.
WorkAreaFit fitWorkArea(int32_t width, int32_t height);
