// Runs the real velquist-cli with a shell command line, standard error merged into the output.
#pragma once

#include <string>

struct CliRun {
    int status;
    std::string out;
};

CliRun runCli(const std::string& arguments);
