// Where CV writes go: the programming track, or one decoder on the main (the layout's track) by
// its locomotive or accessory address. The choice lasts until the program ends and is never
// stored: every start programs on the programming track.
#pragma once

#include <cstdint>
#include <string>

enum class ProgramOn { track, locomotive, accessory };

struct MainTrackTarget {
    ProgramOn on = ProgramOn::track;
    // Locomotive 1 to 10239, accessory 1 to 2044; 0 while the address given is not one, and
    // nothing may be written.
    int32_t address = 0;
    bool longAddress = false; // locomotives only; a long address may be below 128
};

constexpr int32_t highestShortAddress = 127;
constexpr int32_t highestLongAddress = 10239;
constexpr int32_t highestAccessoryNumber = 2044;

extern const char nothingReadBackOnMain[];

const MainTrackTarget& mainTrackTarget();
bool programmingOnMain();
// A change of decoder forgets what the station learnt of the last one.
void setMainTrackTarget(const MainTrackTarget& target);

// A locomotive address: 1 to 127 short unless long is asked for (a box checked, or a leading
// zero as NCE cabs show long addresses below 128: "0003"), 128 to 10239 long. false with the
// reason naming the range for anything else.
bool parseLocomotiveAddress(const std::string& text, bool longAsked, MainTrackTarget& target,
                            std::string& error);
// An accessory number 1 to 2044.
bool parseAccessoryNumber(const std::string& text, MainTrackTarget& target, std::string& error);

// "locomotive 1234", "locomotive 0003 (long)", "accessory 513", "no valid address"; empty on
// the programming track.
std::string mainTrackTargetName(const MainTrackTarget& target);
// "programming track", or "the main, locomotive 1234": where the next write goes.
std::string writeDestinationText();
// "Velquist", or "Velquist - programming on the main: locomotive 1234".
std::string mainWindowTitle();
// "Writing CV 3 to locomotive 1234 on the main".
std::string mainTrackWriteText(int32_t cv);
