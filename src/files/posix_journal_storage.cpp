// The journal's file seam on POSIX systems: O_APPEND makes each write land whole at the end,
// whoever else appends.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "files/journal_storage.h"

namespace {

// Creates every missing folder above the file.
void makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0777);
}

bool writeAll(int descriptor, const std::string& bytes) {
    // One write call: a regular file takes it whole unless the disk is full.
    const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
    return written == static_cast<ssize_t>(bytes.size());
}

class PosixJournalStorage : public JournalStorage {
  public:
    int64_t append(const std::string& path, const std::string& header, const std::string& bytes,
                   std::string& error) override {
        int descriptor = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0666);
        if (descriptor < 0 && errno == ENOENT) {
            makeFolders(path);
            descriptor = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0666);
        }
        if (descriptor < 0) {
            error = std::strerror(errno);
            return -1;
        }
        struct stat before {};
        const bool empty = ::fstat(descriptor, &before) == 0 && before.st_size == 0;
        bool ok = writeAll(descriptor, empty ? header + bytes : bytes);
        if (!ok)
            error = errno == 0 || errno == EINTR ? "the disk is full" : std::strerror(errno);
        struct stat after {};
        ok = ::fstat(descriptor, &after) == 0 && ok;
        ::close(descriptor);
        return ok ? static_cast<int64_t>(after.st_size) : -1;
    }
    bool rename(const std::string& from, const std::string& to) override {
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
    int64_t size(const std::string& path) override {
        struct stat target {};
        return ::stat(path.c_str(), &target) == 0 ? static_cast<int64_t>(target.st_size) : -1;
    }
    bool read(const std::string& path, int64_t offset, size_t length, std::string& bytes) override {
        const int descriptor = ::open(path.c_str(), O_RDONLY);
        if (descriptor < 0)
            return false;
        bytes.assign(length, '\0');
        size_t total = 0;
        bool ok = true;
        while (total < length) {
            const ssize_t got = ::pread(descriptor, &bytes[total], length - total,
                                        static_cast<off_t>(offset + static_cast<int64_t>(total)));
            if (got < 0 && errno == EINTR)
                continue;
            ok = got >= 0;
            if (got <= 0)
                break;
            total += static_cast<size_t>(got);
        }
        ::close(descriptor);
        bytes.resize(total);
        return ok;
    }
};

} // namespace

JournalStorage& platformJournalStorage() {
    static PosixJournalStorage storage;
    return storage;
}

std::string platformJournalPath() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::string(state) + "/velquist/journal.csv";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::string(home) + "/.local/state/velquist/journal.csv";
    return "";
}
