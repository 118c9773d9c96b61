// Saving and loading decoder files through the files seam, with the wait bar's positions and
// the pauses of a failure. A save never leaves a partial file in the place of a good one.
#pragma once

#include <string>

#include "files/decoder_file_format.h"

extern const char cannotWriteFileText[]; // "Cannot write file"
extern const char cannotOpenFileText[];  // "Cannot open file"

// Returns nullptr on success, else the message to show. The new file is written beside the
// old one and takes its place only when complete; on failure the old one stays as it was.
const char* saveDecoderFile(const std::string& path, const DecoderFileContent& content,
                            FileProgress* progress);
// Returns nullptr when content holds the file, else the message to show.
const char* loadDecoderFile(const std::string& path, DecoderFileContent& content,
                            FileProgress* progress);

// Where a save is written until it is complete.
std::string savingPathFor(const std::string& path);
