// JMRI roster entries: the CV values and texts of the first locomotive of a roster file. What
// else the entry holds (the decoder definition's variables, function labels, attribute pairs)
// is JMRI's own and is passed over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/decoder_file_format.h"

// Takes the CVvalue elements under the locomotive's values, its id as the decoder name, its
// owner and its comment as the notes, all in the ANSI code page. Indexed CVs (a dotted name
// such as 16.3.257) cannot be written by the program and are counted in skipped. Empty when
// read, else the message; a file is taken whole or not at all.
std::string readJmriRoster(const uint8_t* bytes, size_t size, DecoderFileContent& content,
                           size_t& skipped);
