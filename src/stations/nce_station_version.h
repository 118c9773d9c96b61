// What the three bytes of an NCE station's binary version answer mean: which system answered,
// and whether its programming track writes every CV safely.
#pragma once

#include <cstdint>
#include <string>

struct NceVersion {
    uint8_t major;
    uint8_t minor;
    uint8_t patch;
};

// "7.3.3 (NCE USB interface, Power Cab 1.65)"; just the numbers where no source names them.
std::string nceVersionText(NceVersion version);

// The highest CV the programming track of the system behind this version writes without harm,
// or noCvLimit. Only the Power Cab through the USB interface and the Powerhouse Pro EPROM 6.2.3
// and later are known to write CVs above 255 safely; every other system is held to 255.
int32_t nceHighestSafeCv(NceVersion version);
