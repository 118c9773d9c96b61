#include "cli_arguments.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char cliUsage[] = "usage: velquist-cli [--port DEVICE] [--baud 9600|19200] "
                        "read CV [CV ...] | write CV=VALUE [CV=VALUE ...] | version";

namespace {

// A whole decimal number within [lowest, highest], nothing else.
bool parseNumber(const std::string& text, long lowest, long highest, int& number) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (value < lowest || value > highest)
        return false;
    number = static_cast<int>(value);
    return true;
}

bool parseCv(const std::string& text, int& cv, std::string& error) {
    if (parseNumber(text, 1, 1024, cv))
        return true;
    error = "CV must be a number from 1 to 1024: '" + text + "'";
    return false;
}

bool parseAssignment(const std::string& text, std::pair<int, int>& entry, std::string& error) {
    size_t equals = text.find('=');
    if (equals == std::string::npos) {
        error = "write takes CV=VALUE: '" + text + "'";
        return false;
    }
    if (!parseCv(text.substr(0, equals), entry.first, error))
        return false;
    if (parseNumber(text.substr(equals + 1), 0, 255, entry.second))
        return true;
    error = "VALUE must be a number from 0 to 255: '" + text + "'";
    return false;
}

} // namespace

bool parseCliArguments(int argc, const char* const* argv, CliRequest& request, std::string& error) {
    int at = 1;
    for (; at < argc && std::strncmp(argv[at], "--", 2) == 0; ++at) {
        std::string option = argv[at];
        if (option != "--port" && option != "--baud") {
            error = "unknown option '" + option + "'";
            return false;
        }
        if (at + 1 >= argc || argv[at + 1][0] == '\0') {
            error = option + " needs a value";
            return false;
        }
        std::string value = argv[++at];
        if (option == "--port") {
            request.port = value;
        } else if (value == "9600" || value == "19200") {
            request.baudIndex = value == "19200" ? 1 : 0;
        } else {
            error = "baud must be 9600 or 19200: '" + value + "'";
            return false;
        }
    }
    if (at >= argc) {
        error = "missing command";
        return false;
    }
    std::string command = argv[at++];
    if (command == "version") {
        request.command = CliRequest::Command::version;
        if (at < argc) {
            error = "version takes no arguments";
            return false;
        }
        return true;
    }
    if (command != "read" && command != "write") {
        error = "unknown command '" + command + "'";
        return false;
    }
    request.command = command == "read" ? CliRequest::Command::read : CliRequest::Command::write;
    if (at >= argc) {
        error = command + " needs at least one CV";
        return false;
    }
    for (; at < argc; ++at) {
        std::pair<int, int> entry{0, 0};
        bool ok = request.command == CliRequest::Command::read
                      ? parseCv(argv[at], entry.first, error)
                      : parseAssignment(argv[at], entry, error);
        if (!ok)
            return false;
        request.cvs.push_back(entry);
    }
    return true;
}
