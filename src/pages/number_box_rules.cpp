#include "pages/number_box_rules.h"

#include <cstdio>

#include "foundation/decimal_text.h"

std::string unsignedText(uint32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(number));
    return text;
}

std::string withBit(const std::string& text, unsigned bit, bool set) {
    uint32_t value = static_cast<uint32_t>(leadingNumber(text));
    if (set)
        value |= 1u << bit;
    else
        value &= ~(1u << bit);
    return unsignedText(value);
}

void NumberBoxRules::showBits(const int* boxes, size_t count, uint32_t value) {
    for (size_t i = 0; i < count; ++i)
        view_.setChecked(boxes[i], (value >> i) & 1u);
}

uint32_t NumberBoxRules::checkedBits(const int* boxes, size_t count) {
    uint32_t value = 0;
    for (size_t i = 0; i < count; ++i)
        if (view_.isChecked(boxes[i]))
            value |= 1u << i;
    return value;
}

void NumberBoxRules::followBitClick(int valueBox, unsigned bit, int checkBox) {
    view_.setBoxText(valueBox, withBit(view_.boxText(valueBox), bit, view_.isChecked(checkBox)));
}
