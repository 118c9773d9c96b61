#include "pages/number_box_rules.h"

#include <cctype>
#include <cstdio>

#include "foundation/decimal_text.h"

const char* const notANumber = "Not a number";

bool isNumberText(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

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

int NumberBoxRules::parseValue(size_t index, const std::string& text, uint8_t* value) {
    if (isNumberText(text))
        return CvPageEngine::parseValue(index, text, value);
    showValueError(index, notANumber);
    *value = 0;
    return 1;
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
