// The journal's file seam: whole-line appends that two programs can make to one file at once, a
// rename for keeping the file short, and reads of any part of it. The platform's own adapter
// serves the program and the command line; tests put a fake in its place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class JournalStorage {
  public:
    virtual ~JournalStorage() = default;
    // Appends the bytes in one write at the end of the file, after header when the file is new
    // or empty, creating the file and its folder when missing. Returns the file's size after the
    // append, or -1 with the system's words in error.
    virtual int64_t append(const std::string& path, const std::string& header,
                           const std::string& bytes, std::string& error) = 0;
    // Puts from in the place of to, replacing it; false when from is gone.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    // The file's size, or -1 when it cannot be opened.
    virtual int64_t size(const std::string& path) = 0;
    // length bytes from offset, fewer at the end; false when it cannot be read.
    virtual bool read(const std::string& path, int64_t offset, size_t length,
                      std::string& bytes) = 0;
};

// The one every part of the program uses: the platform's own until another is installed.
JournalStorage& journalStorage();
// Installs one (none restores the platform's own) and returns the previous one.
JournalStorage* setJournalStorage(JournalStorage* storage);
// The adapter of the platform being built.
JournalStorage& platformJournalStorage();
// Where the journal is kept for this user when VELQUIST_JOURNAL names no other file; empty when
// the system tells no place.
std::string platformJournalPath();
