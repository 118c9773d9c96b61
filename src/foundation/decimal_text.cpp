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
