// One CV value: a byte with bit access and a lazily formed decimal text.
#pragma once

#include <cstdint>

class CvValue {
  public:
    CvValue() = default;
    explicit CvValue(uint8_t value) : value_(value) {}
    CvValue(const CvValue& other) : value_(other.value_) {}
    CvValue& operator=(const CvValue& other);

    uint8_t value() const { return value_; }
    void setValue(int value);
    void setFromText(const char* text);
    const char* text();
    void setBit(unsigned n);
    void clearBit(unsigned n);
    int testBit(unsigned n) const;

  private:
    void store(uint8_t value);

    uint8_t value_ = 0;
    char text_[4] = {};
};
