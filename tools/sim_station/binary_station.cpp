#include "binary_station.h"

#include <cstdio>

namespace {

const uint8_t noOperation = 0x80;
const uint8_t enterProgramming = 0x9E;
const uint8_t leaveProgramming = 0x9F;
const uint8_t pagedWrite = 0xA0;
const uint8_t pagedRead = 0xA1;
const uint8_t registerWrite = 0xA6;
const uint8_t registerRead = 0xA7;
const uint8_t directWrite = 0xA8;
const uint8_t directRead = 0xA9;
const uint8_t version = 0xAA;

const char* const done = "!";
const char* const notSupported = "0";
const char* const dataOutOfRange = "3";
const char* const shortCircuit = "3";
const char* const nothingRead = "\xFF"
                                "3";
// An accessory broadcast as stations before 2006 send unasked: 'a', a cab, a state.
const char* const strayBroadcast = "\x61\x35\x41";

uint8_t byteAt(const std::string& command, std::size_t index) {
    return static_cast<uint8_t>(command[index]);
}

int cvNumber(const std::string& command) {
    return byteAt(command, 1) << 8 | byteAt(command, 2);
}

bool isCvNumber(int cv) {
    return cv >= 1 && cv <= SimulatedStation::cvCount;
}

} // namespace

const BinarySystem binarySystems[7] = {
    {"powerhouse-pro-6.2.1", {6, 2, 1}, SystemTrack::binary, true},
    {"power-cab-usb-7.3.3", {7, 3, 3}, SystemTrack::binary, false},
    {"powerhouse-pro-4.0.2", {4, 0, 2}, SystemTrack::ascii, true},
    {"powerhouse-pro-6.0.0", {6, 0, 0}, SystemTrack::ascii, true},
    {"powerhouse-pro-6.2.3", {6, 2, 3}, SystemTrack::binary, false},
    {"sb5-usb-7.3.2", {7, 3, 2}, SystemTrack::none, false},
    {"ph-pro-usb-7.3.6", {7, 3, 6}, SystemTrack::none, false},
};

const BinarySystem asciiSimulatorSystem = {
    "powerhouse-pro-simulator", {6, 0, 0}, SystemTrack::ascii, false};

const BinarySystem* findBinarySystem(const std::string& name) {
    for (const BinarySystem& system : binarySystems) {
        if (name == system.name) {
            return &system;
        }
    }
    return nullptr;
}

std::string binarySystemNames() {
    std::string names;
    for (const BinarySystem& system : binarySystems) {
        names += (names.empty() ? "" : ", ") + std::string(system.name);
    }
    return names;
}

std::size_t binaryCommandLength(uint8_t opcode) {
    switch (opcode) {
    case directWrite:
    case pagedWrite:
        return 4;
    case directRead:
    case pagedRead:
    case registerWrite:
        return 3;
    case registerRead:
        return 2;
    default:
        return 1;
    }
}

std::vector<std::string> BinaryStation::feed(const char* data, std::size_t size) {
    std::vector<std::string> commands;
    for (std::size_t i = 0; i < size; ++i) {
        partial_ += data[i];
        if (partial_.size() == binaryCommandLength(byteAt(partial_, 0))) {
            commands.push_back(partial_);
            partial_.clear();
        }
    }
    return commands;
}

bool BinaryStation::isProgrammingCommand(const std::string& command) const {
    return !command.empty() &&
           (byteAt(command, 0) == directRead || byteAt(command, 0) == directWrite);
}

bool BinaryStation::isReadCommand(const std::string& command) const {
    return !command.empty() && byteAt(command, 0) == directRead;
}

std::string BinaryStation::logText(const std::string& command) const {
    std::string text;
    for (std::size_t i = 0; i < command.size(); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%s%02X", i ? " " : "", byteAt(command, i));
        text += pair;
    }
    return text;
}

StationReply BinaryStation::answer(const std::string& command) {
    StationReply reply;
    if (command.empty()) {
        return reply;
    }
    station_.startAnswer();
    if (station_.faulty(StationFault::Silent)) {
        return reply;
    }
    const uint8_t opcode = byteAt(command, 0);
    const bool cvCommand = opcode == directRead || opcode == directWrite;
    const bool trackCommand = cvCommand || opcode == enterProgramming || opcode == leaveProgramming;
    if (trackCommand && system_.track != SystemTrack::binary) {
        // Programs through ASCII lines, or has no programming track at all.
        reply.bytes = notSupported;
    } else if (cvCommand && (!programming_ || station_.faulty(StationFault::NotProgramming))) {
        reply.bytes = notSupported;
    } else if (opcode == directRead) {
        reply.bytes = readAnswer(cvNumber(command), station_.takeFlakyRead());
    } else if (opcode == directWrite) {
        reply = writeAnswer(cvNumber(command), byteAt(command, 3));
    } else if (opcode == version) {
        reply.bytes.assign(reinterpret_cast<const char*>(system_.version), 3);
    } else if (opcode == enterProgramming && station_.faulty(StationFault::ShortCircuit)) {
        reply.bytes = shortCircuit;
    } else if (opcode == enterProgramming || opcode == leaveProgramming) {
        programming_ = opcode == enterProgramming;
        reply.bytes = done;
    } else if (opcode == noOperation) {
        reply.bytes = done;
    } else {
        // Paged and register mode, and anything unknown: this station programs in direct mode.
        reply.bytes = notSupported;
    }
    // A one-byte answer cut short would be silence, which has a fault of its own.
    if (station_.faulty(StationFault::Truncated) && reply.bytes.size() > 1) {
        reply.bytes.pop_back();
    }
    if (station_.faulty(StationFault::StrayBytes)) {
        reply.bytes = strayBroadcast + reply.bytes;
    }
    return reply;
}

std::string BinaryStation::readAnswer(int cv, bool flaky) const {
    if (!isCvNumber(cv)) {
        return dataOutOfRange;
    }
    if (station_.isDeaf(cv) || flaky) {
        return nothingRead;
    }
    return std::string(1, static_cast<char>(station_.cv(station_.reachedCv(cv)))) + done;
}

StationReply BinaryStation::writeAnswer(int cv, uint8_t value) {
    StationReply reply;
    // What a real station answers to a write with no decoder is not known; a refusal is the
    // answer that tells the program the value did not land.
    if (!isCvNumber(cv) || station_.isDeaf(cv)) {
        reply.bytes = dataOutOfRange;
        return reply;
    }
    const int target = station_.reachedCv(cv);
    // The decoder's version and manufacturer are burnt in: it accepts the write and keeps them.
    if (target != 7 && target != 8) {
        station_.setCv(target, value);
        reply.wroteCv = true;
    }
    reply.bytes = done;
    return reply;
}
