// The files seam on POSIX systems: the command line and the native tests.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "files/file_access.h"

namespace {

class PosixOutputFile : public OutputFile {
  public:
    explicit PosixOutputFile(int descriptor) : descriptor_(descriptor) {}
    ~PosixOutputFile() override {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    bool write(const uint8_t* bytes, size_t size) override {
        while (size > 0) {
            const ssize_t written = ::write(descriptor_, bytes, size);
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                return false;
            bytes += written;
            size -= static_cast<size_t>(written);
        }
        return true;
    }
    bool close() override {
        const bool synced = ::fsync(descriptor_) == 0;
        const bool closed = ::close(descriptor_) == 0;
        descriptor_ = -1;
        return synced && closed;
    }

  private:
    int descriptor_;
};

class PosixFileAccess : public FileAccess {
  public:
    std::unique_ptr<OutputFile> create(const std::string& path) override {
        const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (descriptor < 0)
            return nullptr;
        return std::make_unique<PosixOutputFile>(descriptor);
    }
    bool replace(const std::string& from, const std::string& to) override {
        struct stat target {};
        if (::stat(to.c_str(), &target) == 0 && (target.st_mode & 0222) == 0)
            return false;
        return std::rename(from.c_str(), to.c_str()) == 0;
    }
    void remove(const std::string& path) override { ::unlink(path.c_str()); }
    bool readStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) override {
        const int descriptor = ::open(path.c_str(), O_RDONLY);
        if (descriptor < 0)
            return false;
        bytes.assign(limit, 0);
        size_t total = 0;
        bool ok = true;
        while (total < limit) {
            const ssize_t got = ::read(descriptor, bytes.data() + total, limit - total);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                ok = false;
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

FileAccess& platformFileAccess() {
    static PosixFileAccess access;
    return access;
}
