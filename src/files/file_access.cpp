#include "files/file_access.h"

namespace {

FileAccess* installed = nullptr;

} // namespace

FileAccess& fileAccess() {
    return installed ? *installed : platformFileAccess();
}

FileAccess* setFileAccess(FileAccess* access) {
    FileAccess* previous = &fileAccess();
    installed = access;
    return previous;
}
