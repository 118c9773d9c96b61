#include "foundation/cv_value.h"

#include <cstdio>
#include <cstdlib>

CvValue& CvValue::operator=(const CvValue& other) {
    store(other.value_);
    return *this;
}

void CvValue::store(uint8_t value) {
    value_ = value;
    text_[0] = '\0';
}

void CvValue::setValue(int value) {
    store(static_cast<uint8_t>(value & 0xFF));
}

// Takes the first suffix (strtol, unlike atol, is defined on overflow) of the text whose number
// fits a byte, so stray leading characters
// ("-5", "x12") still yield a usable value and an overlong one falls back to its tail.
void CvValue::setFromText(const char* text) {
    if (text) {
        for (const char* from = text; *from; ++from) {
            unsigned long number = static_cast<unsigned long>(std::strtol(from, nullptr, 10));
            if (number <= 255) {
                store(static_cast<uint8_t>(number));
                return;
            }
        }
    }
    store(0);
}

const char* CvValue::text() {
    if (text_[0] == '\0')
        std::snprintf(text_, sizeof text_, "%d", value_);
    return text_;
}

void CvValue::setBit(unsigned n) {
    store(n < 8 ? static_cast<uint8_t>(value_ | (1u << n)) : 255);
}

void CvValue::clearBit(unsigned n) {
    store(n < 8 ? static_cast<uint8_t>(value_ & ~(1u << n)) : 0);
}

int CvValue::testBit(unsigned n) const {
    return n < 8 && ((value_ >> n) & 1u) ? 1 : 0;
}
