// The rules the function map, consist and accessory pages share: check boxes that stand for the
// bits of a CV.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/cv_page_engine.h"

std::string unsignedText(uint32_t number);
// A box's number with one bit set or cleared, as a click on that bit's check box leaves it; an
// empty box counts as 0. A negative number shows as its unsigned 32-bit form, which no write
// accepts.
std::string withBit(const std::string& text, unsigned bit, bool set);

class NumberBoxRules : public CvPageEngine {
  public:
    NumberBoxRules(CvPageView& view, const CvBinding* bindings, size_t count)
        : CvPageEngine(view, bindings, count) {}

  protected:
    // Checks box i exactly when bit i of value is set.
    void showBits(const int* boxes, size_t count, uint32_t value);
    // The sum of the bits whose boxes are checked.
    uint32_t checkedBits(const int* boxes, size_t count);
    // A bit's check box was clicked: the box holding the CV's value follows it.
    void followBitClick(int valueBox, unsigned bit, int checkBox);
};
