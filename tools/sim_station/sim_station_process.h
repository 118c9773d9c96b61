// A simulated station started as a child process, stopped when it goes out of scope.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class SimStationProcess {
  public:
    // Options as on the command line, e.g. {"--fault", "silent"}.
    explicit SimStationProcess(const std::vector<std::string>& options = {});
    ~SimStationProcess();
    SimStationProcess(const SimStationProcess&) = delete;
    SimStationProcess& operator=(const SimStationProcess&) = delete;

    const std::string& device() const { return device_; }
    // The command lines the station received, one per entry, without timestamps.
    std::vector<std::string> receivedLines() const;
    // Stops the station; returns its exit status.
    int stop();

  private:
    std::string directory_;
    std::string device_;
    pid_t pid_ = -1;
};
