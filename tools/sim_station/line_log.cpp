#include "line_log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

std::string timestamp() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    std::snprintf(text + length, sizeof text - length, ".%03ld", now.tv_nsec / 1000000);
    return text;
}

// Control bytes would garble the log and hide what actually arrived, so they are shown as \xNN.
std::string printable(const std::string& line) {
    std::string text;
    for (const char c : line) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || byte == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        } else {
            text += c;
        }
    }
    return text;
}

} // namespace

LineLog::~LineLog() {
    if (file_) {
        std::fclose(file_);
    }
}

bool LineLog::open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "a");
    if (!file_) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void LineLog::write(const std::string& line) {
    if (!file_) {
        return;
    }
    std::fprintf(file_, "%s %s\n", timestamp().c_str(), printable(line).c_str());
    std::fflush(file_);
}
