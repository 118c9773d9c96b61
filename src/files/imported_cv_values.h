// CV values taken from files that other programs write (CV lists and roster entries): the
// checks both readers share and their messages, each naming the line it is about.
#pragma once

#include <cstddef>
#include <string>

#include "files/decoder_file_format.h"

// "Line 12: " and the text.
std::string atLine(size_t line, const std::string& text);
// A piece of a file quoted in a message: short, and only printable ASCII.
std::string quoted(const std::string& text);

// Takes a CV and its value as a file writes them, or says on which line what is wrong: a CV
// outside 1 to 1024, a value outside 0 to 255, or a CV given before with another value (the
// same value again is taken). Empty when taken.
std::string takeCvValue(DecoderFileContent& content, const std::string& cv,
                        const std::string& value, size_t line);
