// Backing a decoder up into a decoder file's content and writing a file's values back, CV by
// CV through the station manager, reporting each CV that failed.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "files/decoder_file_format.h"

struct CvProblem {
    int cv;
    std::string reason;
};

// Told before each CV: how many are done, of how many, and the CV next.
using CvProgress = std::function<void(size_t done, size_t total, int cv)>;

// Reads the CVs in order into content; a CV whose read fails stays unknown and is reported.
// A station that stops answering ends the backup: the CVs after it are reported not read.
std::vector<CvProblem> backupCvs(const std::vector<int>& cvs, DecoderFileContent& content,
                                 const CvProgress& progress);

// Whether a decoder file can be saved at path, tried where the save writes before it takes the
// file's place; an existing file there stays as it is.
bool canSaveDecoderFileAt(const std::string& path);

// The CVs a restore writes: every known one of the content, in CV order, but the read-only ones.
std::vector<int> restoredCvs(const DecoderFileContent& content);

// Told of each CV written: its value, and the value read just before (-1 when not read).
using CvWritten = std::function<void(int cv, int value, int was)>;

// Writes every known value in CV order, skipping read-only CVs; with readFirst reads each just
// before; with verify reads each back and reports a different value. Ends as a backup does when
// the station stops answering.
std::vector<CvProblem> restoreCvs(const DecoderFileContent& content, bool verify, bool readFirst,
                                  const CvProgress& progress, size_t& written,
                                  const CvWritten& onWritten);
