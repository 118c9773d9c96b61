// Looking for an NCE station on the computer's serial ports: each port is asked at 9600, then at
// 19200 baud for the station's version (AA), which every NCE station since 1999 answers with three
// bytes. The version tells which station it is and which driver programs it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "stations/command_station_driver.h"
#include "stations/nce_station_table.h"
#include "stations/serial_port.h"

// How long one try waits for the answer.
constexpr unsigned stationProbeWaitMs = 500;

struct FoundStation {
    std::string port;
    int32_t baudIndex; // 0: 9600, 1: 19200
    NceVersion version;
    NceStationAbilities abilities;
};

enum class StationProbe { answered, silent, strange, cannotOpen };

// One try: the port opened at the speed, asked AA and closed again. found is set when a station
// answered with its version.
StationProbe probeStation(SerialPort& port, const std::string& name, int32_t baudIndex,
                          FoundStation* found);

struct StationSearchResult {
    std::vector<FoundStation> found;
    // Ports that could not be opened: in use by another program, or gone.
    std::vector<std::string> cannotOpen;
    // Ports where something answered, but not as an NCE station does.
    std::vector<std::string> strangeAnswers;
    // Every port and speed was tried (no callback stopped the search).
    bool complete = true;
};

struct StationSearchCalls {
    // Before each try; false stops the search.
    std::function<bool(const std::string& port, uint32_t baudRate)> beforeTry;
    // With each station found; false stops the search.
    std::function<bool(const FoundStation& station)> found;
};

// The computer's serial ports in their natural order (COM2 before COM10).
std::vector<std::string> serialPortNames();

using SerialPortMaker = std::function<std::unique_ptr<SerialPort>()>;

// Tries the ports in order, each at 9600 and then 19200 baud; a port where a station answered
// is not tried at the other speed.
StationSearchResult findStations(const std::vector<std::string>& ports,
                                 const SerialPortMaker& makePort, const StationSearchCalls& calls);

// "ascii", "binary" or "none": the command set that programs the station's track.
const char* trackProgrammingWord(NceTrackProgramming track);
// The driver that serves the station: the ASCII one only for the stations that program through
// it, the binary one for every other (an unknown version takes the binary rules).
StationTag driverTagFor(const FoundStation& station);

// The question that offers the station found to the user.
std::string foundStationQuestion(const FoundStation& station);
// What the user is told when no station answered: the ports and speeds tried and what to check.
std::string noStationFoundText(const std::vector<std::string>& ports,
                               const StationSearchResult& result);
// One line of velquist-cli detect: PORT BAUD PROTOCOL VERSION NAME.
std::string detectLine(const FoundStation& station);

// Makes the station found the active one as if chosen by hand on Connection Setup: its driver
// selected, the port and speed set and connected, and the choice stored. Returns the driver's
// index in the station list, or -1 when the program has no such driver.
int32_t useFoundStation(const FoundStation& station);
