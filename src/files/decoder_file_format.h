// The decoder file: a value or "unknown" for each of the 1024 CVs and the three free texts of
// the Load/Save page, as little-endian bytes. The writer and the reader with every check.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr int32_t decoderFileCvCount = 1024;
// The entry of a CV whose value is not known.
constexpr int32_t unknownCvEntry = -1;
// Longest text a file carries; the writer cuts longer ones so the reader takes the file back.
constexpr size_t decoderFileTextLimit = 4095;

extern const char notVelquistFileText[]; // "Not a Velquist file"
extern const char fileCorruptedText[];   // "File corrupted"

// The three texts, in file order: boxes "Decoder Name", "Owner" and "Notes".
enum DecoderText { decoderNameText, ownerText, notesText, decoderTextCount };

struct DecoderFileContent {
    // Entry i for CV i + 1: 0 to 255, or unknownCvEntry.
    std::array<int32_t, decoderFileCvCount> entries;
    std::string texts[decoderTextCount];

    DecoderFileContent() { entries.fill(unknownCvEntry); }
};

// Where a wait bar follows a file's progress: fixed positions of a maximum of 100.
class FileProgress {
  public:
    virtual ~FileProgress() = default;
    virtual void reached(uint32_t position) = 0;
    // The operation failed: the bar closes where it stands.
    virtual void abandon() = 0;
};

// The whole file. With progress, reports the writer's positions and pauses once so the bar can
// be seen.
std::vector<uint8_t> encodeDecoderFile(const DecoderFileContent& content, FileProgress* progress);

// Reads the start of a file; bytes after the trailer are ignored. Returns nullptr when the file
// was read into content, else the message of the first check that failed (content is then
// partly filled and must not be used). With progress, as the writer.
const char* decodeDecoderFile(const uint8_t* bytes, size_t size, DecoderFileContent& content,
                              FileProgress* progress);
