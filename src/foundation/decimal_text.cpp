#include "foundation/decimal_text.h"

#include <cstdlib>

long leadingNumber(const std::string& text) {
    return std::strtol(text.c_str(), nullptr, 10);
}
