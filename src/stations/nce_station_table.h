// What each NCE station can do, told apart by the three bytes it answers to the binary version
// command AA: which command set programs its track, whether it has a programming track at all,
// how it programs on the main, its programming track's CV limit and a name for people. Every
// caller that needs to know what a station can do asks this one table.
#pragma once

#include <cstdint>
#include <string>

struct NceVersion {
    uint8_t major;
    uint8_t minor;
    uint8_t patch;
};

// The command set that programs a station's programming track.
enum class NceTrackProgramming { ascii, binary, none };

// How a station writes a decoder's CVs on the main: DCC packets the program builds and the
// station repeats (93 to 96, serial Powerhouse Pro), the USB interface's AE/AF, or not at all.
enum class NceMainProgramming { packets, usbCommands, none, unknown };

struct NceStationAbilities {
    bool known; // the version is in NCE's published list
    NceTrackProgramming track;
    NceMainProgramming onMain;
    // The highest CV the programming track writes and reads without reaching another CV, or
    // noCvLimit.
    int32_t highestSafeCv;
    bool usbInterface;
    // A Power Cab has one track output: in programming mode it programs every locomotive on
    // the layout, and the layout stands still.
    bool singleTrackOutput;
    // "Powerhouse Pro, EPROM 6.2.1", "Power Cab 1.65 through the USB interface".
    std::string name;
};

NceStationAbilities nceStationAbilities(NceVersion version);

// "6.2.1"
std::string nceVersionNumbers(NceVersion version);

// "7.3.3 (Power Cab 1.65 through the USB interface)", as the Version and options pages show it.
std::string nceVersionText(NceVersion version);
