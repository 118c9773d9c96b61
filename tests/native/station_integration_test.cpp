// The driver over the real POSIX port, talking to the simulated station on a pseudo-terminal
// with the real pacing.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "sim_station_process.h"
#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/station_advice.h"
#include "stations/station_manager.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string configFor(const SimStationProcess& station) {
    return "9600|" + station.device();
}

TEST(StationIntegration, ReadsWritesAndVersionThroughTheManager) {
    SimStationProcess station;
    ASSERT_FALSE(station.device().empty());
    NceDriver* driver = new NceDriver();
    driver->setPortName(station.device().c_str());
    selectStation(0);
    ASSERT_EQ(isStationOpen(), 1) << stationErrorText();

    uint8_t value = 0;
    ASSERT_EQ(stationReadCv(29, &value), 0) << stationErrorText();
    EXPECT_EQ(value, 6);
    ASSERT_EQ(stationWriteCv(29, 34), 0) << stationErrorText();
    ASSERT_EQ(stationReadCv(29, &value), 0);
    EXPECT_EQ(value, 34);
    ASSERT_EQ(stationWriteCv(8, 99), 0); // the decoder ignores writes to its ID
    ASSERT_EQ(stationReadCv(8, &value), 0);
    EXPECT_EQ(value, 11);
    ASSERT_EQ(stationReadCv(1024, &value), 0);

    StationVersionInfo info{};
    ASSERT_EQ(stationGetVersion(&info), 0) << stationErrorText();
    EXPECT_STREQ(info.text, "NCE Powerhouse Pro simulator 1.0\r\n");
    saveAndShutdownStations();

    EXPECT_EQ(station.receivedLines(),
              (std::vector<std::string>{"M", "R029", "P029 034", "R029", "P008 099", "R008",
                                        "R1024", "X", "V", "X"}));
}

// The binary driver against the binary station: a Power Cab behind the USB interface, whose
// programming track writes CVs above 255 where they belong.
TEST(StationIntegration, BinaryDriverReadsWritesAndAsksTheVersion) {
    SimStationProcess station({"--protocol", "binary", "--system", "power-cab-usb-7.3.3"});
    ASSERT_FALSE(station.device().empty());
    static int asked = 0;
    const SingleTrackCheck previous =
        setSingleTrackCheck([](const std::string&) { return ++asked > 0; });
    NceBinaryDriver* driver = new NceBinaryDriver();
    driver->setPortName(station.device().c_str());
    selectStation(0);
    ASSERT_EQ(isStationOpen(), 1) << stationErrorText();

    StationVersionInfo info{};
    ASSERT_EQ(stationGetVersion(&info), 0) << stationErrorText();
    EXPECT_STREQ(info.text, "7.3.3 (Power Cab 1.65 through the USB interface)");
    EXPECT_EQ(stationHighestSafeCv(), noCvLimit);
    uint8_t value = 0;
    ASSERT_EQ(stationReadCv(29, &value), 0) << stationErrorText();
    EXPECT_EQ(value, 6);
    ASSERT_EQ(stationWriteCv(285, 34), 0) << stationErrorText();
    ASSERT_EQ(stationReadCv(285, &value), 0);
    EXPECT_EQ(value, 34);
    ASSERT_EQ(stationReadCv(29, &value), 0);
    EXPECT_EQ(value, 6);
    saveAndShutdownStations();
    setSingleTrackCheck(previous);
    EXPECT_EQ(asked, 1); // once per connection, before the first programming command

    EXPECT_EQ(station.receivedLines(),
              (std::vector<std::string>{"AA", "9E", "A9 00 1D", "A8 01 1D 22", "A9 01 1D",
                                        "A9 00 1D", "9F"}));
}

TEST(StationIntegration, CommandLinesAreAtLeastAPauseApart) {
    SimStationProcess station;
    NceDriver driver;
    ASSERT_EQ(driver.open(configFor(station).c_str()), 0);
    uint8_t value = 0;
    auto start = Clock::now();
    for (int cv = 1; cv <= 4; ++cv)
        ASSERT_EQ(driver.readCv(cv, &value), 0);
    auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(5 * 100)); // "M" and four reads
    start = Clock::now();
    driver.close();
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(100 + 250));
}

TEST(StationIntegration, FaultyAnswersFailWithClearMessages) {
    struct Case {
        const char* fault;
        int result;
        const char* error;
        int writeResult;
    } cases[] = {
        {"no-decoder", 1, "NO ACKNOWLEDGE FROM DECODER", 1},
        {"value-over-255", 1, "ERROR INVALID DATA", 0},
        {"nul-bytes", 1, "ERROR INVALID DATA", 0},
        // A stray letter before the prompt is text the station sent: the write is not trusted.
        {"doubled-prompt-letter", 0, nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        SimStationProcess station({"--fault", c.fault});
        NceDriver driver;
        ASSERT_EQ(driver.open(configFor(station).c_str()), 0);
        uint8_t value = 77;
        EXPECT_EQ(driver.readCv(29, &value), c.result);
        if (c.error) {
            EXPECT_STREQ(stationErrorText(), c.error);
            EXPECT_EQ(value, 0);
        } else {
            EXPECT_EQ(value, 6);
            EXPECT_EQ(stationErrorText(), nullptr);
        }
        // The connection stays usable after a failed command; a write the decoder did not
        // take is no success.
        EXPECT_EQ(driver.writeCv(3, 5), c.writeResult);
    }
}

// A station that answers as real ones do: values framed in line ends, its own failure words,
// with or without a prompt after them. Every command ends in well under a second, beside the
// second the programming track settles after M.
TEST(StationIntegration, RealAnswerStylesGiveValuesOrTheStationsWords) {
    const std::string nfd = "NO FEEDBACK DETECTED";
    const std::string cnu = "COMMAND NOT UNDERSTOOD";
    const std::string version = "NCE Powerhouse Pro simulator 1.0\r\n";
    struct Case {
        std::vector<std::string> options;
        std::string readError; // empty: reads 6
        std::string writeError;
        std::string versionText;
    } cases[] = {
        {{"--answer-style", "real"}, "", "", version},
        {{"--answer-style", "real", "--no-feedback-cv", "29"}, nfd, nfd, version},
        {{"--answer-style", "real-no-prompt", "--fault", "no-decoder"}, nfd, nfd, version},
        {{"--answer-style", "real-no-prompt", "--fault", "not-understood"}, cnu, cnu, cnu},
        {{"--answer-style", "real", "--fault", "not-understood"}, cnu, cnu, cnu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.back());
        SimStationProcess station(c.options);
        NceDriver driver;
        ASSERT_EQ(driver.open(configFor(station).c_str()), 0);
        uint8_t value = 77;
        auto start = Clock::now();
        const int read = driver.readCv(29, &value);
        EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
        EXPECT_EQ(read != 0, !c.readError.empty());
        EXPECT_EQ(value, c.readError.empty() ? 6 : 0);
        if (read != 0) {
            EXPECT_EQ(stationErrorText(), c.readError);
        }
        const int write = driver.writeCv(29, 5);
        EXPECT_EQ(write != 0, !c.writeError.empty());
        if (write != 0) {
            EXPECT_EQ(stationErrorText(), c.writeError);
        }
        StationVersionInfo info{};
        driver.getVersion(&info);
        EXPECT_EQ(driver.versionText(), c.versionText);
        // The answers stayed in step: after the failures the next read still gets its own.
        uint8_t again = 0;
        if (c.readError.empty()) {
            EXPECT_EQ(driver.readCv(1, &again), 0);
            EXPECT_EQ(again, 3);
        }
    }
}

TEST(StationIntegration, OverlongAnswersAreCutNeverOverflowed) {
    SimStationProcess station({"--fault", "overlong"});
    NceDriver driver;
    ASSERT_EQ(driver.open(configFor(station).c_str()), 0);
    uint8_t value = 0;
    EXPECT_EQ(driver.readCv(1, &value), 1);
    EXPECT_EQ(std::string(stationErrorText()).size(), 901u); // the noise, then CV 1's value
    StationVersionInfo info{};
    EXPECT_EQ(driver.getVersion(&info), 0);
    EXPECT_EQ(std::string(info.text).size(), 249u);
    // The log kept whole recent lines and stayed within its buffer.
    EXPECT_LE(std::string(driver.log()->text()).size(), 4096u);
}

// A read from a station started with these options that never answers with the prompt: the
// mode switch fails, and the read ends there with a hint, without a read command.
Clock::duration unansweredRead(const std::vector<std::string>& options) {
    SimStationProcess station(options);
    NceDriver driver;
    EXPECT_EQ(driver.open(configFor(station).c_str()), 0);
    uint8_t value = 9;
    auto start = Clock::now();
    EXPECT_EQ(driver.readCv(1, &value), stationNoAnswer);
    auto elapsed = Clock::now() - start;
    EXPECT_EQ(std::string(stationErrorText()).rfind("ERROR ENTERING PROGRAM MODE: ", 0), 0u);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(station.receivedLines(), (std::vector<std::string>{"M"}));
    return elapsed;
}

TEST(StationIntegration, SilentStationTimesOutOnce) {
    auto elapsed = unansweredRead({"--fault", "silent"});
    // The mode switch waits out the answer wait, and no longer.
    EXPECT_GE(elapsed, std::chrono::seconds(16));
    EXPECT_LT(elapsed, std::chrono::seconds(30));
}

TEST(StationIntegration, AFastChatteringLineEndsEachWaitAtTheByteLimit) {
    // 1024 bytes at 2 bytes a millisecond.
    auto elapsed = unansweredRead({"--fault", "chatter", "--chatter-ms", "1"});
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}

// Slow: about 16 s. Skip by hand with ctest -E Slow.
TEST(StationIntegration, SlowChatteringLineEndsEachWaitAfter16Seconds) {
    auto elapsed = unansweredRead({"--fault", "chatter"}); // "CO" every 50 ms
    EXPECT_GE(elapsed, std::chrono::seconds(15));
    EXPECT_LT(elapsed, std::chrono::seconds(18));
}

TEST(StationIntegration, AVanishingPortFailsQuickly) {
    auto station = std::make_unique<SimStationProcess>();
    NceDriver driver;
    ASSERT_EQ(driver.open(configFor(*station).c_str()), 0);
    uint8_t value = 0;
    ASSERT_EQ(driver.readCv(1, &value), 0);
    station.reset();
    auto start = Clock::now();
    EXPECT_EQ(driver.readCv(2, &value), 1);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_NE(stationErrorText(), nullptr);
    driver.close();
}

TEST(StationIntegration, PortsThatCannotBeUsed) {
    NceDriver driver;
    EXPECT_EQ(driver.open("9600|/dev/velquist-no-such-port"), 1);
    EXPECT_STREQ(stationErrorText(), "Error opening port");
    EXPECT_EQ(driver.open("9600|/dev/null"), 2); // exists, but is no serial line
    EXPECT_STREQ(stationErrorText(), "Error configuring port");
}

} // namespace
