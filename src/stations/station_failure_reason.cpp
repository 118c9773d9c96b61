#include "stations/station_failure_reason.h"

#include "stations/command_station_driver.h"
#include "stations/station_manager.h"

namespace {

// A real station's words for a decoder that did not acknowledge, which explain nothing by
// themselves.
const char noFeedbackWords[] = "NO FEEDBACK DETECTED";

} // namespace

std::string stationFailureReason(int result, bool write) {
    const char* text = stationErrorText();
    std::string reason = text && *text ? text : "unknown station error";
    if (reason == noFeedbackWords)
        reason += ": no decoder answered. Is the locomotive on the programming track?";
    // A decoder locked through CV 15/16 takes no writes, which looks like no decoder at all.
    if (write && result != stationNoAnswer)
        reason += "\nA locked decoder (CV 15 differs from CV 16) also takes no writes.";
    return reason;
}
