#include "foundation/decimal_text.h"

#include <cctype>
#include <cstdlib>

long leadingNumber(const std::string& text) {
    return std::strtol(text.c_str(), nullptr, 10);
}

bool isNumberText(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    return i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]));
}

bool plainDecimal(const std::string& text, long highest, long* number) {
    // Nine digits cannot overflow a long; more are out of range anyway after leading zeros.
    const size_t first = text.find_first_not_of('0');
    const std::string digits = first == std::string::npos ? "0" : text.substr(first);
    if (text.empty() || digits.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const long value = std::strtol(digits.c_str(), nullptr, 10);
    if (value > highest)
        return false;
    *number = value;
    return true;
}
