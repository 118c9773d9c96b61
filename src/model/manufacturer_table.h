// The NMRA manufacturer IDs (CV 8) and the names of their makers.
#pragma once

#include <cstdint>

struct Manufacturer {
    const char* name;
    uint32_t id; // one byte, stored in a 32-bit slot
};

constexpr int ManufacturerCount = 165;

// Row 0 is the fallback row ("Unknown Manufacturer"); its key is never compared. Rows 1 on are
// in ascending ID order.
extern const Manufacturer ManufacturerTable[ManufacturerCount];

// Name of the maker whose ID equals the low byte of id, else "Unknown Manufacturer";
// never null, never freed.
const char* manufacturerName(int id);
