// CV lists: the CSV files of JMRI's "Import CVs" and "Export CVs" and of spreadsheets. A header
// line, then one "CV,value" line per CV in decimal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/decoder_file_format.h"

// Takes every CV of the list into content (which starts with none known). The header may be
// written "CV,value", "CV, value" or "\"CV, value\"" or left out; blanks around fields, CR LF or
// LF, blank lines and a third column are accepted. Empty when read, else the message of the
// first line that cannot be taken.
std::string readCvList(const uint8_t* bytes, size_t size, DecoderFileContent& content);

// "CV,value", then every known CV in ascending order, lines ending in CR LF.
std::string writeCvList(const DecoderFileContent& content);
