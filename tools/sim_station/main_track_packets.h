// The simulated station's side of programming on the main, in both command sets: the USB
// interface's AE (locomotive) and AF (accessory), and the serial station's packet commands 93
// to 96, whose DCC packet is checked here as a decoder on the track would check it. A write
// lands in the simulated decoder only when it is addressed to it, and a packet only when it came
// twice in a row, as a decoder acts only on two identical CV-access packets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "simulated_station.h"

// One CV write for a decoder on the main, as decoded from a command.
struct MainTrackWrite {
    bool accessory = false;
    int address = 0; // locomotive address, or the accessory decoder's address (CV 513/521)
    bool longAddress = false;
    int cv = 0;
    int value = 0;
};

class MainTrackPackets {
  public:
    explicit MainTrackPackets(SimulatedStation& station) : station_(station) {}

    // AE, AF and 93 to 96.
    static bool takes(uint8_t opcode);
    static std::size_t commandLength(uint8_t opcode);
    // The answer to a whole command of this set: "!" or a refusal.
    StationReply answer(const std::string& command);
    // Any other command breaks a run of identical packets.
    void otherCommand() { lastPacketCommand_.clear(); }
    // "96 05 C4 D2 EC 02 0A F2: locomotive 1234 long, write CV 3 = 10".
    std::string logText(const std::string& command) const;

  private:
    bool addressedToDecoder(const MainTrackWrite& write) const;
    StationReply apply(const MainTrackWrite& write);

    SimulatedStation& station_;
    std::string lastPacketCommand_;
};

// The decoder address of an accessory number as the USB interface's AF takes it (1 to 2044):
// numbers 4n-3 to 4n belong to decoder address n.
int accessoryDecoderOfNumber(int number);
