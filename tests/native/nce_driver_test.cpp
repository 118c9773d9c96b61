#include <gtest/gtest.h>

#include <string>

#include "station_fakes.h"
#include "stations/nce_driver.h"
#include "stations/station_manager.h"

namespace {

// A station whose decoder answers reads with `readAnswer`.
class NceDriverTest : public testing::Test {
  protected:
    NceDriverTest() : driver_(std::make_unique<FakeSerialPort>(port_)) {
        port_->respond = [this](const std::string& line) {
            lines_.push_back(line);
            if (silentAfter_ >= 0 && static_cast<int>(lines_.size()) > silentAfter_)
                return std::string();
            if (line[0] == 'R')
                return readAnswer_ + "COMMAND: ";
            if (line[0] == 'P')
                return writeAnswer_ + "COMMAND: ";
            if (line[0] == 'V')
                return std::string("NCE v7\r\nCOMMAND: ");
            return std::string("COMMAND: ");
        };
    }

    void openDriver() { ASSERT_EQ(driver_.open(nullptr), 0); }

    std::shared_ptr<FakeSerialPort::State> port_ = std::make_shared<FakeSerialPort::State>();
    NceDriver driver_;
    RecordedPauses pauses_;
    std::vector<std::string> lines_;
    std::string readAnswer_ = "6\r\n";
    std::string writeAnswer_;
    int silentAfter_ = -1; // lines answered before the station goes quiet; -1 = all
};

TEST_F(NceDriverTest, IdentityAndDefaults) {
    EXPECT_STREQ(driver_.name(), "NCE Corporation - Powerhouse Pro");
    EXPECT_EQ(driver_.getTag(), 0x7045434Eu);
    EXPECT_EQ(driver_.getConfig(), "9600|COM1");
    EXPECT_EQ(driver_.stationMode(), 0);
    EXPECT_EQ(driver_.createOptionsPage(nullptr), nullptr);
}

TEST_F(NceDriverTest, ConfigurationTextSetsPortAndBaudForThisOpen) {
    ASSERT_EQ(driver_.open("19200|COM2"), 0);
    EXPECT_EQ(port_->openedName, "COM2");
    EXPECT_EQ(port_->openedBaud, 19200u);
    EXPECT_EQ(driver_.getConfig(), "19200|COM2");

    driver_.open("9600"); // no bar: nothing changes
    EXPECT_EQ(port_->openedName, "COM2");
    EXPECT_EQ(port_->openedBaud, 19200u);
    driver_.open("abc|");
    EXPECT_EQ(port_->openedName, "COM1");
    EXPECT_EQ(port_->openedBaud, 9600u);
    driver_.open("19200|/dev/ttyUSB0|x"); // split at the first bar only
    EXPECT_EQ(port_->openedName, "/dev/ttyUSB0|x");
    EXPECT_TRUE(port_->written.empty()); // opening sends nothing

    // Long port names round-trip without being cut.
    std::string name(199, 'p');
    driver_.open(("19200|" + name).c_str());
    EXPECT_EQ(port_->openedName, name);
    std::string config = driver_.getConfig();
    EXPECT_EQ(config, "19200|" + name);
    driver_.open(config.c_str());
    EXPECT_EQ(port_->openedName, name);

    driver_.setPortName(nullptr);
    driver_.setBaudIndex(0);
    EXPECT_EQ(driver_.getConfig(), "9600|COM1");
}

TEST_F(NceDriverTest, FailedOpenResetsTheModeAndReportsTheStep) {
    openDriver();
    uint8_t value;
    driver_.readCv(1, &value);
    EXPECT_EQ(driver_.stationMode(), 1);
    port_->openResult = serialLineRejected;
    EXPECT_EQ(driver_.open("19200|COM3"), 4);
    EXPECT_STREQ(stationErrorText(), "Error configuring port - baud rate");
    EXPECT_EQ(driver_.stationMode(), 0);
}

TEST_F(NceDriverTest, ExactBytesOnTheWire) {
    openDriver();
    uint8_t value = 0;
    driver_.readCv(7, &value);
    driver_.writeCv(1, 255);
    driver_.writeCv(29, 300);
    driver_.readCv(1024, &value);
    EXPECT_EQ(port_->written, "M\r\nR007\r\nP001 255\r\nP029 044\r\nR1024\r\n");
    // Every line waits 100 ms first; the first CV command a second more after M.
    EXPECT_EQ(pauses_.list(), (std::vector<unsigned>{100, 1000, 100, 100, 100, 100}));
}

// Every answer shape a station may give a read or a write, prompt appended by the fake.
TEST_F(NceDriverTest, AnswersAreJudgedByTheirWordsNotTheirBlanks) {
    openDriver();
    const std::string blanks200(200, ' ');
    struct Case {
        char command; // 'R' or 'P'
        std::string answer;
        int result;
        int value;         // reads only
        const char* error; // null: cleared
    } cases[] = {
        {'R', "3\r\n", 0, 3, nullptr},
        {'R', "255\r\n", 0, 255, nullptr},
        {'R', "\r\n006\r\n", 0, 6, nullptr},
        {'R', " \t\r\n 42 \r\n", 0, 42, nullptr},
        {'R', blanks200 + "17\r\n", 0, 17, nullptr},
        {'R', "256\r\n", 1, 0, "ERROR INVALID DATA"},
        {'R', "123456\r\n", 1, 0, "ERROR INVALID DATA"},
        {'R', "\r\n  ERROR  \r\nmore", 1, 0, "ERROR"},
        {'R', "NO ACKNOWLEDGE FROM DECODER\r\nmore", 1, 0, "NO ACKNOWLEDGE FROM DECODER"},
        {'R',
         std::string("\0\0"
                     "12\r\n",
                     6),
         1, 0, "ERROR INVALID DATA"},
        {'R', "\r\n", 1, 0, "NO DATA RETURNED"},
        {'R', " \t \r\n\r\n ", 1, 0, "NO DATA RETURNED"},
        {'P', "", 0, 0, nullptr},
        {'P', "\r\n", 0, 0, nullptr},
        {'P', " \r\n\r\n\t", 0, 0, nullptr},
        {'P', "C", 1, 0, "C"},
        {'P', "NO ACKNOWLEDGE FROM DECODER\r\n", 1, 0, "NO ACKNOWLEDGE FROM DECODER"},
        {'P', "\r\n?\r\n", 1, 0, "?"},
        {'P', std::string("\r\n\0", 3), 1, 0, "ERROR INVALID DATA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command + c.answer);
        int result;
        uint8_t value = 99;
        if (c.command == 'R') {
            readAnswer_ = c.answer;
            result = driver_.readCv(29, &value);
            EXPECT_EQ(value, c.value);
        } else {
            writeAnswer_ = c.answer;
            result = driver_.writeCv(29, 6);
        }
        EXPECT_EQ(result, c.result);
        if (c.error) {
            EXPECT_STREQ(stationErrorText(), c.error);
        } else {
            EXPECT_EQ(stationErrorText(), nullptr);
        }
    }
}

// An answer up to the link's byte limit is kept whole, so no value is lost behind blanks.
TEST_F(NceDriverTest, AWholeAnswerFitsTheAnswerBuffer) {
    openDriver();
    readAnswer_ = std::string(1000, 'g') + "\r\n";
    uint8_t value = 0;
    EXPECT_EQ(driver_.readCv(29, &value), 1);
    EXPECT_EQ(std::string(stationErrorText()), std::string(1000, 'g'));
    readAnswer_ = std::string(1000, ' ') + "9\r\n";
    EXPECT_EQ(driver_.readCv(29, &value), 0);
    EXPECT_EQ(value, 9);
}

// The station's failures may come without a prompt: they end the answer at once, the station's
// words reach the caller, and a prompt that follows is taken with them.
TEST_F(NceDriverTest, StationFailuresEndTheWaitWithTheirOwnWords) {
    FakeClock clock;
    openDriver();
    const std::string cnu = "COMMAND NOT UNDERSTOOD";
    struct Case {
        std::string answer; // to every command, "M" and "X" included
        std::string error;
    } cases[] = {
        {cnu, cnu},
        {cnu + " ****\r\nCOMMAND: ", cnu},
        {"\r\nNO FEEDBACK DETECTED\r\n", "NO FEEDBACK DETECTED"},
        {"ABCDEF " + cnu + " ****\r\nCOMMAND: ", cnu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        port_->respond = [&](const std::string&) { return c.answer; };
        uint8_t value = 99;
        const int failed = c.error == "NO FEEDBACK DETECTED" ? decoderNoAcknowledge : 1;
        EXPECT_EQ(driver_.readCv(29, &value), failed);
        EXPECT_EQ(stationErrorText(), c.error);
        EXPECT_EQ(value, 0);
        EXPECT_EQ(driver_.writeCv(29, 6), failed);
        EXPECT_EQ(stationErrorText(), c.error);
        StationVersionInfo info{};
        EXPECT_EQ(driver_.getVersion(&info), 1);
        EXPECT_EQ(driver_.versionText(), c.error);
        EXPECT_TRUE(port_->incoming.empty()); // nothing left to confuse the next command
        EXPECT_EQ(driver_.stationMode(), 0);
        // Only a short quiet was waited for after the words, never the answer's 16 s.
        EXPECT_LE(port_->lastWaitMs, 200u);
    }
}

TEST_F(NceDriverTest, ModeSwitchesOnlyWhenNeeded) {
    openDriver();
    uint8_t value;
    driver_.readCv(1, &value);
    driver_.readCv(2, &value);
    StationVersionInfo info{};
    ASSERT_EQ(driver_.getVersion(&info), 0);
    EXPECT_EQ(info.marker, 1);
    EXPECT_STREQ(info.text, "NCE v7\r\n");
    EXPECT_STREQ(driver_.versionText(), "NCE v7\r\n");
    EXPECT_EQ(driver_.stationMode(), 2);
    driver_.readCv(3, &value);
    EXPECT_EQ(lines_, (std::vector<std::string>{"M", "R001", "R002", "X", "V", "M", "R003"}));
}

TEST_F(NceDriverTest, SilentStationFailuresKeepTheirOwnMessages) {
    openDriver();
    uint8_t value = 5;
    silentAfter_ = 0; // nothing answers
    const std::string hint = ": the station did not answer. Is it switched on, and are port and "
                             "speed right? Else press Find Station on Connection Setup.";
    EXPECT_EQ(driver_.readCv(1, &value), stationNoAnswer);
    EXPECT_EQ(stationErrorText(), "ERROR ENTERING PROGRAM MODE" + hint);
    EXPECT_EQ(driver_.stationMode(), 0);
    EXPECT_EQ(port_->timeouts, 1); // a station silent to M is not asked to read
    EXPECT_EQ(driver_.writeCv(1, 3), stationNoAnswer);
    EXPECT_EQ(stationErrorText(), "ERROR ENTERING PROGRAM MODE" + hint);
    StationVersionInfo info{};
    EXPECT_EQ(driver_.getVersion(&info), stationNoAnswer);
    EXPECT_EQ(stationErrorText(), "ERROR ENTERING MAIN MODE" + hint);
    EXPECT_EQ(driver_.versionText(), "ERROR ENTERING MAIN MODE" + hint);
    EXPECT_EQ(lines_, (std::vector<std::string>{"M", "M", "X"}));
}

TEST_F(NceDriverTest, AChatteringLineFailsEachCommandInsteadOfHanging) {
    openDriver();
    silentAfter_ = 0;
    port_->chatter = "CO";
    uint8_t value = 5;
    EXPECT_EQ(driver_.readCv(1, &value), stationNoAnswer);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(driver_.writeCv(1, 3), stationNoAnswer);
    StationVersionInfo info{};
    EXPECT_EQ(driver_.getVersion(&info), stationNoAnswer);
    EXPECT_EQ(std::string(stationErrorText()).rfind("ERROR ENTERING MAIN MODE", 0), 0u);
    // M, M, X: each wait ended at the byte limit, and no CV command followed.
    EXPECT_EQ(port_->chatterSent, 3u * 1024);
}

TEST_F(NceDriverTest, ARefusedModeSwitchStillSendsTheCommand) {
    openDriver();
    port_->respond = [this](const std::string& line) {
        lines_.push_back(line);
        return line == "M" ? std::string("COMMAND NOT UNDERSTOOD\r\n")
                           : std::string("42\r\nCOMMAND: ");
    };
    uint8_t value = 0;
    EXPECT_EQ(driver_.readCv(8, &value), 0);
    EXPECT_EQ(value, 42);
    // The read succeeded, but the switch's message stays for the caller to see.
    EXPECT_STREQ(stationErrorText(), "COMMAND NOT UNDERSTOOD");
    EXPECT_EQ(lines_, (std::vector<std::string>{"M", "R008"}));
}

TEST_F(NceDriverTest, ShortWritesAreSendFailures) {
    openDriver();
    port_->writeLimit = 2;
    uint8_t value;
    EXPECT_EQ(driver_.readCv(1, &value), 1);
    EXPECT_STREQ(stationErrorText(), "ERROR SENDING DATA");
    EXPECT_EQ(driver_.writeCv(1, 1), 1);
    EXPECT_STREQ(stationErrorText(), "ERROR SENDING DATA");
    StationVersionInfo info{};
    EXPECT_EQ(driver_.getVersion(&info), 1);
    EXPECT_STREQ(info.text, "");
}

TEST_F(NceDriverTest, StaleInputIsDrainedBeforeEachCommand) {
    openDriver();
    uint8_t value;
    driver_.readCv(1, &value);
    port_->incoming.assign({'9', '9', '\r', '\n', 'C', 'O', 'M', 'M', 'A', 'N', 'D', ':', ' '});
    readAnswer_ = "17\r\n";
    EXPECT_EQ(driver_.readCv(2, &value), 0);
    EXPECT_EQ(value, 17);
    EXPECT_NE(std::string(driver_.log()->text()).find("99\r\nCOMMAND: R002"), std::string::npos);
}

TEST_F(NceDriverTest, CloseLeavesProgrammingModeAndWaits) {
    openDriver();
    uint8_t value;
    driver_.readCv(1, &value);
    pauses_.list().clear();
    port_->incoming.assign({'x'});
    EXPECT_EQ(driver_.close(), 0);
    EXPECT_EQ(lines_.back(), "X");
    EXPECT_EQ(pauses_.list(), (std::vector<unsigned>{100, 250}));
    // The stale byte was drained; the prompt after "X" is never awaited.
    EXPECT_EQ(std::string(port_->incoming.begin(), port_->incoming.end()), "COMMAND: ");
    EXPECT_FALSE(port_->open);
    EXPECT_EQ(driver_.stationMode(), 0);
}

TEST_F(NceDriverTest, ConstructionRegistersAndDestructionUnregisters) {
    ASSERT_NE(stationList(), nullptr);
    uint32_t before = stationList()->size();
    {
        NceDriver second(std::make_unique<FakeSerialPort>(port_));
        EXPECT_EQ(stationList()->size(), before + 1);
    }
    EXPECT_EQ(stationList()->size(), before);
}

} // namespace
