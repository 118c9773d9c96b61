#include "device_link.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string readLink(const std::string& path) {
    std::vector<char> buffer(4096);
    const ssize_t length = readlink(path.c_str(), buffer.data(), buffer.size());
    return length < 0 ? std::string() : std::string(buffer.data(), static_cast<size_t>(length));
}

} // namespace

DeviceLink::~DeviceLink() {
    // Another station started since may have taken the name over; its link stays.
    if (!linkPath_.empty() && readLink(linkPath_) == target_) {
        unlink(linkPath_.c_str());
    }
}

bool DeviceLink::create(const std::string& linkPath, const std::string& target,
                        std::string& error) {
    struct stat existing {};
    if (lstat(linkPath.c_str(), &existing) == 0) {
        if (!S_ISLNK(existing.st_mode)) {
            error = linkPath + " exists and is not a symbolic link";
            return false;
        }
        if (unlink(linkPath.c_str()) != 0) {
            error = "cannot remove " + linkPath + ": " + std::strerror(errno);
            return false;
        }
    }
    if (symlink(target.c_str(), linkPath.c_str()) != 0) {
        error = "cannot create " + linkPath + ": " + std::strerror(errno);
        return false;
    }
    linkPath_ = linkPath;
    target_ = target;
    return true;
}
