#include "stations/dcc_packet.h"

namespace {

// Write byte, long form: 1110 11vv, the top two bits of cv - 1 in vv.
constexpr uint8_t writeByteInstruction = 0xEC;

// Appends the CV access bytes and the XOR check to the address bytes already in the packet.
DccPacket finish(DccPacket packet, int32_t cv, uint8_t value) {
    const int32_t index = cv - 1;
    packet.bytes[packet.length++] = static_cast<uint8_t>(writeByteInstruction | ((index >> 8) & 3));
    packet.bytes[packet.length++] = static_cast<uint8_t>(index & 0xFF);
    packet.bytes[packet.length++] = value;
    uint8_t check = 0;
    for (size_t i = 0; i < packet.length; ++i)
        check ^= packet.bytes[i];
    packet.bytes[packet.length++] = check;
    return packet;
}

} // namespace

DccPacket locomotiveCvWritePacket(int32_t address, bool longAddress, int32_t cv, uint8_t value) {
    DccPacket packet{};
    if (longAddress) {
        // 11aaaaaa aaaaaaaa: the top six bits first.
        packet.bytes[packet.length++] = static_cast<uint8_t>(0xC0 | ((address >> 8) & 0x3F));
        packet.bytes[packet.length++] = static_cast<uint8_t>(address & 0xFF);
    } else {
        packet.bytes[packet.length++] = static_cast<uint8_t>(address & 0x7F);
    }
    return finish(packet, cv, value);
}

int32_t accessoryDecoderAddress(int32_t accessory) {
    return (accessory - 1) / 4 + 1;
}

// A basic accessory decoder's nine address bits: 10AAAAAA holds bits 0 to 5, 1AAACDDD bits 6 to
// 8 in ones' complement. CDDD = 0000 addresses the decoder as a whole rather than one output.
DccPacket accessoryCvWritePacket(int32_t accessory, int32_t cv, uint8_t value) {
    const int32_t address = accessoryDecoderAddress(accessory);
    DccPacket packet{};
    packet.bytes[packet.length++] = static_cast<uint8_t>(0x80 | (address & 0x3F));
    packet.bytes[packet.length++] = static_cast<uint8_t>(0x80 | (~(address >> 6) & 7) << 4);
    return finish(packet, cv, value);
}
