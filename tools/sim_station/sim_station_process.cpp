#include "sim_station_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

SimStationProcess::SimStationProcess(const std::vector<std::string>& options) {
    char pattern[] = "/tmp/velquist-station-XXXXXX";
    directory_ = mkdtemp(pattern);
    std::vector<std::string> arguments = {VELQUIST_SIM_STATION_PATH, "--log",
                                          directory_ + "/station.log"};
    arguments.insert(arguments.end(), options.begin(), options.end());

    int out[2];
    if (pipe(out) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        std::vector<char*> argv;
        for (std::string& argument : arguments)
            argv.push_back(argument.data());
        argv.push_back(nullptr);
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        device_ += c;
    close(out[0]);
}

SimStationProcess::~SimStationProcess() {
    stop();
    std::remove((directory_ + "/station.log").c_str());
    rmdir(directory_.c_str());
}

int SimStationProcess::stop() {
    if (pid_ <= 0)
        return -1;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return status;
}

std::vector<std::string> SimStationProcess::receivedLines() const {
    std::ifstream log(directory_ + "/station.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        lines.push_back(line.substr(line.find(' ') + 1));
    return lines;
}
