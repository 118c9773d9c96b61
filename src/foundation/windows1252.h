// Text between UTF-8, as other programs' files carry it, and Windows-1252, the ANSI code page
// the program's boxes and decoder files hold.
#pragma once

#include <cstddef>
#include <string>

// Where the text stops being UTF-8 (a bad or overlong sequence, a surrogate); npos when it is.
size_t utf8ErrorOffset(const std::string& text);
// False when the text is not UTF-8 (a bad or overlong sequence, a surrogate). A character
// Windows-1252 lacks becomes '?'.
bool utf8ToWindows1252(const std::string& utf8, std::string& ansi);
// Every byte has a character; the five bytes Windows-1252 leaves unassigned become the control
// characters of the same number, as Windows maps them.
std::string windows1252ToUtf8(const std::string& ansi);
// One character as UTF-8 bytes; false for a surrogate or a number above U+10FFFF.
bool appendUtf8(unsigned long codePoint, std::string& utf8);
