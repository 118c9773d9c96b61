#include <gtest/gtest.h>

#include <map>
#include <string>

#include "station_fakes.h"
#include "stations/nce_binary_driver.h"
#include "stations/station_manager.h"

namespace {

const char noAnswer[] = "No answer from the NCE station: is it switched on, and are port and speed "
                        "right? Else press Find Station on Connection Setup.";

std::string hex(const std::string& bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%s%02X", text.empty() ? "" : " ", byte);
        text += pair;
    }
    return text;
}

// A station that answers each binary command by its first byte, from `answers`.
class NceBinaryDriverTest : public testing::Test {
  protected:
    NceBinaryDriverTest() : driver_(std::make_unique<FakeSerialPort>(port_)) {
        port_->binary = true;
        port_->respond = [this](const std::string& command) {
            commands_.push_back(hex(command));
            return answers_[static_cast<uint8_t>(command[0])];
        };
        EXPECT_EQ(driver_.open(nullptr), 0);
    }

    std::string written() const { return hex(port_->written); }

    std::shared_ptr<FakeSerialPort::State> port_ = std::make_shared<FakeSerialPort::State>();
    NceBinaryDriver driver_;
    RecordedPauses pauses_;
    std::vector<std::string> commands_;
    std::map<uint8_t, std::string> answers_ = {{0x9E, "!"},
                                               {0x9F, "!"},
                                               {0xA8, "!"},
                                               {0xA9, std::string("\x06!")},
                                               {0xAA, std::string("\x06\x02\x01", 3)}};
};

// Every command's bytes, AA once per connection before the first 9E, the one second after 9E and
// no other pause.
TEST_F(NceBinaryDriverTest, ExactBytesOnTheWire) {
    struct Case {
        const char* name;
        std::function<int(NceBinaryDriver&)> action;
        const char* bytes;
        std::vector<unsigned> pauses;
    } cases[] = {
        {"read CV 29",
         [](NceBinaryDriver& d) {
             uint8_t v;
             return d.readCv(29, &v);
         },
         "AA 9E A9 00 1D",
         {1000}},
        {"read CV 1024",
         [](NceBinaryDriver& d) {
             uint8_t v;
             return d.readCv(1024, &v);
         },
         "AA 9E A9 04 00",
         {1000}},
        {"write 255 to CV 1",
         [](NceBinaryDriver& d) { return d.writeCv(1, 255); },
         "AA 9E A8 00 01 FF",
         {1000}},
        {"write 300 to CV 286",
         [](NceBinaryDriver& d) { return d.writeCv(286, 300); },
         "AA 9E A8 01 1E 2C",
         {1000}},
        {"two reads enter programming mode once",
         [](NceBinaryDriver& d) {
             uint8_t v;
             return d.readCv(1, &v) | d.readCv(2, &v);
         },
         "AA 9E A9 00 01 A9 00 02",
         {1000}},
        {"version alone",
         [](NceBinaryDriver& d) {
             StationVersionInfo i;
             return d.getVersion(&i);
         },
         "AA",
         {}},
        {"version then close: no 9F",
         [](NceBinaryDriver& d) {
             StationVersionInfo i;
             return d.getVersion(&i) | d.close();
         },
         "AA",
         {}},
        {"write then close leaves programming mode",
         [](NceBinaryDriver& d) { return d.writeCv(3, 4) | d.close(); },
         "AA 9E A8 00 03 04 9F",
         {1000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(driver_.open(nullptr), 0);
        port_->written.clear();
        pauses_.list().clear();
        EXPECT_EQ(c.action(driver_), 0) << (stationErrorText() ? stationErrorText() : "");
        EXPECT_EQ(written(), c.bytes);
        EXPECT_EQ(pauses_.list(), c.pauses);
    }
}

// One command with one answer: what the caller gets, and the message of every failure.
TEST_F(NceBinaryDriverTest, AnswersAreJudgedWithOneMessagePerCase) {
    enum Command { read, write, version };
    struct Case {
        Command command;
        uint8_t opcode; // whose answer is replaced
        std::string answer;
        int result;
        const char* text; // the value read or the version text on success, else the message
    } cases[] = {
        {read, 0xA9, std::string("\0!", 2), 0, "0"},
        {read, 0xA9, "\xFF!", 0, "255"},
        {read, 0xA9, "0!", 0, "48"}, // a value that looks like an error byte
        {read, 0xA9,
         "\xFF"
         "3",
         decoderNoAcknowledge,
         "Nothing could be read (answer FF 3): no decoder answered. Is the locomotive on the "
         "programming track?"},
        {read, 0xA9, "", stationNoAnswer, noAnswer},
        {read, 0xA9, "\x06", 1, "The NCE station's answer was cut short: 06"},
        {read, 0xA9, "\x06!!", 1,
         "The NCE station answered with more bytes than expected: 06 21 21"},
        {read, 0xA9, "!\x06", 1, "The NCE station's answer makes no sense: 21 06"},
        {read, 0xA9, "a5AI!", 1, // a broadcast before the answer is no text
         "The NCE station answered with more bytes than expected: 61 35 41 49 21"},
        {read, 0xA9, "0", 1, "The NCE station was not in programming mode (answer 0)"},
        {read, 0xA9, "1", 1,
         "The NCE station refused the command (answer 1: address out of range)"},
        {read, 0xA9, "COMMAND NOT UNDERSTOOD\r\nCOMMAND: ", 1,
         "The station answered in text (\"COMMAND NOT UNDERSTOOD COMMAND:\"), not in NCE's binary "
         "command set: it may need the driver \"NCE Corporation - Powerhouse Pro\""},
        {read, 0x9E, "3", 1, "Short circuit on the programming track"},
        {read, 0x9E, "0", 1,
         "The NCE station cannot enter programming mode (answer 0): it has no programming track "
         "on this line"},
        {read, 0x9E, "?", 1, "The NCE station's answer makes no sense: 3F"},
        {write, 0xA8, "!", 0, ""},
        {write, 0xA8, "3", 1,
         "The NCE station refused the command (answer 3: CV or data out of range)"},
        {write, 0xA8, "4", 1,
         "The NCE station refused the command (answer 4: byte count out of range)"},
        {write, 0x9E, "", stationNoAnswer, noAnswer},
        {version, 0xAA, std::string("\x07\x03\x03"), 0,
         "7.3.3 (Power Cab 1.65 through the USB interface)"},
        {version, 0xAA, std::string("\x01\x02\x05"), 0, "1.2.5 (unknown NCE station)"},
        {version, 0xAA, "", stationNoAnswer, noAnswer},
        {version, 0xAA, "\x06", 1, "The NCE station's answer was cut short: 06"},
        {version, 0xAA, "\x06\x02", 1, "The NCE station's answer was cut short: 06 02"},
        {version, 0xAA, std::string("\x06\x02\x01\x00", 4), 1,
         "The NCE station answered with more bytes than expected: 06 02 01 00"},
        {version, 0xAA, "0", 1,
         "The NCE station refused the command (answer 0: command not supported)"},
        {version, 0xAA, "NCE", 1,
         "The station answered in text (\"NCE\"), not in NCE's binary command set: it may need "
         "the driver \"NCE Corporation - Powerhouse Pro\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(hex(c.answer));
        ASSERT_EQ(driver_.open(nullptr), 0);
        const std::string kept = answers_[c.opcode];
        answers_[c.opcode] = c.answer;
        std::string got;
        int result = 1;
        if (c.command == read) {
            uint8_t value = 99;
            result = driver_.readCv(29, &value);
            got = std::to_string(value);
            EXPECT_TRUE(result == 0 || value == 0); // nothing remembered from a failure
        } else if (c.command == write) {
            result = driver_.writeCv(29, 6);
        } else {
            StationVersionInfo info{};
            result = driver_.getVersion(&info);
            got = info.text;
            EXPECT_STREQ(driver_.versionText(), result == 0 ? info.text : c.text);
        }
        answers_[c.opcode] = kept;
        EXPECT_EQ(result, c.result);
        if (result == 0) {
            EXPECT_EQ(got, c.text);
            EXPECT_EQ(stationErrorText(), nullptr);
        } else {
            ASSERT_NE(stationErrorText(), nullptr);
            EXPECT_STREQ(stationErrorText(), c.text);
        }
    }
}

// Whatever single byte answers a command, only "!" to 9E and A8 succeeds, and every failure says
// why; the next command is never confused by it.
TEST_F(NceBinaryDriverTest, EverySingleByteAnswerToEveryCommand) {
    for (uint8_t opcode : {0x9E, 0xA8, 0xA9, 0xAA}) {
        for (int byte = 0; byte < 256; ++byte) {
            SCOPED_TRACE(std::to_string(opcode) + " answered " + std::to_string(byte));
            ASSERT_EQ(driver_.open(nullptr), 0);
            const std::string kept = answers_[opcode];
            answers_[opcode] = std::string(1, static_cast<char>(byte));
            uint8_t value = 0;
            StationVersionInfo info{};
            int result = opcode == 0xA8   ? driver_.writeCv(1, 1)
                         : opcode == 0xAA ? driver_.getVersion(&info)
                                          : driver_.readCv(1, &value);
            answers_[opcode] = kept;
            const bool acknowledged = byte == '!' && opcode != 0xA9 && opcode != 0xAA;
            EXPECT_EQ(result, acknowledged ? 0 : 1);
            if (result != 0) {
                ASSERT_NE(stationErrorText(), nullptr);
                EXPECT_NE(*stationErrorText(), '\0');
            }
            EXPECT_EQ(driver_.readCv(2, &value), 0);
            EXPECT_EQ(value, 6);
        }
    }
}

// Bytes that come after a command failed belong to no command: they are drained and logged, and
// the next command reads only its own answer.
TEST_F(NceBinaryDriverTest, LateAndStrayBytesAreDrainedAndLogged) {
    uint8_t value = 0;
    answers_[0xA9] = "";
    EXPECT_EQ(driver_.readCv(1, &value), stationNoAnswer);
    port_->incoming.assign({0x05, '!'}); // the late answer
    answers_[0xA9] = "\x11!";
    EXPECT_EQ(driver_.readCv(2, &value), 0);
    EXPECT_EQ(value, 0x11);
    EXPECT_STREQ(driver_.log()->text(),
                 "> AA\r\n< 06 02 01\r\n> 9E\r\n< 21\r\n> A9 00 01\r\n< (nothing)\r\n"
                 "stray 05 21\r\n> A9 00 02\r\n< 11 21\r\n");
}

TEST_F(NceBinaryDriverTest, ARefusedCvCommandEntersProgrammingModeAgain) {
    uint8_t value = 0;
    EXPECT_EQ(driver_.readCv(1, &value), 0);
    answers_[0xA8] = "0"; // the station was power-cycled
    EXPECT_EQ(driver_.writeCv(1, 5), 1);
    EXPECT_FALSE(driver_.inProgrammingMode());
    answers_[0xA8] = "!";
    EXPECT_EQ(driver_.writeCv(1, 5), 0);
    EXPECT_EQ(commands_, (std::vector<std::string>{"AA", "9E", "A9 00 01", "A8 00 01 05", "9E",
                                                   "A8 00 01 05"}));
}

TEST_F(NceBinaryDriverTest, FailedShortCircuitStillLeavesProgrammingModeAtClose) {
    answers_[0x9E] = "3";
    uint8_t value = 0;
    EXPECT_EQ(driver_.readCv(1, &value), 1);
    setStationErrorText("kept");
    answers_[0x9F] = ""; // a silent station does not change the message close leaves
    EXPECT_EQ(driver_.close(), 0);
    EXPECT_STREQ(stationErrorText(), "kept");
    EXPECT_EQ(commands_, (std::vector<std::string>{"AA", "9E", "9F"}));
    EXPECT_FALSE(port_->open);
}

// The CV limit follows the station's version, asked once per connection and only when needed.
TEST_F(NceBinaryDriverTest, HighestSafeCvFollowsTheVersion) {
    struct Case {
        std::string version; // "" : the station does not answer
        int32_t limit;
    } cases[] = {
        {std::string("\x07\x03\x03"), noCvLimit},    // Power Cab 1.65 through USB
        {std::string("\x07\x03\x00", 3), noCvLimit}, // Power Cab 1.28c through USB
        {std::string("\x06\x03\x00", 3), noCvLimit}, // Power Cab 1.28 through USB
        {std::string("\x06\x02\x03"), noCvLimit},    // Powerhouse Pro EPROM of 2021
        {std::string("\x06\x02\x01"), 255},          {std::string("\x06\x02\x00", 3), 255},
        {std::string("\x07\x03\x06"), 255},       // Powerhouse Pro through USB
        {std::string("\x07\x03\x07"), noCvLimit}, // the interface for all systems
        {std::string("\x08\x00\x00", 3), 255},       {"", 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(hex(c.version));
        ASSERT_EQ(driver_.open(nullptr), 0);
        answers_[0xAA] = c.version;
        commands_.clear();
        setStationErrorText("before");
        EXPECT_EQ(driver_.highestSafeCv(), c.limit);
        EXPECT_EQ(driver_.highestSafeCv(), c.limit);
        EXPECT_EQ(commands_, std::vector<std::string>{"AA"}); // asked once, no 9E, no 9F
        EXPECT_STREQ(stationErrorText(), "before");
    }
    driver_.close();
    EXPECT_EQ(driver_.highestSafeCv(), 255); // closed: nothing asked
}

TEST_F(NceBinaryDriverTest, ShortWritesAndClosedPortsFail) {
    port_->writeLimit = 0;
    uint8_t value = 0;
    EXPECT_EQ(driver_.readCv(1, &value), 1);
    EXPECT_STREQ(stationErrorText(), "The command could not be sent to the NCE station");
    port_->writeLimit = static_cast<size_t>(-1);
    port_->open = false;
    EXPECT_EQ(driver_.writeCv(1, 1), 1);
    EXPECT_STREQ(stationErrorText(), "The command could not be sent to the NCE station");
}

} // namespace
