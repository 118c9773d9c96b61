#include "pages/function_map_page.h"

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
    for (int row = 0; row < functionMapRows; ++row) {
        for (int bit = 0; bit < functionMapBits; ++bit)
            moveTo(window_, functionMapControls[gridBoxEntries + functionMapBits * row + bit],
                   gridBoxPlace(origin, row, bit));
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
