// Where the function map page puts its grid, worked out from the template's first grid box
// (FL front, output 1) alone: columns and rows 11 pixels apart, outputs running leftwards, the
// labels, CV numbers and value boxes around them. Page client coordinates throughout.
#pragma once

#include <cstdint>

#include "pages/function_map_rules.h"

// Module state: set when the page is initialised, drawn by its paint.
extern int32_t gridRowCentre[functionMapRows];
extern int32_t gridLeft;  // where the row lines start
extern int32_t gridRight; // and end
void resetFunctionMapLayout();

// The template's box of row 0, bit 0.
struct GridOrigin {
    int32_t x0;
    int32_t y0;
    int32_t w;
    int32_t h;
};

struct GridPoint {
    int32_t x;
    int32_t y;
};

// Sets gridRowCentre, gridLeft and gridRight.
void layOutGrid(const GridOrigin& origin);

// Top-left corners, valid after layOutGrid with the same origin.
GridPoint gridBoxPlace(const GridOrigin& origin, int row, int bit);
GridPoint rowLabelPlace(const GridOrigin& origin, int row, int32_t labelWidth);
GridPoint cvLabelPlace(const GridOrigin& origin, int row);
GridPoint valueBoxPlace(const GridOrigin& origin, int row);
GridPoint outputNumberPlace(const GridOrigin& origin, int column, bool below);
GridPoint cvHeaderPlace(const GridOrigin& origin);
GridPoint valueHeaderPlace(const GridOrigin& origin);
// The vertical "Function" label, centred on the rows.
GridPoint functionLabelPlace(int32_t labelHeight);
// The "Output" label's x, centred over the row lines.
int32_t outputLabelX(int32_t labelWidth);
