#include "foundation/text_compare.h"

#include <cctype>
#include <cstring>

namespace {

int threeWay(int difference) {
    return difference < 0 ? 0 : (difference == 0 ? 1 : 2);
}

// _stricmp order: both texts folded to lower case, compared as unsigned bytes.
int compareFolded(const char* a, const char* b) {
    for (;; ++a, ++b) {
        int ca = std::tolower(static_cast<unsigned char>(*a));
        int cb = std::tolower(static_cast<unsigned char>(*b));
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

} // namespace

int compareText(const void* a, const void* b) {
    if (!a || !b)
        return 1;
    return threeWay(std::strcmp(static_cast<const char*>(a), static_cast<const char*>(b)));
}

int compareTextNoCase(const void* a, const void* b) {
    if (!a || !b)
        return 1;
    return threeWay(compareFolded(static_cast<const char*>(a), static_cast<const char*>(b)));
}
