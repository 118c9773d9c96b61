// The simulated station's binary command set, as the Powerhouse Pro of 2006 and later and the
// NCE USB interface speak it: commands of a length fixed by their first byte, answered with a
// known number of bytes. The decoder and the faults are the SimulatedStation's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "simulated_station.h"
#include "station_protocol.h"

// The command set a system's programming track takes, if it has one.
enum class SystemTrack { ascii, binary, none };

// The systems the simulated station can be, in either command set, by the version its AA answer
// gives.
struct BinarySystem {
    const char* name; // for the command line
    uint8_t version[3];
    SystemTrack track;
    // A Powerhouse Pro before EPROM 6.2.3 reaches CV ((n - 1) mod 256) + 1 for a CV n above 255
    // on the programming track (CV 285 is CV 29); a Power Cab reaches every CV where it belongs.
    bool limited;
};

extern const BinarySystem binarySystems[7];
// What the station is in ASCII mode unless told: a Powerhouse Pro that answers AA like the 2004
// EPROM but keeps every CV where it belongs.
extern const BinarySystem asciiSimulatorSystem;
// Maps a system's name ("powerhouse-pro-6.2.1", "power-cab-usb-7.3.3") to it; none when unknown.
const BinarySystem* findBinarySystem(const std::string& name);
// All the names, comma separated, for help texts.
std::string binarySystemNames();

// How many bytes the command starting with this byte has, itself included.
std::size_t binaryCommandLength(uint8_t opcode);

class BinaryStation : public StationProtocol {
  public:
    BinaryStation(SimulatedStation& station, const BinarySystem& system)
        : station_(station), system_(system) {
        station_.setLimited(system.limited);
    }

    std::vector<std::string> feed(const char* data, std::size_t size) override;
    StationReply answer(const std::string& command) override;
    bool isProgrammingCommand(const std::string& command) const override;
    bool isReadCommand(const std::string& command) const override;
    // "A9 00 1D"
    std::string logText(const std::string& command) const override;

    bool inProgrammingMode() const { return programming_; }

  private:
    std::string readAnswer(int cv, bool flaky) const;
    StationReply writeAnswer(int cv, uint8_t value);

    SimulatedStation& station_;
    const BinarySystem& system_;
    std::string partial_;
    bool programming_ = false;
};
