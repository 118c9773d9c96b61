#include "station_protocol.h"

#include <cstdio>

namespace {

const uint8_t versionCommand = 0xAA;
// The Powerhouse Pro EPROM of December 2004, the last to program its track in ASCII.
const char asciiStationVersion[] = {6, 0, 0};

bool startsBinaryCommand(char byte) {
    return static_cast<uint8_t>(byte) >= 0x80;
}

} // namespace

// A byte of 0x80 or more where a line would start begins a binary command of a fixed length.
std::vector<std::string> AsciiProtocol::feed(const char* data, std::size_t size) {
    std::vector<std::string> commands;
    for (std::size_t i = 0; i < size; ++i) {
        const char byte = data[i];
        if (binary_.empty() && !(lineStart_ && startsBinaryCommand(byte))) {
            lineStart_ = byte == '\r' || byte == '\n';
            for (std::string& line : splitter_.feed(&byte, 1)) {
                commands.push_back(line);
            }
            continue;
        }
        binary_ += byte;
        const uint8_t opcode = static_cast<uint8_t>(binary_[0]);
        if (!MainTrackPackets::takes(opcode) ||
            binary_.size() == MainTrackPackets::commandLength(opcode)) {
            commands.push_back(binary_);
            binary_.clear();
        }
    }
    return commands;
}

StationReply AsciiProtocol::answer(const std::string& command) {
    if (command.empty() || !startsBinaryCommand(command[0])) {
        mainTrack_.otherCommand();
        return station_.answer(command);
    }
    station_.startAnswer();
    StationReply reply;
    if (station_.faulty(StationFault::Silent)) {
        return reply;
    }
    const uint8_t opcode = static_cast<uint8_t>(command[0]);
    if (MainTrackPackets::takes(opcode)) {
        return mainTrack_.answer(command);
    }
    mainTrack_.otherCommand();
    reply.bytes = opcode == versionCommand ? std::string(asciiStationVersion, 3) : "0";
    return reply;
}

std::string AsciiProtocol::logText(const std::string& command) const {
    if (!command.empty() && MainTrackPackets::takes(static_cast<uint8_t>(command[0]))) {
        return mainTrack_.logText(command);
    }
    if (!command.empty() && startsBinaryCommand(command[0])) {
        char text[8];
        std::snprintf(text, sizeof text, "%02X", static_cast<uint8_t>(command[0]));
        return text;
    }
    return command;
}
