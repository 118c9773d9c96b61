// The NMRA packets that write one CV of a decoder on the main ("configuration variable access,
// long form", write byte), as the program builds them for stations that repeat packets on the
// track: the decoder's address, the instruction, the CV, the value and the XOR of them all.
#pragma once

#include <cstddef>
#include <cstdint>

struct DccPacket {
    uint8_t bytes[6];
    size_t length; // the XOR byte included
};

// address 1 to 127 when short, 1 to 10239 when long (a long address below 128 stays long);
// cv 1 to 1024.
DccPacket locomotiveCvWritePacket(int32_t address, bool longAddress, int32_t cv, uint8_t value);

// accessory is the number a station's AF command and an NCE cab take, 1 to 2044. Numbers 4n-3
// to 4n are the four outputs of decoder address n, the address CV 513 and CV 521 hold; the
// packet addresses the whole decoder, so any of its four numbers writes the same CVs.
DccPacket accessoryCvWritePacket(int32_t accessory, int32_t cv, uint8_t value);

// The decoder address (CV 513 and CV 521) an accessory number belongs to.
int32_t accessoryDecoderAddress(int32_t accessory);
