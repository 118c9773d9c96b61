#include "stations/main_track_target.h"

#include <cstdio>
#include <cstdlib>

#include "stations/station_manager.h"

const char nothingReadBackOnMain[] = "Nothing can be read back on the main";

namespace {

MainTrackTarget chosen;

bool sameTarget(const MainTrackTarget& a, const MainTrackTarget& b) {
    return a.on == b.on && a.address == b.address && a.longAddress == b.longAddress;
}

// A whole decimal number of at most five digits; -1 for anything else.
long wholeNumber(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::strtol(text.c_str(), nullptr, 10);
}

} // namespace

const MainTrackTarget& mainTrackTarget() {
    return chosen;
}

bool programmingOnMain() {
    return chosen.on != ProgramOn::track;
}

void setMainTrackTarget(const MainTrackTarget& target) {
    if (sameTarget(target, chosen))
        return;
    chosen = target;
    forgetStationCvValues();
}

bool parseLocomotiveAddress(const std::string& text, bool longAsked, MainTrackTarget& target,
                            std::string& error) {
    const long number = wholeNumber(text);
    if (number < 1 || number > highestLongAddress) {
        error = "A locomotive address is 1 to 127 (short or long) or 128 to 10239 (long): '" +
                text + "'";
        return false;
    }
    const bool leadingZero = text.size() > 1 && text[0] == '0';
    target.on = ProgramOn::locomotive;
    target.address = static_cast<int32_t>(number);
    target.longAddress = longAsked || leadingZero || number > highestShortAddress;
    return true;
}

bool parseAccessoryNumber(const std::string& text, MainTrackTarget& target, std::string& error) {
    const long number = wholeNumber(text);
    if (number < 1 || number > highestAccessoryNumber) {
        error = "An accessory address is 1 to 2044: '" + text + "'";
        return false;
    }
    target.on = ProgramOn::accessory;
    target.address = static_cast<int32_t>(number);
    target.longAddress = false;
    return true;
}

std::string mainTrackTargetName(const MainTrackTarget& target) {
    char text[40] = "";
    if (target.on != ProgramOn::track && target.address == 0)
        return "no valid address";
    if (target.on == ProgramOn::accessory)
        std::snprintf(text, sizeof text, "accessory %ld", static_cast<long>(target.address));
    else if (target.on == ProgramOn::locomotive && target.longAddress &&
             target.address <= highestShortAddress)
        std::snprintf(text, sizeof text, "locomotive %04ld (long)",
                      static_cast<long>(target.address));
    else if (target.on == ProgramOn::locomotive)
        std::snprintf(text, sizeof text, "locomotive %ld", static_cast<long>(target.address));
    return text;
}

std::string writeDestinationText() {
    return programmingOnMain() ? "the main, " + mainTrackTargetName(chosen) : "programming track";
}

std::string mainWindowTitle() {
    return programmingOnMain()
               ? "Velquist - programming on the main: " + mainTrackTargetName(chosen)
               : "Velquist";
}

std::string mainTrackWriteText(int32_t cv) {
    return "Writing CV " + std::to_string(cv) + " to " + mainTrackTargetName(chosen) +
           " on the main";
}
