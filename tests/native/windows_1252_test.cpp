#include <gtest/gtest.h>

#include <string>

#include "foundation/windows_1252.h"

namespace {

TEST(Windows1252, ConvertsBothWaysAndEveryByteComesBack) {
    const struct {
        const char* utf8;
        const char* file;
    } cases[] = {
        {"Güterzug Nº 5 – Köln", "G\xFCterzug N\xBA 5 \x96 K\xF6ln"},
        {"€‚ƒ„…†‡ˆ‰Š‹ŒŽ", "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E"},
        {"‘’“”•—˜™š›œžŸ", "\x91\x92\x93\x94\x95\x97\x98\x99\x9A\x9B\x9C\x9E\x9F"},
        {"\u00A0ÿ line\r\nbreak", "\xA0\xFF line\r\nbreak"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string converted, refused;
        EXPECT_TRUE(windows1252FromUtf8(c.utf8, converted, refused)) << c.utf8 << refused;
        EXPECT_EQ(converted, c.file) << c.utf8;
        EXPECT_EQ(utf8FromWindows1252(c.file), c.utf8);
    }
    std::string everyByte;
    for (int b = 1; b < 256; ++b)
        everyByte += static_cast<char>(b);
    std::string back, refused;
    ASSERT_TRUE(windows1252FromUtf8(utf8FromWindows1252(everyByte), back, refused)) << refused;
    EXPECT_EQ(back, everyByte);
}

TEST(Windows1252, RefusesWhatItCannotHoldAndWhatIsNotUtf8) {
    const struct {
        std::string utf8;
        const char* refused;
    } cases[] = {
        {"Zug Ω 5", "'Ω' is not in Windows-1252, the code page of decoder files"},
        {"Lok 🚂", "'🚂' is not in Windows-1252, the code page of decoder files"},
        {"G\xFCterzug", "the text is not UTF-8"},      // already Windows-1252
        {"\xC3", "the text is not UTF-8"},             // cut short
        {"\xC0\xAF", "the text is not UTF-8"},         // overlong '/'
        {"\xED\xA0\x80", "the text is not UTF-8"},     // a lone surrogate
        {"\xF4\x90\x80\x80", "the text is not UTF-8"}, // past U+10FFFF
    };
    for (const auto& c : cases) {
        std::string converted, refused;
        EXPECT_FALSE(windows1252FromUtf8(c.utf8, converted, refused)) << c.utf8;
        EXPECT_EQ(refused, c.refused);
    }
}

TEST(Windows1252, FindsWhereATextStopsBeingUtf8) {
    const struct {
        std::string text;
        size_t offset;
    } cases[] = {
        {"G\xC3\xBCterzug \xF0\x9F\x9A\x82", std::string::npos},
        {"ab\xC3", 2},           // cut short
        {"ab\xC3(", 2},          // not a continuation
        {"x\xE0\x80\xAF", 1},    // overlong
        {"\xED\xA0\x80", 0},     // a surrogate
        {"\xF4\x90\x80\x80", 0}, // above U+10FFFF
        {"\x80", 0},             // a lone continuation
        {"ok \xFF", 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8ErrorOffset(c.text), c.offset) << c.text;
    std::string out;
    EXPECT_TRUE(appendUtf8(0x1F682, out));
    EXPECT_EQ(out, "\xF0\x9F\x9A\x82");
    EXPECT_FALSE(appendUtf8(0xD800, out));
    EXPECT_FALSE(appendUtf8(0x110000, out));
}

} // namespace
