#include "pages/function_map_page.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "pages/function_map_layout.h"

namespace {

constexpr int firstGridBox = 1103;
constexpr int cvHeader = 1243;
constexpr int valueHeader = 1244;
constexpr int functionLabel = 1245;
constexpr int outputLabel = 1246;
// The frame reaches this far above the first row's centre and below the last one's.
constexpr int frameMargin = 16;

// A control's rectangle in the page's client coordinates.
RECT placeOf(HWND page, int id) {
    RECT rect{};
    HWND control = GetDlgItem(page, id);
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE clientSize(HWND page, int id) {
    RECT rect{};
    GetClientRect(GetDlgItem(page, id), &rect);
    return {rect.right, rect.bottom};
}

void moveTo(HWND page, int id, int32_t x, int32_t y) {
    SetWindowPos(GetDlgItem(page, id), nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void moveTo(HWND page, int id, GridPoint place) {
    moveTo(page, id, place.x, place.y);
}

// Tab follows the order of the windows: put a control next after another (the first at the top).
HWND tabAfter(HWND page, HWND previous, int id) {
    HWND control = GetDlgItem(page, id);
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return control;
}

} // namespace

FunctionMapPage::FunctionMapPage(const char* templateName, WindowHandle parent)
    : CvPage(templateName, parent), rules_(*this) {
    attachRules(rules_);
}

INT_PTR FunctionMapPage::onInitDialog(WPARAM wParam, LPARAM lParam) {
    CvPage::onInitDialog(wParam, lParam);
    layOut();
    return 0;
}

void FunctionMapPage::layOut() {
    const RECT first = placeOf(window_, firstGridBox);
    const GridOrigin origin{first.left, first.top, first.right - first.left,
                            first.bottom - first.top};
    layOutGrid(origin);
    // Tab goes through the grid as it is read: row by row, each row's boxes from left to right
    // (its bits do not stand in bit order), then the row's value box.
    HWND previous = HWND_TOP;
    for (int row = 0; row < functionMapRows; ++row) {
        std::vector<std::pair<int32_t, int>> boxes; // left edge, id
        for (int bit = 0; bit < functionMapBits; ++bit) {
            const int box = functionMapControls[gridBoxEntries + functionMapBits * row + bit];
            const GridPoint place = gridBoxPlace(origin, row, bit);
            moveTo(window_, box, place);
            boxes.push_back({place.x, box});
        }
        std::sort(boxes.begin(), boxes.end());
        for (const auto& box : boxes)
            previous = tabAfter(window_, previous, box.second);
        previous = tabAfter(window_, previous, functionMapControls[valueBoxEntries + row]);
        const int label = functionMapControls[rowLabelEntries + row];
        moveTo(window_, label, rowLabelPlace(origin, row, clientSize(window_, label).cx));
        moveTo(window_, functionMapControls[cvLabelEntries + row], cvLabelPlace(origin, row));
        moveTo(window_, functionMapControls[valueBoxEntries + row], valueBoxPlace(origin, row));
    }
    for (int column = 0; column < functionMapOutputs; ++column) {
        moveTo(window_, functionMapControls[topNumberEntries + column],
               outputNumberPlace(origin, column, false));
        moveTo(window_, functionMapControls[bottomNumberEntries + column],
               outputNumberPlace(origin, column, true));
    }
    moveTo(window_, cvHeader, cvHeaderPlace(origin));
    moveTo(window_, valueHeader, valueHeaderPlace(origin));
    moveTo(window_, functionLabel, functionLabelPlace(clientSize(window_, functionLabel).cy));
    moveTo(window_, outputLabel, outputLabelX(clientSize(window_, outputLabel).cx),
           placeOf(window_, outputLabel).top);
}

INT_PTR FunctionMapPage::onCommand(int id, int notification) {
    int row = 0;
    int bit = 0;
    if (gridBoxPosition(id, &row, &bit)) {
        rules_.gridBoxClicked(id);
        return 0;
    }
    return CvPage::onCommand(id, notification);
}

// The check boxes sit on the row lines.
INT_PTR FunctionMapPage::onPaint(HDC dc, PAINTSTRUCT* paint) {
    CvPage::onPaint(dc, paint);
    for (int32_t centre : gridRowCentre) {
        RECT line{gridLeft, centre, gridRight, centre};
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    }
    RECT frame{gridLeft, gridRowCentre[0] - frameMargin, gridRight,
               gridRowCentre[functionMapRows - 1] + frameMargin};
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    return 1;
}
