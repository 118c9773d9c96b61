// The two NCE drivers side by side in the program's station list: their order, the shared options
// code working on either, and the binary choice surviving a restart.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/settings_store.h"
#include "station_fakes.h"
#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/nce_options.h"
#include "stations/station_advice.h"
#include "stations/station_drivers.h"
#include "stations/station_manager.h"

namespace {

std::shared_ptr<FakeSerialPort::State> asciiPort;
std::shared_ptr<FakeSerialPort::State> binaryPort;

// Constructed in the opposite order of their names, so the list's own order shows.
void constructBothOnFakePorts() {
    new NceBinaryDriver(std::make_unique<FakeSerialPort>(binaryPort));
    new NceDriver(std::make_unique<FakeSerialPort>(asciiPort));
}

class NceDriversTest : public testing::Test {
  protected:
    void SetUp() override {
        asciiPort = std::make_shared<FakeSerialPort::State>();
        asciiPort->respond = promptOnly;
        binaryPort = std::make_shared<FakeSerialPort::State>();
        binaryPort->binary = true;
        binaryPort->respond = [](const std::string& command) {
            return command[0] == '\xAA' ? std::string("\x07\x03\x03") : std::string("!");
        };
    }

    NceBinaryDriver* binary() const { return static_cast<NceBinaryDriver*>(stationAt(1)); }

    MemorySettingsStore store_;
    RecordedPauses pauses_;
    RecordedMessages messages_;
    TestStationList stations_{store_, constructBothOnFakePorts};
};

TEST_F(NceDriversTest, AFirstStartOpensTheAsciiDriverAtPositionZero) {
    restoreStation();
    ASSERT_NE(stationAt(1), nullptr);
    EXPECT_STREQ(stationAt(0)->name(), "NCE Corporation - Powerhouse Pro");
    EXPECT_STREQ(stationAt(1)->name(),
                 "NCE Corporation - Powerhouse Pro 2006+ / Power Cab (binary)");
    EXPECT_EQ(stationAt(1)->getTag(), makeStationTag('N', 'C', 'E', 'b'));
    EXPECT_EQ(stationAt(2), nullptr);
    EXPECT_EQ(selectedStationIndex(), 0);
    EXPECT_EQ(isStationOpen(), 1);
    EXPECT_EQ(binaryPort->openedName, ""); // the other driver is left alone
}

// The binary choice with its port and baud rate, set through the shared options code, is stored
// at exit and opened again at the next start.
TEST_F(NceDriversTest, TheBinaryChoiceSurvivesARestart) {
    restoreStation();
    selectStation(1);
    EXPECT_EQ(asciiPort->written, "X\r\n"); // the ASCII station was closed properly
    ASSERT_EQ(isStationOpen(), 1);
    EXPECT_EQ(applyNceOptions(*binary(), "COM3", 1, false), 1);
    EXPECT_EQ(binaryPort->openedName, "COM3");
    EXPECT_EQ(binaryPort->written, ""); // closing a station never sent 9E sends no 9F
    saveAndShutdownStations();

    binaryPort->openedName.clear();
    restoreStation();
    EXPECT_EQ(selectedStationIndex(), 1);
    EXPECT_EQ(isStationOpen(), 1);
    EXPECT_EQ(binaryPort->openedName, "COM3");
    EXPECT_EQ(binaryPort->openedBaud, 19200u);
    EXPECT_EQ(binary()->getConfig(), "19200|COM3");
    EXPECT_EQ(stationHighestSafeCv(), noCvLimit); // a Power Cab behind the USB interface
    EXPECT_TRUE(messages_.list().empty());
}

TEST_F(NceDriversTest, EachDriverTestsWithItsOwnTexts) {
    restoreStation();
    const NceTestTexts ascii = static_cast<NceStationDriver*>(stationAt(0))->testTexts();
    const NceTestTexts binaryTexts = binary()->testTexts();
    EXPECT_STREQ(ascii.passed, "Communication with PowerHouse Pro OK");
    EXPECT_STREQ(ascii.passedCaption, "NCE Powerhouse Pro");
    EXPECT_STREQ(ascii.failed, "Cannot communicate with PowerHouse Pro");
    EXPECT_STREQ(binaryTexts.passed, "Communication with the NCE station OK");
    EXPECT_STREQ(binaryTexts.passedCaption, "NCE");
    EXPECT_STREQ(binaryTexts.failed, "Cannot communicate with the NCE station");
}

bool powerCabAnswer = true;
int powerCabQuestions = 0;
bool answerPowerCab(const std::string& note) {
    ++powerCabQuestions;
    EXPECT_EQ(note, singleTrackNote);
    return powerCabAnswer;
}

// What each driver sends, by the station's answers, for the timing and version rules: a late
// prompt never answers the next line, a second's settle after M or 9E, AA once before the first
// 9E, stations the binary driver cannot program refused at once, programming mode left after
// 5 s idle and entered again, the Power Cab's question.
TEST(NceDriverWire, ExactBytesForTimingVersionAndRefusals) {
    enum Step { read1, read2, write29, idle4s, idle5s };
    const std::string ph060 =
        "This Powerhouse Pro (EPROM 6.0.0) programs decoders through the ASCII "
        "driver: choose it on Connection Setup";
    struct Case {
        const char* name;
        bool binary;
        std::string aa; // the binary station's answer to AA
        std::vector<Step> steps;
        std::string bytes; // ASCII lines as sent, binary bytes in hexadecimal
        std::vector<int> results;
        std::vector<unsigned> pauses;
        const char* text; // the last step's message
    } cases[] = {
        {"late prompts are drained",
         false,
         "",
         {read1, write29, read2},
         "M\r\nR001\r\nP029 006\r\nR002\r\n",
         {0, decoderNoAcknowledge, 0},
         {100, 1000, 100, 100, 100},
         nullptr},
        {"ascii idle exit",
         false,
         "",
         {read1, idle4s, read2, idle5s, read1},
         "M\r\nR001\r\nR002\r\nX\r\nM\r\nR001\r\n",
         {0, 0, 0},
         {100, 1000, 100, 100, 100, 100, 1000, 100},
         nullptr},
        {"AA once before 9E",
         true,
         "\x06\x02\x01",
         {read1, read2},
         "AA 9E A9 00 01 A9 00 02",
         {0, 0},
         {1000},
         nullptr},
        {"AA cut short: binary rules",
         true,
         "\x06\x02",
         {read1},
         "AA 9E A9 00 01",
         {0},
         {1000},
         nullptr},
        {"binary idle exit",
         true,
         "\x06\x02\x03",
         {read1, idle5s, read2},
         "AA 9E A9 00 01 9F 9E A9 00 02",
         {0, 0},
         {1000, 1000},
         nullptr},
        {"ASCII EPROM: no 9E, no 9F",
         true,
         std::string("\x06\x00\x00", 3),
         {read1, idle5s, write29},
         "AA",
         {1, 1},
         {},
         ph060.c_str()},
        {"SB5",
         true,
         "\x07\x03\x02",
         {read1},
         "AA",
         {1},
         {},
         "The SB5 1.65 through the USB interface has no programming track: it can program "
         "decoders only on the main."},
        {"PH Pro on USB",
         true,
         "\x07\x03\x06",
         {write29},
         "AA",
         {1},
         {},
         "The Powerhouse Pro through the USB interface has no programming track, and NCE's USB "
         "interface cannot program this station's decoders: connect the computer to the station's "
         "own serial port instead."},
        {"Power Cab asks once",
         true,
         "\x07\x03\x03",
         {read1, idle5s, read2},
         "AA 9E A9 00 01 9F 9E A9 00 02",
         {0, 0},
         {1000, 1000},
         nullptr},
        {"Power Cab: No",
         true,
         "\x07\x03\x03",
         {read1},
         "AA",
         {1},
         {},
         "Nothing was programmed: the Power Cab would program every locomotive on its track."},
    };
    const SingleTrackCheck previous = setSingleTrackCheck(answerPowerCab);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto port = std::make_shared<FakeSerialPort::State>();
        port->binary = c.binary;
        port->respond = [&c](const std::string& command) -> std::string {
            if (!c.binary) // every answer is followed by a second, late prompt
                return (command[0] == 'R'   ? "\r\n00" + command.substr(3) + " \r\n"
                        : command[0] == 'P' ? "NO FEEDBACK DETECTED\r\n"
                                            : "") +
                       "COMMAND: COMMAND: ";
            const uint8_t opcode = static_cast<uint8_t>(command[0]);
            return opcode == 0xAA ? c.aa : opcode == 0xA9 ? "\x05!" : "!";
        };
        std::unique_ptr<NceStationDriver> driver;
        if (c.binary)
            driver = std::make_unique<NceBinaryDriver>(std::make_unique<FakeSerialPort>(port));
        else
            driver = std::make_unique<NceDriver>(std::make_unique<FakeSerialPort>(port));
        FakeClock clock;
        RecordedPauses pauses;
        powerCabQuestions = 0;
        powerCabAnswer = std::string(c.name) != "Power Cab: No";
        ASSERT_EQ(driver->open(nullptr), 0);
        std::vector<int> results;
        for (Step step : c.steps) {
            uint8_t value = 0;
            if (step == idle4s || step == idle5s) {
                FakeClock::now() += step == idle4s ? 4000 : 5000;
                driver->idle();
            } else if (step == write29) {
                results.push_back(driver->writeCv(29, 6));
            } else {
                results.push_back(driver->readCv(step == read1 ? 1 : 2, &value));
                EXPECT_EQ(value, results.back() ? 0 : c.binary ? 5 : step == read1 ? 1 : 2);
            }
        }
        EXPECT_EQ(c.binary ? hexText(port->written) : port->written, c.bytes);
        EXPECT_EQ(results, c.results);
        EXPECT_EQ(pauses.list(), c.pauses);
        EXPECT_EQ(powerCabQuestions, c.aa == "\x07\x03\x03" ? 1 : 0);
        if (c.text) {
            EXPECT_STREQ(stationErrorText(), c.text);
        }
        driver->close();
        if (c.binary) { // closing sends 9F only where 9E went out since the last 9F
            EXPECT_EQ(hexText(port->written), c.bytes + (c.bytes.size() > 2 ? " 9F" : ""));
        }
    }
    setSingleTrackCheck(previous);
}

} // namespace
