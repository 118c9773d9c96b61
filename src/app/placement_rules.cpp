#include "app/placement_rules.h"

uint32_t encodeMainLocation(int32_t left, int32_t top) {
    // Unsigned arithmetic wraps where the signed form would overflow.
    return static_cast<uint32_t>(left) * 65536u + static_cast<uint32_t>(top);
}

ScreenPoint decodeMainLocation(uint32_t location) {
    return {static_cast<int32_t>(location >> 16), static_cast<int32_t>(location & 0xFFFFu)};
}

ScreenRect shrinkWorkArea(const ScreenRect& workArea) {
    return {workArea.left + workAreaMargin, workArea.top + workAreaMargin,
            workArea.right - workAreaMargin, workArea.bottom - workAreaMargin};
}

namespace {

bool strictlyBetween(int32_t value, int32_t low, int32_t high) {
    return low < value && value < high;
}

} // namespace

bool isTitleStripVisible(ScreenPoint position, const ScreenRect& area) {
    const int32_t right = position.x + mainWindowWidth;
    const int32_t bottom = position.y + titleStripHeight;
    const bool across = strictlyBetween(position.x, area.left, area.right) ||
                        strictlyBetween(right, area.left, area.right);
    const bool down = strictlyBetween(position.y, area.top, area.bottom) ||
                      strictlyBetween(bottom, area.top, area.bottom);
    return across && down;
}

ScreenPoint restoredMainPosition(uint32_t location, const ScreenRect& shrunkWorkArea) {
    const ScreenPoint fallback{defaultMainLeft, defaultMainTop};
    if (location == 0)
        return fallback;
    const ScreenPoint stored = decodeMainLocation(location);
    return isTitleStripVisible(stored, shrunkWorkArea) ? stored : fallback;
}

WorkAreaFit fitWorkArea(int32_t width, int32_t height) {
    const uint16_t w = static_cast<uint16_t>(width);
    const uint16_t h = static_cast<uint16_t>(height);
    if (w < minimumWorkWidth || h < minimumWorkHeight)
        return WorkAreaFit::TooSmall;
    if (w > multiLineWorkWidth && h > multiLineWorkHeight)
        return WorkAreaFit::MultiLineTabs;
    return WorkAreaFit::SingleRowTabs;
}
