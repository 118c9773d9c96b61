// The record of every line the station received, for tests and people to read while it runs.
#pragma once

#include <cstdio>
#include <string>

class LineLog {
  public:
    LineLog() = default;
    ~LineLog();
    LineLog(const LineLog&) = delete;
    LineLog& operator=(const LineLog&) = delete;

    // Appends to path from now on.
    bool open(const std::string& path, std::string& error);
    // Writes "2026-12-08T00:12:03.123 R029" (local time) and flushes at once; a log that was
    // never opened ignores it.
    void write(const std::string& line);

  private:
    std::FILE* file_ = nullptr;
};
