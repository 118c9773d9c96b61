// How a simulated station speaks on the line: where one command ends in the byte stream, how it
// is answered, which commands take the programming track's time, and how the log shows them.
// The ASCII command set answers through SimulatedStation itself; the binary one has its own.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "line_splitter.h"
#include "simulated_station.h"

class StationProtocol {
  public:
    virtual ~StationProtocol() = default;
    // The commands these bytes complete, whatever the reads' boundaries.
    virtual std::vector<std::string> feed(const char* data, std::size_t size) = 0;
    virtual StationReply answer(const std::string& command) = 0;
    virtual bool isProgrammingCommand(const std::string& command) const = 0;
    // A read takes a real programming track longer than a write.
    virtual bool isReadCommand(const std::string& command) const = 0;
    // The command as the station's log shows it.
    virtual std::string logText(const std::string& command) const = 0;
};

// Command lines ("R029") answered up to the prompt; between lines, the binary version command AA
// too, answered with the three bytes of versionAnswer, as every NCE station does.
class AsciiProtocol : public StationProtocol {
  public:
    AsciiProtocol(SimulatedStation& station, std::string versionAnswer)
        : station_(station), versionAnswer_(std::move(versionAnswer)) {}

    std::vector<std::string> feed(const char* data, std::size_t size) override;
    StationReply answer(const std::string& command) override;
    bool isProgrammingCommand(const std::string& command) const override {
        return SimulatedStation::isProgrammingCommand(command);
    }
    bool isReadCommand(const std::string& command) const override {
        return !command.empty() && (command[0] == 'R' || command[0] == 'r');
    }
    std::string logText(const std::string& command) const override {
        return command == "\xAA" ? "AA" : command;
    }

  private:
    SimulatedStation& station_;
    std::string versionAnswer_;
    LineSplitter splitter_;
};
