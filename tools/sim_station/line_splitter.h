// Cuts the byte stream from the serial line into command lines, whatever the reads' boundaries.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class LineSplitter {
  public:
    // Longer lines are cut to this length: no command comes near it, so a cut line is still
    // refused, and a sender that never ends its line cannot make the buffer grow without end.
    static constexpr std::size_t maxLineLength = 256;

    // Returns the lines completed by these bytes. CR, LF and CR LF all end a line; empty lines
    // are dropped.
    std::vector<std::string> feed(const char* data, std::size_t size);

    // No line has begun: the next byte starts one.
    bool betweenLines() const { return partial_.empty(); }

  private:
    std::string partial_;
};
