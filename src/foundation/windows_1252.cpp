#include "foundation/windows_1252.h"

#include <cstdint>

namespace {

// The characters of bytes 0x80 to 0x9F; every other byte is the Latin-1 character of its number.
const char32_t upperControlRow[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Decodes the character starting at text[at], moving at past it; false for a malformed,
// overlong or surrogate sequence.
bool nextCharacter(const std::string& text, size_t& at, char32_t& c) {
    const auto lead = static_cast<uint8_t>(text[at]);
    size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size())
        return false;
    c = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (size_t i = 1; i < length; ++i) {
        const auto follow = static_cast<uint8_t>(text[at + i]);
        if ((follow & 0xC0) != 0x80)
            return false;
        c = (c << 6) | (follow & 0x3F);
    }
    const char32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < shortest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    at += length;
    return true;
}

bool byteOf(char32_t c, char& byte) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<char>(c);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (upperControlRow[i] == c) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

} // namespace

bool appendUtf8(unsigned long c, std::string& out) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return false;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return true;
}

size_t utf8ErrorOffset(const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        char32_t c = 0;
        if (!nextCharacter(text, at, c))
            return start;
    }
    return std::string::npos;
}

std::string utf8FromWindows1252(const std::string& text) {
    std::string out;
    for (char byte : text) {
        const auto b = static_cast<uint8_t>(byte);
        appendUtf8(b >= 0x80 && b < 0xA0 ? upperControlRow[b - 0x80] : b, out);
    }
    return out;
}

bool windows1252FromUtf8(const std::string& text, std::string& converted, std::string& refused) {
    converted.clear();
    for (size_t at = 0; at < text.size();) {
        const size_t start = at;
        char32_t c = 0;
        if (!nextCharacter(text, at, c)) {
            refused = "the text is not UTF-8";
            return false;
        }
        char byte = 0;
        if (!byteOf(c, byte)) {
            refused = "'" + text.substr(start, at - start) +
                      "' is not in Windows-1252, the code page of decoder files";
            return false;
        }
        converted += byte;
    }
    return true;
}
