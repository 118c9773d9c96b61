#include "foundation/windows1252.h"

#include <cstdint>

namespace {

// The characters of bytes 0x80 to 0x9F; the rest of the code page is Latin-1.
constexpr uint16_t high[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char ansiOf(unsigned long codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (high[i] == codePoint)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

bool appendUtf8(unsigned long codePoint, std::string& utf8) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return false;
    if (codePoint < 0x80) {
        utf8 += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        utf8 += static_cast<char>(0xC0 | codePoint >> 6);
        utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        utf8 += static_cast<char>(0xE0 | codePoint >> 12);
        utf8 += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | codePoint >> 18);
        utf8 += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        utf8 += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return true;
}

namespace {

// The character at i and how many bytes it takes; 0 bytes when there is none.
size_t decodeUtf8(const std::string& text, size_t i, unsigned long& codePoint) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t extra = lead < 0x80                   ? 0
                         : lead >= 0xC2 && lead < 0xE0 ? 1
                         : lead >= 0xE0 && lead < 0xF0 ? 2
                         : lead >= 0xF0 && lead < 0xF5 ? 3
                                                       : 4;
    if (extra == 4 || i + extra >= text.size())
        return 0;
    codePoint = extra == 0 ? lead : lead & (0x3Fu >> extra);
    for (size_t k = 1; k <= extra; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    const unsigned long shortest[4] = {0, 0x80, 0x800, 0x10000};
    if (codePoint < shortest[extra] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return extra + 1;
}

} // namespace

size_t utf8ErrorOffset(const std::string& text) {
    unsigned long codePoint = 0;
    for (size_t i = 0; i < text.size();) {
        const size_t length = decodeUtf8(text, i, codePoint);
        if (length == 0)
            return i;
        i += length;
    }
    return std::string::npos;
}

bool utf8ToWindows1252(const std::string& utf8, std::string& ansi) {
    ansi.clear();
    unsigned long codePoint = 0;
    for (size_t i = 0; i < utf8.size();) {
        const size_t length = decodeUtf8(utf8, i, codePoint);
        if (length == 0)
            return false;
        ansi += ansiOf(codePoint);
        i += length;
    }
    return true;
}

std::string windows1252ToUtf8(const std::string& ansi) {
    std::string utf8;
    for (char c : ansi) {
        const unsigned char byte = static_cast<unsigned char>(c);
        appendUtf8(byte >= 0x80 && byte < 0xA0 ? high[byte - 0x80] : byte, utf8);
    }
    return utf8;
}
