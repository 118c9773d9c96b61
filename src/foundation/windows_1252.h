// Decoder files hold their texts in Windows-1252, the ANSI code page the program writes them in;
// terminals and scripts speak UTF-8. These convert between the two without the system's help.
#pragma once

#include <cstddef>
#include <string>

// Every Windows-1252 byte has a character; the five unassigned ones map to the C1 controls of
// the same number, as Windows maps them, so any file text survives the trip there and back.
std::string utf8FromWindows1252(const std::string& text);

// False when text is not UTF-8 or holds a character Windows-1252 lacks; refused then names the
// first such character (as UTF-8) or says the text is not UTF-8.
bool windows1252FromUtf8(const std::string& text, std::string& converted, std::string& refused);

// Where text stops being UTF-8 (a bad, cut short or overlong sequence, a surrogate); npos when
// it is UTF-8 throughout.
size_t utf8ErrorOffset(const std::string& text);
// One character as UTF-8 bytes; false for a surrogate or a number above U+10FFFF.
bool appendUtf8(unsigned long codePoint, std::string& utf8);
