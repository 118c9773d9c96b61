#include <gtest/gtest.h>

#include <string>

#include "foundation/windows1252.h"

namespace {

TEST(Windows1252, Utf8BecomesTheAnsiCodePageAndBack) {
    const struct {
        std::string utf8;
        std::string ansi;
    } cases[] = {
        {"GP9 #1234", "GP9 #1234"},
        {"Jos\xC3\xA9 M\xC3\xBCller \xC2\xA0\xC3\xBF", "Jos\xE9 M\xFCller \xA0\xFF"},
        {"\xE2\x82\xAC \xE2\x80\x9C\xE2\x80\x9D \xC5\xA0 \xC5\xB8 \xE2\x84\xA2",
         "\x80 \x93\x94 \x8A \x9F \x99"},
        {"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "\x81\x8D\x8F\x90\x9D"},
    };
    for (const auto& c : cases) {
        std::string ansi;
        ASSERT_TRUE(utf8ToWindows1252(c.utf8, ansi)) << c.utf8;
        EXPECT_EQ(ansi, c.ansi);
        EXPECT_EQ(windows1252ToUtf8(c.ansi), c.utf8);
    }
}

TEST(Windows1252, CharactersItLacksBecomeQuestionMarksAndBadUtf8IsRefused) {
    const struct {
        std::string utf8;
        bool valid;
        std::string ansi;
        size_t errorOffset;
    } cases[] = {
        {"\xE6\x97\xA5\xF0\x9F\x9A\x82 \xC4\x80", true, "?? ?", std::string::npos},
        {"ab\xC3", false, "", 2},           // cut short
        {"ab\xC3(", false, "", 2},          // not a continuation
        {"\xC0\xAF", false, "", 0},         // overlong
        {"x\xE0\x80\xAF", false, "", 1},    // overlong
        {"\xED\xA0\x80", false, "", 0},     // a surrogate
        {"\xF4\x90\x80\x80", false, "", 0}, // above U+10FFFF
        {"\x80", false, "", 0},             // a lone continuation
        {"ok \xFF", false, "", 3},
    };
    for (const auto& c : cases) {
        std::string ansi;
        EXPECT_EQ(utf8ToWindows1252(c.utf8, ansi), c.valid) << c.utf8;
        if (c.valid) {
            EXPECT_EQ(ansi, c.ansi);
        }
        EXPECT_EQ(utf8ErrorOffset(c.utf8), c.errorOffset) << c.utf8;
    }
}

} // namespace
