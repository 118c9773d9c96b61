// The command line of velquist-cli, checked in full before the port is touched.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct CliRequest {
    enum class Command { read, write, version };

    std::string port = "/dev/ttyS0";
    int baudIndex = 0;
    Command command = Command::version;
    // CV numbers to read, or (CV, value) pairs to write, in the order given.
    std::vector<std::pair<int, int>> cvs;
};

extern const char cliUsage[];

// Parses argv[1..argc-1]; on a mistake returns false with a one-line reason in error.
bool parseCliArguments(int argc, const char* const* argv, CliRequest& request, std::string& error);
