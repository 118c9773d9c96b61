// The function map page's rules: the output location CVs 33 to 42 as a staggered grid of check
// boxes, one row per CV and one column per output, with each row's value in a read-only box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pages/number_box_rules.h"

constexpr int functionMapRows = 10;
constexpr int functionMapBits = 8;
constexpr int functionMapOutputs = 14;

// Every control the page lays out, in six sections (entry where each starts below).
constexpr size_t functionMapControlCount = 138;
extern const int functionMapControls[functionMapControlCount];
enum : size_t {
    gridBoxEntries = 0,        // row r, bit b at 8r + b
    rowLabelEntries = 80,      // rows 0 to 9
    topNumberEntries = 90,     // output columns 0 to 13 (outputs 1 to 14), above the grid
    bottomNumberEntries = 104, // the same, below the grid
    cvLabelEntries = 118,      // rows 0 to 9
    valueBoxEntries = 128,     // rows 0 to 9
};

// Output column (0 is output 1) of a row's bit 0: rows F3 to F6 start three outputs further on,
// F7 and F8 six, as the NMRA output locations have it.
int rowColumnOffset(int row);
int outputColumn(int row, int bit);
// The row and bit of a grid check box; false for any other control.
bool gridBoxPosition(int controlId, int* row, int* bit);

class FunctionMapRules : public NumberBoxRules {
  public:
    explicit FunctionMapRules(CvPageView& view);

    // A grid box was clicked: its row's value box follows it.
    void gridBoxClicked(int controlId);

    void formatValue(size_t index, uint8_t value, std::string* text) override;
    int refreshDerived() override;
};
