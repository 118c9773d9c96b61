#include "decimal_number.h"

namespace {

const std::size_t maxDigits = 6;

} // namespace

bool parseDecimal(const std::string& text, std::size_t& pos, int& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (pos - start == maxDigits) {
            return false;
        }
        value = value * 10 + (text[pos] - '0');
        ++pos;
    }
    return pos > start;
}
