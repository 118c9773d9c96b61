// What a long operation tells its progress window. The window closes when the object is
// deleted; a bar not abandoned is shown full for a moment first.
#pragma once

#include <cstdint>

class WaitProgress {
  public:
    virtual ~WaitProgress() = default;
    // Advances by one; a null message leaves the line as it was.
    virtual void step(const char* message) = 0;
    // Changes the line alone, where the bar stands.
    virtual void setMessage(const char* message) = 0;
    // Positions beyond the maximum show a full bar.
    virtual void setPosition(uint32_t position, const char* message) = 0;
    // The operation failed: close where the bar stands, without the final fill.
    virtual void abandon() = 0;
};
