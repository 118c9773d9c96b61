#include <gtest/gtest.h>

#include <vector>

#include "stations/dcc_packet.h"

// The traces of a real station and worked examples, byte for byte; the accessory rows follow
// the basic accessory decoder's bit layout (address bits 6 to 8 inverted, CDDD = 0000).
TEST(DccPacket, CvWritePackets) {
    struct Case {
        const char* name;
        DccPacket packet;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"long 353, CV 2 = 3 (station trace)",
         locomotiveCvWritePacket(353, true, 2, 3),
         {0xC1, 0x61, 0xEC, 0x01, 0x03, 0x4E}},
        {"short 75, CV 2 = 11 (station trace)",
         locomotiveCvWritePacket(75, false, 2, 11),
         {0x4B, 0xEC, 0x01, 0x0B, 0xAD}},
        {"short 3, CV 29 = 34",
         locomotiveCvWritePacket(3, false, 29, 34),
         {0x03, 0xEC, 0x1C, 0x22, 0xD1}},
        {"long 1234, CV 3 = 10",
         locomotiveCvWritePacket(1234, true, 3, 10),
         {0xC4, 0xD2, 0xEC, 0x02, 0x0A, 0xF2}},
        {"long 3 stays long",
         locomotiveCvWritePacket(3, true, 1, 5),
         {0xC0, 0x03, 0xEC, 0x00, 0x05, 0x2A}},
        {"short 3, CV 1024 = 0",
         locomotiveCvWritePacket(3, false, 1024, 0),
         {0x03, 0xEF, 0xFF, 0x00, 0x13}},
        {"accessory 513 (decoder 129), CV 514 = 3",
         accessoryCvWritePacket(513, 514, 3),
         {0x81, 0xD0, 0xEE, 0x01, 0x03, 0xBD}},
        {"accessory 2044 (decoder 511), CV 1 = 0",
         accessoryCvWritePacket(2044, 1, 0),
         {0xBF, 0x80, 0xEC, 0x00, 0x00, 0xD3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(std::vector<uint8_t>(c.packet.bytes, c.packet.bytes + c.packet.length), c.bytes);
    }
    EXPECT_EQ(accessoryDecoderAddress(1), 1);
    EXPECT_EQ(accessoryDecoderAddress(4), 1);
    EXPECT_EQ(accessoryDecoderAddress(5), 2);
}
