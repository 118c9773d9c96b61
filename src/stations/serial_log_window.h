// The serial traffic log: a bounded text of the most recent traffic, kept in whole lines, and
// the window that shows it on request.
#pragma once

#include <cstddef>
#include <cstdint>

#include "foundation/window_handle.h"

class SerialLogWindow {
  public:
    explicit SerialLogWindow(uint32_t capacity);
    SerialLogWindow(const SerialLogWindow&) = delete;
    SerialLogWindow& operator=(const SerialLogWindow&) = delete;
    ~SerialLogWindow();

    // Records the bytes up to the first NUL and shows them in the window if it is open.
    void append(const char* bytes, size_t length);
    void appendText(const char* text);
    // Non-zero opens the window or brings it to the top; zero closes it, remembering where it was.
    void show(int flag);

    const char* text() const { return start_; }
    uint32_t capacity() const { return capacity_; }
    WindowHandle window() const { return window_; }

  private:
    // Brings the open window up to date with the last length bytes of the buffer, or with the
    // whole buffer when older lines were dropped.
    void showAppended(size_t length, bool wholeText);

    char* start_;
    char* end_;
    char* write_;
    uint32_t capacity_;
    WindowHandle window_ = nullptr;
    int32_t left_ = 100;
    int32_t top_ = 75;
    int32_t width_ = 250;
    int32_t height_ = 300;
};
