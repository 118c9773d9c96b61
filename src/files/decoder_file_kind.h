// The three kinds of file the program loads, told apart by their first bytes, never by name.
#pragma once

#include <cstddef>
#include <cstdint>

enum class DecoderFileKind { velquist, cvList, jmriRoster };

// A Velquist decoder file starts with its magic's length as a 32-bit little-endian number, so
// bytes 1 to 3 are zero, which no text has; a roster entry is XML, starting with '<' after an
// optional byte order mark and blanks; anything else is read as a CV list.
DecoderFileKind decoderFileKindOf(const uint8_t* bytes, size_t size);
