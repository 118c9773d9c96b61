// The number at the start of a box text, as the pages read it: leading blanks, a sign, then
// digits up to the first other character; 0 without digits. Unlike atol it is defined for any
// length: a number too large for a long saturates.
#pragma once

#include <string>

long leadingNumber(const std::string& text);
// Whether the text starts with a number at all: leading blanks, an optional sign, a digit.
bool isNumberText(const std::string& text);
// A whole number in decimal digits alone (no blanks, no sign) from 0 to highest, as files
// written by other programs carry CV numbers and values.
bool plainDecimal(const std::string& text, long highest, long* number);
