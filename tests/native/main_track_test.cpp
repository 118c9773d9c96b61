#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>

#include "binary_station.h"
#include "foundation/settings_store.h"
#include "station_fakes.h"
#include "station_protocol.h"
#include "stations/main_track_target.h"
#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/program_on_choice.h"
#include "stations/station_manager.h"

namespace {

std::shared_ptr<FakeSerialPort::State> managedPort;

void constructBinaryOnManagedPort() {
    new NceBinaryDriver(std::make_unique<FakeSerialPort>(managedPort));
}

MainTrackTarget locomotive(int32_t address, bool longAddress) {
    return {ProgramOn::locomotive, address, longAddress};
}

// What the Program on group makes of its boxes: a short address never goes above 127, and an
// address that is none keeps the main chosen with nothing to write to, never the track.
TEST(MainTrackTarget, ProgramOnBoxesMakeTheTarget) {
    struct Case {
        ProgramOnBoxes boxes;
        const char* name;
        bool longAddress;
    } cases[] = {{{ProgramOn::locomotive, "127", false, ""}, "locomotive 127", false},
                 {{ProgramOn::locomotive, "127", true, ""}, "locomotive 0127 (long)", true},
                 {{ProgramOn::locomotive, "128", false, ""}, "locomotive 128", true},
                 {{ProgramOn::locomotive, "x", false, "5"}, "no valid address", false},
                 {{ProgramOn::accessory, "3", true, "2045"}, "no valid address", false},
                 {{ProgramOn::track, "3", true, "5"}, "", false}};
    for (const Case& c : cases) {
        std::string note;
        const MainTrackTarget target = programOnTarget(c.boxes, &note);
        EXPECT_EQ(target.on, c.boxes.chosen);
        EXPECT_EQ(mainTrackTargetName(target), c.name);
        EXPECT_EQ(target.longAddress, c.longAddress);
    }
}

// Both drivers on a fake station that answers AA with `version`, and every command of the main
// with its answer from `answers`.
class MainTrackDriverTest : public testing::Test {
  protected:
    MainTrackDriverTest() {
        port_->respond = [this](const std::string& command) {
            const uint8_t opcode = static_cast<uint8_t>(command[0]);
            if (opcode == 0xAA)
                return version_;
            if (answers_.count(opcode))
                return answers_[opcode];
            return std::string(opcode >= 0x80 ? "!" : "COMMAND: ");
        };
    }
    ~MainTrackDriverTest() override { setMainTrackTarget({}); }

    std::shared_ptr<FakeSerialPort::State> port_ = std::make_shared<FakeSerialPort::State>();
    RecordedPauses pauses_;
    std::string version_ = byteString({6, 2, 1});
    std::map<uint8_t, std::string> answers_;
};

TEST_F(MainTrackDriverTest, ExactBytesOnTheWire) {
    using Action = std::function<int(NceStationDriver&)>;
    struct Case {
        const char* name;
        bool binary;
        std::string version;
        Action action;
        const char* bytes;
        std::vector<unsigned> pauses;
    } cases[] = {
        {"serial Powerhouse Pro: the packet twice, then the pause",
         true,
         byteString({6, 2, 1}),
         [](NceStationDriver& d) { return d.writeCvOnMain(locomotive(353, true), 2, 3); },
         "AA 96 05 C1 61 EC 01 03 4E 96 05 C1 61 EC 01 03 4E",
         {200}},
        {"Power Cab on USB: AE with the long address flag, AF by accessory number",
         true,
         byteString({7, 3, 3}),
         [](NceStationDriver& d) {
             return d.writeCvOnMain(locomotive(1234, true), 3, 10) |
                    d.writeCvOnMain({ProgramOn::accessory, 513, false}, 514, 3);
         },
         "AA AE C4 D2 00 03 0A AF 02 01 02 02 03",
         {}},
        {"binary: programming mode left before the main",
         true,
         byteString({6, 2, 1}),
         [](NceStationDriver& d) {
             return d.writeCv(1, 3) | d.writeCvOnMain(locomotive(3, false), 1, 4);
         },
         "AA 9E A8 00 01 03 9F 95 05 03 EC 00 04 EB 95 05 03 EC 00 04 EB",
         {1000, 200}},
        // The version asked once; X only because the track was in use.
        {"ASCII EPROM: programming mode left with X, the main without M or X",
         false,
         byteString({6, 0, 0}),
         [](NceStationDriver& d) {
             return d.writeCv(1, 3) | d.writeCvOnMain(locomotive(3, false), 1, 4) |
                    d.writeCvOnMain(locomotive(3, false), 2, 4);
         },
         "4D 0D 0A 50 30 30 31 20 30 30 33 0D 0A AA 58 0D 0A 95 05 03 EC 00 04 EB 95 05 03 EC 00 "
         "04 EB 95 05 03 EC 01 04 EA 95 05 03 EC 01 04 EA",
         {100, 1000, 100, 100, 200, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        port_->binary = c.binary;
        version_ = c.version;
        std::unique_ptr<NceStationDriver> driver;
        if (c.binary)
            driver = std::make_unique<NceBinaryDriver>(std::make_unique<FakeSerialPort>(port_));
        else
            driver = std::make_unique<NceDriver>(std::make_unique<FakeSerialPort>(port_));
        ASSERT_EQ(driver->open(nullptr), 0);
        port_->written.clear();
        pauses_.list().clear();
        EXPECT_EQ(c.action(*driver), 0) << (stationErrorText() ? stationErrorText() : "");
        EXPECT_EQ(hexText(port_->written), c.bytes);
        EXPECT_EQ(pauses_.list(), c.pauses);
    }
}

TEST_F(MainTrackDriverTest, RefusalsNameTheAddressOrTheCv) {
    struct Case {
        std::string version;
        uint8_t opcode;
        std::string answer;
        const char* message;
    } cases[] = {
        {byteString({7, 3, 3}), 0xAE, "0",
         "The NCE station does not take the command for the main (answer 0): an older USB "
         "interface firmware cannot program on the main"},
        {byteString({7, 3, 3}), 0xAE, "1",
         "The NCE station refused the address of locomotive 1234 (answer 1: address out of "
         "range)"},
        {byteString({7, 3, 3}), 0xAE, "3",
         "The NCE station refused CV 3 for locomotive 1234 (answer 3: CV or data out of range)"},
        {byteString({7, 3, 3}), 0xAE, "", "No answer from the NCE station"},
        {byteString({6, 2, 1}), 0x96, "0",
         "The NCE station refused the packet for locomotive 1234 (answer 0: command not "
         "supported)"},
        {byteString({7, 3, 6}), 0xAE, "!",
         "A Powerhouse Pro cannot program decoders through the NCE USB interface: connect the "
         "computer to the station's serial port to program on the main"},
    };
    port_->binary = true;
    NceBinaryDriver driver(std::make_unique<FakeSerialPort>(port_));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        ASSERT_EQ(driver.open(nullptr), 0);
        version_ = c.version;
        answers_ = {{c.opcode, c.answer}};
        port_->written.clear();
        EXPECT_EQ(driver.writeCvOnMain(locomotive(1234, true), 3, 10), 1);
        ASSERT_NE(stationErrorText(), nullptr);
        EXPECT_STREQ(stationErrorText(), c.message);
        // Refused at once: nothing but the version question went out.
        if (c.version.size() == 3 && c.version[0] != 6 && c.version[2] != 3) {
            EXPECT_EQ(hexText(port_->written), "AA");
        }
    }
}

// The manager sends writes to the chosen decoder and refuses reads there; a change of decoder
// forgets what was known.
TEST_F(MainTrackDriverTest, ManagerRoutesByTheTarget) {
    port_->binary = true;
    version_ = byteString({7, 3, 3});
    managedPort = port_;
    MemorySettingsStore store;
    TestStationList list(store, constructBinaryOnManagedPort);
    restoreStation();
    setMainTrackTarget(locomotive(3, false));
    uint8_t value = 9;
    EXPECT_EQ(stationWriteCv(29, 34), 0);
    EXPECT_EQ(knownCvValue(29, &value, 0), 0);
    EXPECT_EQ(value, 34);
    EXPECT_EQ(stationReadCv(29, &value), 1);
    EXPECT_STREQ(stationErrorText(), nothingReadBackOnMain);
    setMainTrackTarget({});
    EXPECT_EQ(knownCvValue(29, &value, 0), 1);
    EXPECT_EQ(hexText(port_->written), "AA AE 00 03 00 1D 22");
}

// The simulated decoder takes a packet only twice in a row and only at its own address.
TEST(MainTrackStation, PacketsLandOnlyAtTheDecodersAddress) {
    struct Case {
        const char* name;
        std::string command;
        int times;
        const char* answer;
        int cv29; // what CV 29 holds afterwards; the decoder is short 3, CV 29 = 6
    } cases[] = {
        {"once is not enough", byteString({0x95, 5, 0x03, 0xEC, 0x1C, 0x22, 0xD1}), 1, "!", 6},
        {"twice lands", byteString({0x95, 5, 0x03, 0xEC, 0x1C, 0x22, 0xD1}), 2, "!!", 34},
        {"another address", byteString({0x95, 5, 0x04, 0xEC, 0x1C, 0x22, 0xD6}), 2, "!!", 6},
        {"long 3 is not short 3", byteString({0x96, 5, 0xC0, 0x03, 0xEC, 0x1C, 0x22, 0x11}), 2,
         "!!", 6},
        {"bad XOR", byteString({0x95, 5, 0x03, 0xEC, 0x1C, 0x22, 0xD0}), 2, "00", 6},
        {"length against its address", byteString({0x95, 5, 0xC0, 0x03, 0xEC, 0x1C, 0x22}), 1, "4",
         6},
        {"AE applies at once", byteString({0xAE, 0x00, 0x03, 0x00, 0x1D, 0x22}), 1, "!", 34},
        {"AE short 128", byteString({0xAE, 0x00, 0x80, 0x00, 0x1D, 0x22}), 1, "1", 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool binary : {true, false}) {
            SimulatedStation station;
            BinaryStation binaryStation(station, binarySystems[0]);
            AsciiProtocol ascii(station, byteString({6, 0, 0}));
            StationProtocol& protocol =
                binary ? static_cast<StationProtocol&>(binaryStation) : ascii;
            std::string answers;
            for (int i = 0; i < c.times; ++i)
                for (const std::string& command : protocol.feed(c.command.data(), c.command.size()))
                    answers += protocol.answer(command).bytes;
            EXPECT_EQ(answers, c.answer);
            EXPECT_EQ(station.cv(29), c.cv29);
        }
    }
    SimulatedStation station;
    AsciiProtocol ascii(station, byteString({6, 0, 0}));
    EXPECT_EQ(ascii.logText(byteString({0x96, 5, 0xC4, 0xD2, 0xEC, 0x02, 0x0A, 0xF2})),
              "96 05 C4 D2 EC 02 0A F2: locomotive 1234 long, write CV 3 = 10");
    EXPECT_EQ(ascii.logText(byteString({0xAF, 0x02, 0x01, 0x02, 0x02, 0x03})),
              "AF 02 01 02 02 03: accessory decoder 129, write CV 514 = 3");
}

} // namespace
