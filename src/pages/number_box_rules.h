// The rules the function map, consist and accessory pages share: a box that does not start with
// a number is refused rather than written as 0, and check boxes that stand for the bits of a CV.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/cv_page_engine.h"

// Leading blanks, an optional sign, then at least one digit.
bool isNumberText(const std::string& text);
std::string unsignedText(uint32_t number);
// A box's number with one bit set or cleared, as a click on that bit's check box leaves it; an
// empty box counts as 0. A negative number shows as its unsigned 32-bit form, which no write
// accepts.
std::string withBit(const std::string& text, unsigned bit, bool set);

class NumberBoxRules : public CvPageEngine {
  public:
    NumberBoxRules(CvPageView& view, const CvBinding* bindings, size_t count)
        : CvPageEngine(view, bindings, count) {}

    // Letters would read as 0 and overwrite the decoder's value: "Error with <name>, Not a
    // number" instead.
    int parseValue(size_t index, const std::string& text, uint8_t* value) override;

  protected:
    // Checks box i exactly when bit i of value is set.
    void showBits(const int* boxes, size_t count, uint32_t value);
    // The sum of the bits whose boxes are checked.
    uint32_t checkedBits(const int* boxes, size_t count);
    // A bit's check box was clicked: the box holding the CV's value follows it.
    void followBitClick(int valueBox, unsigned bit, int checkBox);
};

// The reason given for a box without a number.
extern const char* const notANumber;
