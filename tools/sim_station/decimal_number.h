// The decimal fields of command lines and state files.
#pragma once

#include <cstddef>
#include <string>

// Reads 1 to 6 decimal digits at pos and advances past them. Six digits is more than any CV
// number or value needs yet cannot overflow; a longer run of digits is refused as garbled.
bool parseDecimal(const std::string& text, std::size_t& pos, int& value);
