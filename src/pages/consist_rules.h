// The consist page's rules: the consist address and adjustments as plain boxes, and CV 21 and
// CV 22 as rows of check boxes, one per bit, kept in step with two hidden boxes holding the CVs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pages/number_box_rules.h"

enum : int {
    consistAddressBox = 1249,
    consistFunctionsBox = 1267, // hidden, CV 21
    consistHeadlightBox = 1268, // hidden, CV 22
    accelerationAdjustmentBox = 1254,
    decelerationAdjustmentBox = 1255,
};

// Box i stands for bit i: F1 to F8 for CV 21, headlight forward and reverse for CV 22.
extern const int consistFunctionBoxes[8];
extern const int consistHeadlightBoxes[2];

// The hidden box and bit a check box edits; false for any other control.
bool consistBoxBit(int controlId, int* hiddenBox, unsigned* bit);

class ConsistRules : public NumberBoxRules {
  public:
    explicit ConsistRules(CvPageView& view);

    // A check box was clicked: the hidden box of its CV follows it.
    void checkBoxClicked(int controlId);

    void formatValue(size_t index, uint8_t value, std::string* text) override;
    int refreshDerived() override;
};
