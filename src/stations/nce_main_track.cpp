// Writes on the main, shared by both NCE drivers: the station's version answer says whether it
// takes the USB interface's AE/AF or packets built here, or cannot program on the main at all.
#include <cstdio>
#include <string>

#include "foundation/pause.h"
#include "stations/dcc_packet.h"
#include "stations/main_track_target.h"
#include "stations/nce_station_driver.h"
#include "stations/station_manager.h"

namespace {

constexpr uint8_t versionCommand = 0xAA;
constexpr uint8_t locomotiveWriteCommand = 0xAE;
constexpr uint8_t accessoryWriteCommand = 0xAF;
// 9n: send the n bytes that follow the repeat count as one DCC packet.
constexpr uint8_t packetCommandBase = 0x90;
// How often the station puts the packet on the track.
constexpr uint8_t packetRepeats = 5;
// A decoder acts on two identical CV-access packets in a row.
constexpr int packetCommandsPerWrite = 2;
// The station's packet queue overruns without a pause between CVs.
constexpr unsigned packetPacingMs = 200;
constexpr unsigned answerGapMs = 200;
constexpr uint16_t longAddressFlag = 0xC000;

} // namespace

int NceStationDriver::stationVersion(NceVersion* version) {
    if (!versionKnown_) {
        const uint8_t command = versionCommand;
        uint8_t answer[3] = {};
        link_.drainInput();
        if (link_.sendBytes(&command, 1) != 1) {
            setStationErrorText("The command could not be sent to the NCE station");
            return 1;
        }
        if (link_.receiveAnswer(answer, sizeof answer, answerWaitMs(), answerGapMs) !=
            sizeof answer) {
            setStationErrorText("The NCE station did not answer the version command AA, so it is "
                                "not known how it programs on the main");
            return 1;
        }
        version_ = {answer[0], answer[1], answer[2]};
        versionKnown_ = true;
    }
    *version = version_;
    return 0;
}

int NceStationDriver::writeCvOnMain(const MainTrackTarget& target, int32_t cv, int value) {
    setStationErrorText(nullptr);
    NceVersion version{};
    if (stationVersion(&version) != 0)
        return 1;
    const NceStationAbilities abilities = nceStationAbilities(version);
    switch (abilities.onMain) {
    case NceMainProgramming::usbCommands:
    case NceMainProgramming::packets:
        // A Power Cab's single track output stops the layout while it programs; on the ASCII
        // command set this is its X, the only one it sends for the main.
        if (mayBeProgramming())
            leaveProgramming();
        return abilities.onMain == NceMainProgramming::packets
                   ? writeWithPackets(target, cv, value)
                   : writeWithUsbCommand(target, cv, value);
    case NceMainProgramming::none:
        setStationErrorText("A Powerhouse Pro cannot program decoders through the NCE USB "
                            "interface: connect the computer to the station's serial port to "
                            "program on the main");
        return 1;
    case NceMainProgramming::unknown:
        break;
    }
    setStationErrorText(
        ("Programming on the main is not known for the " + abilities.name + ": nothing was written")
            .c_str());
    return 1;
}

int NceStationDriver::writeWithUsbCommand(const MainTrackTarget& target, int32_t cv, int value) {
    const bool accessory = target.on == ProgramOn::accessory;
    const uint16_t address = static_cast<uint16_t>(
        target.address + (!accessory && target.longAddress ? longAddressFlag : 0));
    const uint8_t command[] = {accessory ? accessoryWriteCommand : locomotiveWriteCommand,
                               static_cast<uint8_t>(address >> 8),
                               static_cast<uint8_t>(address),
                               static_cast<uint8_t>(cv >> 8),
                               static_cast<uint8_t>(cv),
                               static_cast<uint8_t>(value)};
    return mainCommand(command, sizeof command, target, cv);
}

int NceStationDriver::writeWithPackets(const MainTrackTarget& target, int32_t cv, int value) {
    const uint8_t byte = static_cast<uint8_t>(value);
    const DccPacket packet =
        target.on == ProgramOn::accessory
            ? accessoryCvWritePacket(target.address, cv, byte)
            : locomotiveCvWritePacket(target.address, target.longAddress, cv, byte);
    uint8_t command[2 + sizeof packet.bytes] = {
        static_cast<uint8_t>(packetCommandBase + packet.length), packetRepeats};
    for (size_t i = 0; i < packet.length; ++i)
        command[2 + i] = packet.bytes[i];
    for (int i = 0; i < packetCommandsPerWrite; ++i)
        if (mainCommand(command, 2 + packet.length, target, cv) != 0)
            return 1;
    pauseFor(packetPacingMs);
    return 0;
}

int NceStationDriver::mainCommand(const uint8_t* command, size_t length,
                                  const MainTrackTarget& target, int32_t cv) {
    link_.drainInput();
    if (link_.sendBytes(command, length) != length) {
        setStationErrorText("The command could not be sent to the NCE station");
        return 1;
    }
    uint8_t answer = 0;
    if (link_.receiveAnswer(&answer, 1, answerWaitMs(), answerGapMs) != 1) {
        setStationErrorText("No answer from the NCE station");
        return 1;
    }
    if (answer == '!' && link_.queuedBytes() == 0)
        return 0;
    const std::string name = mainTrackTargetName(target);
    std::string text;
    char code[8];
    std::snprintf(code, sizeof code, "%02X", answer);
    const bool packet = (command[0] & 0xF0) == packetCommandBase;
    if (answer == '0' && packet)
        text = "The NCE station refused the packet for " + name +
               " (answer 0: command not "
               "supported)";
    else if (answer == '0')
        text = "The NCE station does not take the command for the main (answer 0): an older USB "
               "interface firmware cannot program on the main";
    else if (answer == '1')
        text = "The NCE station refused the address of " + name +
               " (answer 1: address out of "
               "range)";
    else if (answer == '3')
        text = "The NCE station refused CV " + std::to_string(cv) + " for " + name +
               " (answer 3: CV or data out of range)";
    else if (answer == '4')
        text = "The NCE station refused the packet for " + name +
               " (answer 4: byte count out "
               "of range)";
    else
        text = "The NCE station's answer to the write on the main makes no sense: " +
               std::string(code);
    setStationErrorText(text.c_str());
    return 1;
}
