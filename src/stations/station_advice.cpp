#include "stations/station_advice.h"

#include "foundation/message_box.h"

const char singleTrackNote[] =
    "The Power Cab programs every locomotive on its track. Only the locomotive to program should "
    "be on it.";
const char singleTrackCaption[] = "Power Cab";

namespace {

StationFrontEnd frontEnd = StationFrontEnd::program;

bool askSingleTrack(const std::string& note) {
    return askYesNo(nullptr, (note + " Go on?").c_str(), singleTrackCaption, DefaultAnswer::yes);
}

SingleTrackCheck singleTrackCheck = askSingleTrack;

} // namespace

void setStationFrontEnd(StationFrontEnd chosen) {
    frontEnd = chosen;
}

StationFrontEnd stationFrontEnd() {
    return frontEnd;
}

std::string findStationAdvice() {
    return frontEnd == StationFrontEnd::program ? "press Find Station on Connection Setup"
                                                : "run velquist-cli detect";
}

std::string binaryTrackRefusal(NceVersion version) {
    const NceStationAbilities station = nceStationAbilities(version);
    if (station.track == NceTrackProgramming::ascii)
        return "This Powerhouse Pro (EPROM " + nceVersionNumbers(version) +
               ") programs decoders through the ASCII driver: " +
               (frontEnd == StationFrontEnd::program ? "choose it on Connection Setup"
                                                     : "give --protocol ascii");
    if (station.track == NceTrackProgramming::binary)
        return "";
    const std::string lack = "The " + station.name + " has no programming track";
    if (station.onMain == NceMainProgramming::none)
        return lack + ", and NCE's USB interface cannot program this station's decoders: connect "
                      "the computer to the station's own serial port instead.";
    return lack + ": it can program decoders only on the main.";
}

SingleTrackCheck setSingleTrackCheck(SingleTrackCheck check) {
    SingleTrackCheck previous = singleTrackCheck;
    singleTrackCheck = check ? check : askSingleTrack;
    return previous;
}

bool confirmSingleTrackProgramming() {
    return singleTrackCheck(singleTrackNote);
}
