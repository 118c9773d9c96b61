#include "model/manufacturer_table.h"

const Manufacturer ManufacturerTable[ManufacturerCount] = {
    {"Unknown Manufacturer", 0}, // fallback, never compared
    {"Atlas Model Railroad Products", 127},
    {"NCE Corporation", 11},
    {"Lenz Elektronik GmbH", 99},
    {"Throttle-Up (SoundTraxx)", 141},
    {"Wangrow Electronics", 12},
    {"Zimo Elecktronik", 145},
    {"Digitrax", 129},
    {"Public Domain", 13},
    {"CVP Products", 135},
    {"Arnold - Rivarossi", 173},
};

// Key lookup: rows ManufacturerCount-1 down to 1, first row whose key byte equals the low
// byte of id; else row 0.
const char* manufacturerName(int id) {
    const uint32_t key = static_cast<uint32_t>(id) & 0xFFu;
    for (int row = ManufacturerCount - 1; row >= 1; --row) {
        if ((ManufacturerTable[row].id & 0xFFu) == key)
            return ManufacturerTable[row].name;
    }
    return ManufacturerTable[0].name;
}
