#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "station_fakes.h"
#include "stations/serial_link.h"
#include "stations/serial_log_window.h"
#include "stations/station_manager.h"

namespace {

class SerialLinkTest : public testing::Test {
  protected:
    SerialLinkTest() : link_(std::make_unique<FakeSerialPort>(port_), &log_) {}

    void arrive(const std::string& bytes) {
        port_->incoming.insert(port_->incoming.end(), bytes.begin(), bytes.end());
    }

    std::shared_ptr<FakeSerialPort::State> port_ = std::make_shared<FakeSerialPort::State>();
    SerialLogWindow log_{4096};
    SerialLink link_;
    RecordedPauses pauses_;
};

TEST_F(SerialLinkTest, OpenFailuresReportTheirStepAndLeaveTheLinkClosed) {
    struct Case {
        SerialOpenStep step;
        const char* text;
    } cases[] = {{serialCannotOpen, "Error opening port"},
                 {serialEventsRejected, "Error configuring port"},
                 {serialTimeoutsRejected, "Error configuring port"},
                 {serialLineRejected, "Error configuring port - baud rate"}};
    for (const Case& c : cases) {
        port_->openResult = c.step;
        EXPECT_EQ(link_.openPort(), c.step);
        EXPECT_STREQ(stationErrorText(), c.text);
        EXPECT_FALSE(link_.isOpen());
    }
    port_->openResult = serialOpened;
    link_.setBaudIndex(7); // any non-zero index is 19200
    link_.setPortName("");
    EXPECT_EQ(link_.openPort(), 0);
    EXPECT_EQ(port_->openedName, "COM1");
    EXPECT_EQ(port_->openedBaud, 19200u);
}

TEST_F(SerialLinkTest, SendingPausesFirstAndLogsTheLine) {
    link_.openPort();
    EXPECT_EQ(link_.sendText("R029\r\n", 6), 6u);
    EXPECT_EQ(pauses_.list(), (std::vector<unsigned>{100}));
    EXPECT_EQ(port_->written, "R029\r\n");
    EXPECT_STREQ(log_.text(), "R029\r\n");

    port_->writeLimit = 3;
    EXPECT_EQ(link_.sendText("M\r\nX", 4), 3u);
}

TEST_F(SerialLinkTest, AwaitPromptReturnsTheTextBeforeIt) {
    link_.openPort();
    char buffer[200];
    arrive("COMMAND: ");
    EXPECT_EQ(link_.awaitPrompt(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");

    arrive("3\r\nCOMMAND: trailing");
    EXPECT_EQ(link_.awaitPrompt(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "3\r\n");
    EXPECT_EQ(port_->incoming.size(), 8u); // reading stops right after the prompt

    // Partial prompts inside the text, and a doubled first letter before the real one.
    arrive("COMMA COMMAND:x CCOMMAND: ");
    EXPECT_EQ(link_.awaitPrompt(buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "trailingCOMMA COMMAND:x C");

    arrive(std::string(500, 'z') + "COMMAND: ");
    EXPECT_EQ(link_.awaitPrompt(buffer, 10), 0);
    EXPECT_STREQ(buffer, "zzzzzzzzz");
    EXPECT_EQ(link_.awaitPrompt(nullptr, 0), 1); // nothing left: times out
    EXPECT_STREQ(stationErrorText(), "NO DATA RETURNED");

    arrive("12COMMAND");
    EXPECT_EQ(link_.awaitPrompt(buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "12COMMAND");
}

TEST_F(SerialLinkTest, AnAnswerIsLoggedWholeWithoutItsNulBytes) {
    link_.openPort();
    arrive(std::string("\0"
                       "3\0\r\nCOMMAND: ",
                       14));
    EXPECT_EQ(link_.awaitPrompt(nullptr, 0), 0);
    EXPECT_STREQ(log_.text(), "3\r\nCOMMAND: ");
    arrive("NO FEEDBACK DETECTED\r\n"); // a failure is logged too, prompt or none
    EXPECT_EQ(link_.awaitPrompt(nullptr, 0), answerRefused);
    EXPECT_STREQ(log_.text(), "3\r\nCOMMAND: NO FEEDBACK DETECTED\r\n");
}

TEST_F(SerialLinkTest, AChatteringLineEndsTheWaitByBytesOrByTime) {
    FakeClock clock;
    link_.openPort();
    struct Case {
        unsigned readMs; // how long each byte takes to come
        size_t bytesTaken;
        unsigned lastWaitMs; // no read may wait past the answer's deadline
    } cases[] = {
        {0, 1024, 16000}, // fast noise: the byte limit ends the wait
        {50, 320, 50},    // slow noise: 16 s from the start end it
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readMs);
        port_->chatter = "CO";
        port_->chatterSent = 0;
        port_->readMs = c.readMs;
        clock.now() = 1000;
        char buffer[200];
        EXPECT_EQ(link_.awaitPrompt(buffer, sizeof buffer), 1);
        EXPECT_STREQ(stationErrorText(), "NO DATA RETURNED");
        EXPECT_EQ(port_->chatterSent, c.bytesTaken);
        EXPECT_EQ(port_->lastWaitMs, c.lastWaitMs);
        EXPECT_EQ(std::string(buffer).substr(0, 4), "COCO");
    }
}

TEST_F(SerialLinkTest, APromptWithinTheByteLimitIsStillSeen) {
    link_.openPort();
    arrive(std::string(1015, 'z') + "COMMAND: "); // the prompt ends on the 1024th byte
    EXPECT_EQ(link_.awaitPrompt(nullptr, 0), 0);
    arrive(std::string(1016, 'z') + "COMMAND: ");
    EXPECT_EQ(link_.awaitPrompt(nullptr, 0), 1);
    EXPECT_EQ(port_->incoming.size(), 1u); // the wait ended at the 1024th byte
}

TEST_F(SerialLinkTest, DrainDiscardsWaitingInputButLogsIt) {
    link_.drainInput(); // closed: nothing happens
    link_.openPort();
    arrive(std::string(450, 'a') + "\n");
    link_.drainInput();
    EXPECT_TRUE(port_->incoming.empty());
    EXPECT_EQ(std::strlen(log_.text()), 451u);
    EXPECT_EQ(port_->timeouts, 0);
}

TEST(SerialLogWindow, CapacityHasAFloor) {
    EXPECT_EQ(SerialLogWindow(10).capacity(), 128u);
    EXPECT_EQ(SerialLogWindow(4096).capacity(), 4096u);
}

TEST(SerialLogWindow, FullBufferLosesItsOldestWholeLines) {
    SerialLogWindow log(128);
    std::string line = std::string(29, 'a') + "\n"; // 30 bytes a line
    for (char c : {'a', 'b', 'c', 'd'}) {
        std::string text = line;
        text.replace(0, 29, 29, c);
        log.appendText(text.c_str());
    }
    EXPECT_EQ(std::strlen(log.text()), 120u);
    log.appendText("0123456789\n"); // does not fit: the oldest line goes, nothing else
    std::string kept = log.text();
    EXPECT_EQ(kept.substr(0, 3), "bbb");
    EXPECT_EQ(kept.size(), 101u);
    EXPECT_EQ(kept.substr(kept.size() - 11), "0123456789\n");

    // No line end beyond the new text's length: everything goes.
    SerialLogWindow flat(128);
    flat.appendText(std::string(125, 'x').c_str());
    flat.appendText("new text");
    EXPECT_STREQ(flat.text(), "new text");
}

TEST(SerialLogWindow, AnyLengthAndAnyBytesAreSafe) {
    SerialLogWindow log(128);
    log.append("\0hidden", 7); // a chunk that starts with NUL adds nothing
    EXPECT_STREQ(log.text(), "");
    log.append("ab\0cd", 5); // the text stops at a NUL
    EXPECT_STREQ(log.text(), "ab");
    log.append(nullptr, 5);

    std::string huge(10000, 'q');
    huge.back() = 'E';
    log.append(huge.data(), huge.size());
    EXPECT_EQ(std::strlen(log.text()), 128u); // the most recent bytes, up to capacity
    EXPECT_EQ(log.text()[127], 'E');
    log.appendText("more");
    EXPECT_STREQ(log.text(), "more");
}

} // namespace

namespace {

// A binary driver's link: commands go out without a pause, and each command, answer and run of
// stray bytes reads as a line of hexadecimal bytes, 32 to a line.
TEST(SerialLinkHexLogTest, OneLinePerCommandAnswerAndStrayRun) {
    auto port = std::make_shared<FakeSerialPort::State>();
    SerialLogWindow log(4096);
    SerialLink link(std::make_unique<FakeSerialPort>(port), &log, TrafficLogStyle::hex);
    RecordedPauses pauses;
    link.openPort();
    const uint8_t command[] = {0xA9, 0x00, 0x1D};
    EXPECT_EQ(link.sendBytes(command, sizeof command), 3u);
    port->incoming.assign({0x06, '!', 0x07});
    uint8_t answer[2] = {};
    EXPECT_EQ(link.receiveAnswer(answer, sizeof answer, 100, 10), 2u);
    EXPECT_EQ(link.queuedBytes(), 1u);
    EXPECT_EQ(link.receiveAnswer(answer, sizeof answer, 100, 10), 1u); // the rest of it
    EXPECT_EQ(link.receiveAnswer(answer, sizeof answer, 100, 10), 0u);
    port->incoming.assign(33, 0xEE);
    link.drainInput();
    std::string strayRun;
    for (int i = 0; i < 32; ++i)
        strayRun += " EE";
    EXPECT_EQ(std::string(log.text()), "> A9 00 1D\r\n< 06 21\r\n< 07\r\n< (nothing)\r\nstray" +
                                           strayRun + "\r\nstray EE\r\n");
    EXPECT_TRUE(pauses.list().empty());
}

} // namespace
