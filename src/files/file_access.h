// The files seam: the few file operations decoder files need. The platform's own adapter serves
// the program and the command line; tests put a fake in its place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class OutputFile {
  public:
    // Closes the file if close was not called.
    virtual ~OutputFile() = default;
    // Writes every byte or reports failure.
    virtual bool write(const uint8_t* bytes, size_t size) = 0;
    // Flushes to the disk and closes; a failure here loses what was written.
    virtual bool close() = 0;
};

// Paths are UTF-8 on every platform.
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // Creates the file or empties an existing one; none when that fails.
    virtual std::unique_ptr<OutputFile> create(const std::string& path) = 0;
    // Puts a closed file in the place of another, replacing it in one step. A target marked
    // read-only is left alone: replacing it would defeat the mark.
    virtual bool replace(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
    // At most limit bytes from the start of the file; false when it cannot be opened or read
    // (a folder cannot).
    virtual bool readStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) = 0;
};

// The one every part of the program uses: the platform's own until another is installed.
FileAccess& fileAccess();
// Installs one (none restores the platform's own) and returns the previous one.
FileAccess* setFileAccess(FileAccess* access);
// The adapter of the platform being built.
FileAccess& platformFileAccess();
