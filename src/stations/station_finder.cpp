#include "stations/station_finder.h"

#include <algorithm>
#include <cstdlib>

#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/nce_options.h"
#include "stations/station_manager.h"

namespace {

constexpr uint8_t versionCommand = 0xAA;
const uint32_t baudRates[] = {9600, 19200};
// A station sends its three bytes in one piece; more bytes soon after mean line noise or a
// wrong speed, not a version.
constexpr unsigned trailingWaitMs = 20;

// Version numbers are small; an answer in text ("COM...") or noise at a wrong speed is not one.
bool looksLikeVersion(const uint8_t* bytes) {
    return bytes[0] < 0x20 && bytes[1] < 0x20 && bytes[2] < 0x20;
}

} // namespace

StationProbe probeStation(SerialPort& port, const std::string& name, int32_t baudIndex,
                          FoundStation* found) {
    if (port.open(name.c_str(), baudRates[baudIndex]) != serialOpened) {
        port.close();
        return StationProbe::cannotOpen;
    }
    // Whatever waits already answers nothing asked; a line that keeps sending answers strangely.
    uint8_t stale[64];
    const size_t queued = port.clearErrorsAndCountQueued();
    port.read(stale, queued < sizeof stale ? queued : sizeof stale, 0);
    uint8_t answer[3] = {};
    size_t received = 0;
    if (port.write(&versionCommand, 1) == 1)
        received = port.read(answer, 3, stationProbeWaitMs - 3 * readTimeoutPerByteMs);
    uint8_t more = 0;
    const bool trailing = received == 3 && port.read(&more, 1, trailingWaitMs) > 0;
    port.close();
    if (received == 0)
        return StationProbe::silent;
    if (received < 3 || trailing || !looksLikeVersion(answer))
        return StationProbe::strange;
    const NceVersion version{answer[0], answer[1], answer[2]};
    *found = {name, baudIndex, version, nceStationAbilities(version)};
    return StationProbe::answered;
}

namespace {

void addOnce(std::vector<std::string>& list, const std::string& port) {
    if (list.empty() || list.back() != port)
        list.push_back(port);
}

// "COM1, COM2 and COM3"
std::string listed(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// The name without its trailing number, and the number: "COM10" is ("COM", 10).
std::pair<std::string, long> nameAndNumber(const std::string& name) {
    const size_t digits = name.find_last_not_of("0123456789") + 1;
    return {name.substr(0, digits),
            digits < name.size() ? std::strtol(name.c_str() + digits, nullptr, 10) : -1};
}

} // namespace

std::vector<std::string> serialPortNames() {
    std::vector<std::string> names = platformSerialPortNames();
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return nameAndNumber(a) < nameAndNumber(b);
    });
    return names;
}

StationSearchResult findStations(const std::vector<std::string>& ports,
                                 const SerialPortMaker& makePort, const StationSearchCalls& calls) {
    StationSearchResult result;
    std::unique_ptr<SerialPort> port = makePort();
    for (const std::string& name : ports) {
        for (int32_t baudIndex = 0; baudIndex < 2; ++baudIndex) {
            if (calls.beforeTry && !calls.beforeTry(name, baudRates[baudIndex])) {
                result.complete = false;
                return result;
            }
            FoundStation station;
            const StationProbe outcome = probeStation(*port, name, baudIndex, &station);
            if (outcome == StationProbe::cannotOpen) {
                // Opening does not depend on the speed: the other one would fail alike.
                result.cannotOpen.push_back(name);
                break;
            }
            if (outcome == StationProbe::strange)
                addOnce(result.strangeAnswers, name);
            if (outcome != StationProbe::answered)
                continue;
            result.found.push_back(station);
            if (calls.found && !calls.found(result.found.back())) {
                result.complete = false;
                return result;
            }
            break;
        }
    }
    return result;
}

const char* trackProgrammingWord(NceTrackProgramming track) {
    switch (track) {
    case NceTrackProgramming::ascii:
        return "ascii";
    case NceTrackProgramming::binary:
        return "binary";
    default:
        return "none";
    }
}

StationTag driverTagFor(const FoundStation& station) {
    return station.abilities.track == NceTrackProgramming::ascii ? NceDriver::tag
                                                                 : NceBinaryDriver::tag;
}

std::string foundStationQuestion(const FoundStation& station) {
    const NceStationAbilities& abilities = station.abilities;
    std::string text = std::string(abilities.known ? "Found an NCE " : "Found an ") +
                       abilities.name + ", on " + station.port + " at " +
                       std::to_string(baudRates[station.baudIndex]) + " baud. ";
    if (!abilities.known)
        text += "Its version is unknown, so it gets the binary driver's rules.";
    else if (abilities.track == NceTrackProgramming::none)
        text += "It has no programming track; the binary driver reaches it.";
    else
        text += std::string("It programs through the ") +
                (abilities.track == NceTrackProgramming::ascii ? "ASCII" : "binary") + " driver.";
    return text + " Use it?";
}

std::string noStationFoundText(const std::vector<std::string>& ports,
                               const StationSearchResult& result) {
    if (ports.empty())
        return "This computer has no serial port. Is the station's USB interface plugged in and "
               "its driver installed?";
    std::string text = "No NCE station answered on " + listed(ports) + " at 9600 or 19200 baud.";
    if (!result.cannotOpen.empty())
        text += " " + listed(result.cannotOpen) +
                " could not be opened: another program may be using " +
                (result.cannotOpen.size() == 1 ? "it." : "them.");
    if (!result.strangeAnswers.empty())
        text += " Something answered on " + listed(result.strangeAnswers) +
                ", but not as an NCE station does.";
    return text + "\n\nCheck that the station is switched on, that the cable is plugged in at "
                  "both ends, and for a USB interface that its driver is installed.";
}

std::string detectLine(const FoundStation& station) {
    return station.port + " " + std::to_string(baudRates[station.baudIndex]) + " " +
           trackProgrammingWord(station.abilities.track) + " " +
           nceVersionNumbers(station.version) + " " + station.abilities.name;
}

int32_t useFoundStation(const FoundStation& station) {
    const StationTag tag = driverTagFor(station);
    for (int32_t index = 0; CommandStationDriver* driver = stationAt(index); ++index) {
        if (driver->getTag() != tag)
            continue;
        selectStation(index);
        // Connected once more only where the port or speed changed, or the first try failed.
        applyNceOptions(static_cast<NceStationDriver&>(*driver), station.port.c_str(),
                        station.baudIndex, !isStationOpen());
        storeStationChoice();
        return index;
    }
    return -1;
}
