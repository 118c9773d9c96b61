#include "main_track_packets.h"

#include <cstdio>

namespace {

const uint8_t locomotiveWrite = 0xAE;
const uint8_t accessoryWrite = 0xAF;
const uint8_t firstPacketCommand = 0x93;
const uint8_t lastPacketCommand = 0x96;
const uint8_t writeByteInstruction = 0xEC; // 1110 11vv: write, long form

const char* const done = "!";
const char* const notSupported = "0";
const char* const addressOutOfRange = "1";
const char* const dataOutOfRange = "3";
const char* const byteCountOutOfRange = "4";

uint8_t byteAt(const std::string& bytes, std::size_t index) {
    return static_cast<uint8_t>(bytes[index]);
}

int wordAt(const std::string& bytes, std::size_t index) {
    return byteAt(bytes, index) << 8 | byteAt(bytes, index + 1);
}

bool isPacketCommand(uint8_t opcode) {
    return opcode >= firstPacketCommand && opcode <= lastPacketCommand;
}

// How many address bytes a packet starting with this byte has: a long locomotive address and an
// accessory address take two.
std::size_t addressLength(uint8_t first) {
    if (first >= 0xC0 && first <= 0xE7)
        return 2;
    if ((first & 0xC0) == 0x80)
        return 2;
    return 1;
}

enum class PacketCheck { good, badLength, badPacket };

// A CV-write packet (XOR included) as a decoder reads it.
PacketCheck decodePacket(const std::string& packet, MainTrackWrite& write) {
    if (packet.empty() || packet.size() != addressLength(byteAt(packet, 0)) + 4)
        return PacketCheck::badLength;
    uint8_t check = 0;
    for (char byte : packet)
        check ^= static_cast<uint8_t>(byte);
    const std::size_t at = packet.size() - 4;
    const uint8_t first = byteAt(packet, 0);
    if (check != 0 || (byteAt(packet, at) & 0xFC) != writeByteInstruction || first == 0)
        return PacketCheck::badPacket;
    write.cv = ((byteAt(packet, at) & 3) << 8 | byteAt(packet, at + 1)) + 1;
    write.value = byteAt(packet, at + 2);
    if ((first & 0xC0) == 0x80) {
        // 10AAAAAA 1AAA0000: address bits 6 to 8 inverted, the whole decoder addressed.
        const uint8_t second = byteAt(packet, 1);
        if ((second & 0x8F) != 0x80)
            return PacketCheck::badPacket;
        write.accessory = true;
        write.address = (first & 0x3F) | (~second >> 4 & 7) << 6;
    } else if (at == 2) {
        write.longAddress = true;
        write.address = (first & 0x3F) << 8 | byteAt(packet, 1);
    } else {
        write.address = first;
    }
    return PacketCheck::good;
}

std::string hexText(const std::string& bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%s%02X", i ? " " : "", byteAt(bytes, i));
        text += pair;
    }
    return text;
}

// What a command asks for; false when it is not a write the station would carry out.
PacketCheck decodeCommand(const std::string& command, MainTrackWrite& write) {
    const uint8_t opcode = byteAt(command, 0);
    if (isPacketCommand(opcode))
        return decodePacket(command.substr(2), write);
    const int address = wordAt(command, 1);
    write.cv = wordAt(command, 3);
    write.value = byteAt(command, 5);
    if (opcode == accessoryWrite) {
        write.accessory = true;
        write.address = address >= 1 && address <= 2044 ? accessoryDecoderOfNumber(address) : 0;
    } else {
        // Out of range is address 0, which no decoder has.
        write.longAddress = address >= 0xC000;
        write.address = write.longAddress ? address - 0xC000 : address;
        if (write.address > (write.longAddress ? 10239 : 127))
            write.address = 0;
    }
    return PacketCheck::good;
}

} // namespace

int accessoryDecoderOfNumber(int number) {
    return (number - 1) / 4 + 1;
}

bool MainTrackPackets::takes(uint8_t opcode) {
    return opcode == locomotiveWrite || opcode == accessoryWrite || isPacketCommand(opcode);
}

std::size_t MainTrackPackets::commandLength(uint8_t opcode) {
    return isPacketCommand(opcode) ? 2 + (opcode & 0x0F) : 6;
}

std::string MainTrackPackets::logText(const std::string& command) const {
    MainTrackWrite write;
    const std::string bytes = hexText(command);
    if (decodeCommand(command, write) != PacketCheck::good)
        return bytes + ": not a CV write";
    char text[120];
    std::snprintf(text, sizeof text, "%s %d%s, write CV %d = %d",
                  write.accessory ? "accessory decoder" : "locomotive", write.address,
                  write.accessory ? "" : (write.longAddress ? " long" : " short"), write.cv,
                  write.value);
    return bytes + ": " + text;
}

StationReply MainTrackPackets::answer(const std::string& command) {
    StationReply reply;
    MainTrackWrite write;
    const PacketCheck check = decodeCommand(command, write);
    const bool packet = isPacketCommand(byteAt(command, 0));
    const bool repeated = packet && command == lastPacketCommand_;
    lastPacketCommand_ = packet && !repeated ? command : "";
    if (check == PacketCheck::badLength) {
        reply.bytes = byteCountOutOfRange;
    } else if (check == PacketCheck::badPacket) {
        reply.bytes = notSupported;
    } else if (!packet && write.address < 1) {
        reply.bytes = addressOutOfRange;
    } else if (write.cv < 1 || write.cv > SimulatedStation::cvCount) {
        reply.bytes = dataOutOfRange;
    } else if (!packet || repeated) {
        reply = apply(write);
    } else {
        reply.bytes = done;
    }
    return reply;
}

bool MainTrackPackets::addressedToDecoder(const MainTrackWrite& write) const {
    if (write.accessory)
        return write.address == ((station_.cv(521) & 7) * 64 + (station_.cv(513) & 0x3F));
    const bool decoderLong = (station_.cv(29) & 0x20) != 0;
    if (decoderLong != write.longAddress)
        return false;
    const int own =
        decoderLong ? (station_.cv(17) & 0x3F) << 8 | station_.cv(18) : station_.cv(1) & 0x7F;
    return write.address == own;
}

// The station acknowledges whatever it put on the track: no decoder answers on the main.
StationReply MainTrackPackets::apply(const MainTrackWrite& write) {
    StationReply reply;
    reply.bytes = done;
    // The decoder's version and manufacturer are burnt in.
    if (addressedToDecoder(write) && write.cv != 7 && write.cv != 8) {
        station_.setCv(write.cv, static_cast<uint8_t>(write.value));
        reply.wroteCv = true;
    }
    return reply;
}
