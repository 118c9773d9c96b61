#include "stations/nce_station_table.h"

#include "stations/command_station_driver.h"

namespace {

using Track = NceTrackProgramming;
using Main = NceMainProgramming;

// The USB interface answers with its own version, which names the system it was built for.
struct UsbInterfaceRow {
    NceVersion version;
    Track track;
    Main onMain;
    bool powerCab;
    const char* name;
};

const UsbInterfaceRow usbInterfaceRows[] = {
    {{6, 3, 0}, Track::binary, Main::usbCommands, true, "Power Cab 1.28"},
    {{7, 3, 0}, Track::binary, Main::usbCommands, true, "Power Cab 1.28c"},
    {{7, 3, 4}, Track::binary, Main::usbCommands, true, "Power Cab 1.28c"},
    {{7, 3, 3}, Track::binary, Main::usbCommands, true, "Power Cab 1.65"},
    {{6, 3, 1}, Track::none, Main::usbCommands, false, "SB3"},
    {{7, 3, 5}, Track::none, Main::usbCommands, false, "SB3"},
    {{7, 3, 1}, Track::none, Main::usbCommands, false, "SB5 1.65"},
    {{7, 3, 2}, Track::none, Main::usbCommands, false, "SB5 1.65"},
    // NCE's USB interface cannot program decoders of a Powerhouse Pro at all.
    {{6, 3, 2}, Track::none, Main::none, false, "Powerhouse Pro"},
    {{7, 3, 6}, Track::none, Main::none, false, "Powerhouse Pro"},
    {{7, 3, 7}, Track::binary, Main::usbCommands, false, "any NCE station"},
};

bool same(NceVersion a, NceVersion b) {
    return a.major == b.major && a.minor == b.minor && a.patch == b.patch;
}

} // namespace

std::string nceVersionNumbers(NceVersion version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.patch);
}

NceStationAbilities nceStationAbilities(NceVersion version) {
    for (const UsbInterfaceRow& row : usbInterfaceRows)
        if (same(row.version, version))
            return {true,
                    row.track,
                    row.onMain,
                    row.track == Track::none ? 255 : noCvLimit,
                    true,
                    row.powerCab,
                    std::string(row.name) + " through the USB interface"};

    // A Powerhouse Pro on its serial port answers with its EPROM's version. EPROMs before 2006
    // program only through the ASCII command set; every one sends DCC packets for the main.
    const std::string eprom = "Powerhouse Pro, EPROM " + nceVersionNumbers(version);
    if (version.major == 4 || (version.major == 6 && version.minor <= 1))
        return {true, Track::ascii, Main::packets, 255, false, false, eprom};
    if (version.major == 6 && version.minor == 2)
        // EPROM 6.2.3 of 2021 lifted the programming track's limit; later 6.2 EPROMs keep it.
        return {true,  Track::binary, Main::packets, version.patch >= 3 ? noCvLimit : 255,
                false, false,         eprom};

    // Unknown firmware (8.0.0 was a USB beta): the binary rules until the station refuses, and
    // the limit, to be safe.
    return {false,
            Track::binary,
            Main::unknown,
            255,
            false,
            false,
            "NCE station of unknown version " + nceVersionNumbers(version)};
}

std::string nceVersionText(NceVersion version) {
    const NceStationAbilities abilities = nceStationAbilities(version);
    return nceVersionNumbers(version) + " (" +
           (abilities.known ? abilities.name : "unknown NCE station") + ")";
}
