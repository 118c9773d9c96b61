#include "binary_station.h"
#include "simulated_station.h"
#include "station_fakes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A session of commands in order, each with the exact answer it gets.
TEST(BinaryStationTest, AnswersTheBinaryCommandSet) {
    struct Step {
        std::string command;
        std::string answer;
    };
    const Step steps[] = {
        {byteString({0xA9, 0x00, 0x1D}), "0"},                  // not in programming mode
        {byteString({0xA8, 0x00, 0x1D, 0x04}), "0"},            // nor for writes
        {byteString({0xAA}), byteString({6, 2, 1})},            // version: no mode needed
        {byteString({0x80}), "!"},                              // no operation
        {byteString({0x9E}), "!"},                              // programming mode on
        {byteString({0xA9, 0x00, 0x1D}), byteString({6, '!'})}, // CV 29 of the factory decoder
        {byteString({0xA8, 0x00, 0x1D, 0x22}), "!"},
        {byteString({0xA9, 0x00, 0x1D}), byteString({0x22, '!'})},
        {byteString({0xA8, 0x00, 0x07, 0x01}), "!"}, // accepted, but CV 7 is burnt in
        {byteString({0xA9, 0x00, 0x07}), byteString({42, '!'})},
        {byteString({0xA9, 0x04, 0x01}), "3"}, // CV 1025 does not exist
        {byteString({0xA9, 0x00, 0x00}), "3"},
        {byteString({0xA1, 0x00, 0x01}), "0"}, // paged mode is not offered
        {byteString({0x9F}), "!"},             // programming mode off
        {byteString({0xA9, 0x00, 0x01}), "0"},
    };
    SimulatedStation decoder;
    BinaryStation station(decoder, binarySystems[0]);
    for (const Step& step : steps) {
        SCOPED_TRACE(station.logText(step.command));
        EXPECT_EQ(station.answer(step.command).bytes, step.answer);
    }
    EXPECT_EQ(decoder.cv(29), 0x22);
    EXPECT_EQ(decoder.cv(7), 42);
    decoder.addDeafCv(3); // a CV the decoder does not acknowledge
    station.answer(byteString({0x9E}));
    EXPECT_EQ(station.answer(byteString({0xA9, 0x00, 0x03})).bytes, byteString({0xFF, '3'}));
    EXPECT_EQ(station.answer(byteString({0xA8, 0x00, 0x03, 1})).bytes, "3");
}

TEST(BinaryStationTest, CommandsAreCutByTheirFirstByteWhateverTheReads) {
    SimulatedStation decoder;
    BinaryStation station(decoder, binarySystems[0]);
    const std::string stream =
        byteString({0x9E, 0xA9, 0x00, 0x1D, 0xA8, 0x01, 0x1E, 0x05, 0xAA, 0xA7, 0x02, 0xA6, 0x02,
                    0x03, 0xA0, 0x00, 0x01, 0x02, 0x42});
    std::vector<std::string> commands;
    for (char byte : stream)
        for (const std::string& command : station.feed(&byte, 1))
            commands.push_back(station.logText(command));
    EXPECT_EQ(commands, (std::vector<std::string>{"9E", "A9 00 1D", "A8 01 1E 05", "AA", "A7 02",
                                                  "A6 02 03", "A0 00 01 02", "42"}));
    EXPECT_TRUE(station.isProgrammingCommand(byteString({0xA9, 0, 1})));
    EXPECT_TRUE(station.isProgrammingCommand(byteString({0xA8, 0, 1, 2})));
    EXPECT_FALSE(station.isProgrammingCommand(byteString({0x9E})));
    EXPECT_FALSE(station.isProgrammingCommand(""));
}

// A Powerhouse Pro before EPROM 6.2.3 writes CV 285 to CV 29; a Power Cab writes it where it
// belongs. Each answers AA with its own version.
TEST(BinaryStationTest, SystemsDifferInVersionAndHighCvWrites) {
    struct Case {
        const char* system;
        std::string version;
        int cv29;
        int cv285;
    } cases[] = {
        {"powerhouse-pro-6.2.1", byteString({6, 2, 1}), 9, 0},
        {"powerhouse-pro-6.2.3", byteString({6, 2, 3}), 6, 9},
        {"power-cab-usb-7.3.3", byteString({7, 3, 3}), 6, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.system);
        const BinarySystem* system = findBinarySystem(c.system);
        ASSERT_NE(system, nullptr);
        SimulatedStation decoder;
        BinaryStation station(decoder, *system);
        EXPECT_EQ(station.answer(byteString({0xAA})).bytes, c.version);
        station.answer(byteString({0x9E}));
        EXPECT_EQ(station.answer(byteString({0xA8, 0x01, 0x1D, 9})).bytes, "!");
        EXPECT_EQ(decoder.cv(29), c.cv29);
        EXPECT_EQ(decoder.cv(285), c.cv285);
    }
    EXPECT_EQ(findBinarySystem("power-cab"), nullptr);
    EXPECT_EQ(binarySystemNames(),
              "powerhouse-pro-6.2.1, power-cab-usb-7.3.3, powerhouse-pro-4.0.2, "
              "powerhouse-pro-6.0.0, powerhouse-pro-6.2.3, sb5-usb-7.3.2, "
              "ph-pro-usb-7.3.6");
}

TEST(BinaryStationTest, FaultsChangeTheAnswersAndNothingElse) {
    struct Case {
        StationFault fault;
        std::string command;
        std::string answer;
    } cases[] = {
        {StationFault::NoDecoder, byteString({0xA9, 0x00, 0x1D}), byteString({0xFF, '3'})},
        {StationFault::NoDecoder, byteString({0xA8, 0x00, 0x1D, 1}), "3"},
        {StationFault::ShortCircuit, byteString({0x9E}), "3"},
        {StationFault::ShortCircuit, byteString({0xA9, 0x00, 0x1D}), byteString({6, '!'})},
        {StationFault::NotProgramming, byteString({0xA9, 0x00, 0x1D}), "0"},
        {StationFault::NotProgramming, byteString({0xA8, 0x00, 0x1D, 1}), "0"},
        {StationFault::Silent, byteString({0xAA}), ""},
        {StationFault::Truncated, byteString({0xA9, 0x00, 0x1D}), byteString({6})},
        {StationFault::Truncated, byteString({0xAA}), byteString({6, 2})},
        {StationFault::Truncated, byteString({0xA8, 0x00, 0x1D, 6}), "!"},
        {StationFault::StrayBytes, byteString({0xA9, 0x00, 0x1D}),
         byteString({0x61, 0x35, 0x41, 6, '!'})},
        {StationFault::Chatter, byteString({0xA9, 0x00, 0x1D}), byteString({6, '!'})}, // ASCII only
    };
    for (const Case& c : cases) {
        SimulatedStation decoder;
        BinaryStation station(decoder, binarySystems[0]);
        station.answer(byteString({0x9E}));
        decoder.addFault(c.fault);
        SCOPED_TRACE(station.logText(c.command));
        EXPECT_EQ(station.answer(c.command).bytes, c.answer);
        EXPECT_EQ(decoder.cv(29), 6);
    }
}

} // namespace
