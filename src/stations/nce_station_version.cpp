#include "stations/nce_station_version.h"

#include "stations/command_station_driver.h"

namespace {

struct KnownVersion {
    NceVersion version;
    const char* meaning;
    bool powerCab; // a Power Cab behind the USB interface: no CV limit on its programming track
};

// The USB interface answers with its own version, which names the system it was built for; a
// Powerhouse Pro on its serial port answers with its EPROM's.
const KnownVersion knownVersions[] = {
    {{6, 2, 0}, "Powerhouse Pro EPROM, March 2007", false},
    {{6, 2, 1}, "Powerhouse Pro EPROM, May 2007", false},
    {{6, 2, 2}, "Powerhouse Pro EPROM, 2008", false},
    {{6, 2, 3}, "Powerhouse Pro EPROM, 2021", false},
    {{6, 0, 0}, "Powerhouse Pro EPROM, December 2004: programs through the ASCII driver", false},
    {{6, 3, 0}, "NCE USB interface, Power Cab 1.28", true},
    {{6, 3, 1}, "NCE USB interface, SB3", false},
    {{6, 3, 2}, "NCE USB interface, Powerhouse Pro", false},
    {{7, 3, 0}, "NCE USB interface, Power Cab 1.28c", true},
    {{7, 3, 1}, "NCE USB interface, SB5 1.65", false},
    {{7, 3, 2}, "NCE USB interface, SB5 1.65", false},
    {{7, 3, 3}, "NCE USB interface, Power Cab 1.65", true},
    {{7, 3, 4}, "NCE USB interface, Power Cab 1.28c", true},
    {{7, 3, 5}, "NCE USB interface, SB3", false},
    {{7, 3, 6}, "NCE USB interface, Powerhouse Pro", false},
    {{7, 3, 7}, "NCE USB interface, all systems", false},
    {{8, 0, 0}, "NCE beta firmware, 2023", false},
};

bool same(NceVersion a, NceVersion b) {
    return a.major == b.major && a.minor == b.minor && a.patch == b.patch;
}

const KnownVersion* find(NceVersion version) {
    for (const KnownVersion& known : knownVersions)
        if (same(known.version, version))
            return &known;
    return nullptr;
}

} // namespace

std::string nceVersionText(NceVersion version) {
    std::string text = std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                       std::to_string(version.patch);
    if (const KnownVersion* known = find(version))
        text += std::string(" (") + known->meaning + ")";
    return text;
}

int32_t nceHighestSafeCv(NceVersion version) {
    const KnownVersion* known = find(version);
    if (known && known->powerCab)
        return noCvLimit;
    // EPROM 6.2.3 lifted the Powerhouse Pro's limit; later 6.2 EPROMs keep the fix.
    if (version.major == 6 && version.minor == 2 && version.patch >= 3)
        return noCvLimit;
    return 255;
}
