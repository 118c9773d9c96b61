// Saving and loading decoder data through the files seam, with the wait bar's positions and
// the pauses of a failure: decoder files both ways, CV lists both ways, JMRI roster entries in.
// A save never leaves a partial file in the place of a good one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "files/decoder_file_format.h"
#include "files/decoder_file_kind.h"

extern const char cannotWriteFileText[]; // "Cannot write file"
extern const char cannotOpenFileText[];  // "Cannot open file"
extern const char emptyFileText[];
extern const char fileTooLargeText[];

// Returns nullptr on success, else the message to show. A decoder file, or a CV list with
// asCvList. The new file is written beside the old one and takes its place only when complete;
// on failure the old one stays as it was.
const char* saveDecoderFile(const std::string& path, const DecoderFileContent& content,
                            FileProgress* progress, bool asCvList = false);
// Any other file, such as a decoder sheet, saved the same way.
const char* saveFileBytes(const std::string& path, const std::vector<uint8_t>& bytes,
                          FileProgress* progress);
// Whether a name asks for a CV list: it ends in ".csv", in any case.
bool namesCvList(const std::string& path);

struct DecoderFileLoad {
    // Empty when content holds the file.
    std::string error;
    DecoderFileKind kind = DecoderFileKind::velquist;
    // Roster entries: the CV entries that were passed over.
    size_t skippedCvEntries = 0;
};

// What the user is told of the passed-over entries of a roster entry.
std::string skippedEntriesText(size_t count);

// Loads any of the three kinds, told apart by content, whole or not at all: on failure content
// must not be used. The one load the program and the command line share.
DecoderFileLoad loadDecoderFile(const std::string& path, DecoderFileContent& content,
                                FileProgress* progress);

// Where a save is written until it is complete.
std::string savingPathFor(const std::string& path);
