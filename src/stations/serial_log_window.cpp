// The log's buffer. It is allocated once, so recording traffic never allocates; when full, the
// oldest whole lines make room.
#include "stations/serial_log_window.h"

#include <cstring>

namespace {

constexpr uint32_t minimumCapacity = 128;

} // namespace

SerialLogWindow::SerialLogWindow(uint32_t capacity)
    : capacity_(capacity < minimumCapacity ? minimumCapacity : capacity) {
    start_ = new char[capacity_ + 1]();
    end_ = start_ + capacity_;
    write_ = start_;
}

SerialLogWindow::~SerialLogWindow() {
    show(0);
    delete[] start_;
}

void SerialLogWindow::appendText(const char* text) {
    append(text, text ? std::strlen(text) : 0);
}

void SerialLogWindow::append(const char* bytes, size_t length) {
    if (!bytes)
        return;
    // The log is one NUL-terminated text: a NUL ends what can be shown of this chunk.
    const void* nul = std::memchr(bytes, '\0', length);
    if (nul)
        length = static_cast<size_t>(static_cast<const char*>(nul) - bytes);
    if (length == 0)
        return;
    if (length > capacity_) {
        bytes += length - capacity_;
        length = capacity_;
    }

    bool trimmed = false;
    size_t freeSpace = static_cast<size_t>(end_ - write_);
    if (freeSpace < length) {
        size_t used = static_cast<size_t>(write_ - start_);
        size_t discard = used;
        for (size_t offset = length; offset + 2 <= used; ++offset) {
            if (start_[offset] == '\n') {
                discard = offset + 1;
                break;
            }
        }
        std::memmove(start_, start_ + discard, used - discard);
        write_ = start_ + (used - discard);
        trimmed = true;
    }

    std::memcpy(write_, bytes, length);
    write_ += length;
    *write_ = '\0';

    if (window_)
        showAppended(length, trimmed);
}
