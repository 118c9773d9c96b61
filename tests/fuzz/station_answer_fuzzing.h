// What the fuzz targets of the two NCE drivers share: a driver behind the station manager on a
// fake port that hands out the fuzz input's answers one per command, and the checks every command
// must pass whatever the answers were. A failed command must leave an error text and no
// remembered value; a succeeded one must be remembered exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "stations/serial_port.h"

class CommandStationDriver;

enum class AnswerFormat {
    // Answers separated by 0xFF bytes: no ASCII answer holds one.
    separated,
    // Each answer a length byte and that many bytes: a binary answer may hold any byte.
    lengthPrefixed,
};

struct FuzzedDriver {
    CommandStationDriver* (*make)(std::unique_ptr<SerialPort> port);
    bool binary; // the port cuts binary commands instead of lines
    AnswerFormat format;
};

// The input's first byte chooses the mix of reads, writes and version queries; the rest are the
// answers in order. Aborts when a check fails.
int fuzzStationAnswers(const uint8_t* data, size_t size, const FuzzedDriver& fuzzed);
