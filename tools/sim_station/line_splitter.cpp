#include "line_splitter.h"

std::vector<std::string> LineSplitter::feed(const char* data, std::size_t size) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\r' || c == '\n') {
            if (!partial_.empty()) {
                lines.push_back(partial_);
                partial_.clear();
            }
        } else if (partial_.size() < maxLineLength) {
            partial_ += c;
        }
    }
    return lines;
}
