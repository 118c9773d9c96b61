#include "cli_runner.h"

#include <sys/wait.h>

#include <cstdio>

CliRun runCli(const std::string& arguments) {
    std::string command = std::string(VELQUIST_CLI_PATH) + " " + arguments + " 2>&1";
    CliRun run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe))
        run.out.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
