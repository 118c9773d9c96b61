#include "pages/function_map_layout.h"

int32_t gridRowCentre[functionMapRows] = {};
int32_t gridLeft = 0;
int32_t gridRight = 0;

namespace {

// Between columns, between rows, and beyond the outermost columns on the row lines.
constexpr int32_t gap = 11;
constexpr int32_t functionLabelX = 20;

int32_t pitch(const GridOrigin& origin) {
    return origin.w + gap;
}

int32_t rowTop(const GridOrigin& origin, int row) {
    return gridRowCentre[row] - origin.h / 2;
}

} // namespace

void resetFunctionMapLayout() {
    for (int32_t& centre : gridRowCentre)
        centre = 0;
    gridLeft = 0;
    gridRight = 0;
}

void layOutGrid(const GridOrigin& origin) {
    for (int row = 0; row < functionMapRows; ++row)
        gridRowCentre[row] = origin.y0 + (origin.h + gap) * row + origin.h / 2;
    gridRight = origin.x0 + pitch(origin);
    gridLeft = origin.x0 - functionMapOutputs * pitch(origin) + origin.w;
}

GridPoint gridBoxPlace(const GridOrigin& origin, int row, int bit) {
    return {origin.x0 - outputColumn(row, bit) * pitch(origin), origin.y0 + (origin.h + gap) * row};
}

GridPoint rowLabelPlace(const GridOrigin& origin, int row, int32_t labelWidth) {
    return {gridLeft - labelWidth - 7, rowTop(origin, row)};
}

GridPoint cvLabelPlace(const GridOrigin& origin, int row) {
    return {gridRight + 22, rowTop(origin, row)};
}

GridPoint valueBoxPlace(const GridOrigin& origin, int row) {
    return {gridRight + 44, rowTop(origin, row) - 3};
}

GridPoint outputNumberPlace(const GridOrigin& origin, int column, bool below) {
    return {origin.x0 - pitch(origin) * column,
            below ? gridRowCentre[functionMapRows - 1] + 22 : gridRowCentre[0] - 33};
}

GridPoint cvHeaderPlace(const GridOrigin& origin) {
    return {gridRight + 22, gridRowCentre[0] - 2 * origin.h};
}

GridPoint valueHeaderPlace(const GridOrigin& origin) {
    return {gridRight + 44, gridRowCentre[0] - 2 * origin.h};
}

GridPoint functionLabelPlace(int32_t labelHeight) {
    const int32_t first = gridRowCentre[0];
    const int32_t last = gridRowCentre[functionMapRows - 1];
    return {functionLabelX, first + (last - first) / 2 - labelHeight / 2};
}

int32_t outputLabelX(int32_t labelWidth) {
    return gridLeft + (gridRight - gridLeft) / 2 - labelWidth / 2;
}
