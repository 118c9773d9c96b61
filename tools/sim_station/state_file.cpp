#include "state_file.h"

#include "decimal_number.h"
#include "simulated_station.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/types.h>

namespace {

std::string describe(const char* action, const std::string& path) {
    return std::string(action) + " " + path + ": " + std::strerror(errno);
}

// "CV=VALUE" with a CV number the decoder has and a value a CV can hold; a trailing CR from a
// file edited on Windows is allowed.
bool parseStateLine(std::string line, int& number, int& value) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    std::size_t pos = 0;
    if (!parseDecimal(line, pos, number) || pos == line.size() || line[pos] != '=') {
        return false;
    }
    ++pos;
    return parseDecimal(line, pos, value) && pos == line.size() && number >= 1 &&
           number <= SimulatedStation::cvCount && value <= 255;
}

} // namespace

bool loadStateFile(const std::string& path, SimulatedStation& station, std::string& error) {
    std::FILE* in = std::fopen(path.c_str(), "r");
    if (!in) {
        if (errno == ENOENT) {
            return true;
        }
        error = describe("cannot read", path);
        return false;
    }
    char* buffer = nullptr;
    std::size_t capacity = 0;
    ssize_t length = 0;
    while ((length = getline(&buffer, &capacity, in)) >= 0) {
        int number = 0;
        int value = 0;
        if (parseStateLine(std::string(buffer, static_cast<std::size_t>(length)), number, value)) {
            station.setCv(number, static_cast<uint8_t>(value));
        }
    }
    std::free(buffer);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        error = describe("cannot read", path);
        return false;
    }
    return true;
}

bool saveStateFile(const std::string& path, const SimulatedStation& station, std::string& error) {
    const std::string temporary = path + ".tmp";
    std::FILE* out = std::fopen(temporary.c_str(), "w");
    if (!out) {
        error = describe("cannot write", temporary);
        return false;
    }
    for (int number = 1; number <= SimulatedStation::cvCount; ++number) {
        std::fprintf(out, "%d=%d\n", number, station.cv(number));
    }
    const bool written = std::ferror(out) == 0;
    if (std::fclose(out) != 0 || !written) {
        error = describe("cannot write", temporary);
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = describe("cannot replace", path);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
