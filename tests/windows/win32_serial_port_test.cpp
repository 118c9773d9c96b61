// The Win32 serial port and the NCE driver against the simulated station on COM1.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "foundation/pause.h"
#include "stations/nce_driver.h"
#include "stations/station_manager.h"
#include "stations/win32_serial_port.h"

namespace {

std::string stationLog() {
    const char* path = std::getenv("VELQUIST_STATION_LOG");
    std::ifstream file(path ? path : "");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(Win32SerialPort, ReadsWritesAndAsksForTheVersionOnCom1) {
    NceDriver driver;
    ASSERT_EQ(driver.open("9600|COM1"), 0) << stationErrorText();

    uint8_t value = 0;
    ASSERT_EQ(driver.readCv(29, &value), 0) << stationErrorText();
    EXPECT_EQ(value, 6);
    ASSERT_EQ(driver.writeCv(3, 300), 0) << stationErrorText(); // low byte: 44
    ASSERT_EQ(driver.readCv(3, &value), 0);
    EXPECT_EQ(value, 44);

    StationVersionInfo info{};
    ASSERT_EQ(driver.getVersion(&info), 0) << stationErrorText();
    EXPECT_NE(std::string(info.text).find("NCE"), std::string::npos) << info.text;
    // The version query left programming mode, so the next read enters it again.
    ASSERT_EQ(driver.readCv(1, &value), 0);
    EXPECT_EQ(value, 3);
    driver.close();

    std::string log = stationLog();
    EXPECT_NE(log.find(" M\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" R029\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" P003 044\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" V\n"), std::string::npos) << log;
    EXPECT_NE(log.find(" X\n"), std::string::npos) << log;
}

TEST(Win32SerialPort, ConfiguresTheLineAsTheStationNeedsIt) {
    for (uint32_t baud : {9600u, 19200u}) {
        Win32SerialPort port;
        ASSERT_EQ(port.open("COM1", baud), serialOpened);
        DCB line{};
        line.DCBlength = sizeof line;
        ASSERT_TRUE(GetCommState(port.handle(), &line));
        EXPECT_EQ(line.BaudRate, baud);
        EXPECT_EQ(line.ByteSize, 8);
        EXPECT_EQ(line.Parity, NOPARITY);
        EXPECT_EQ(line.StopBits, ONESTOPBIT);
        EXPECT_EQ(line.fOutxCtsFlow, 0u);
        EXPECT_EQ(line.fOutX, 0u);
        EXPECT_EQ(line.fInX, 0u);
        COMMTIMEOUTS timeouts{};
        ASSERT_TRUE(GetCommTimeouts(port.handle(), &timeouts));
        EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 16000u);
        EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 2u);
        EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 5000u);
    }
}

// A read against an answer's deadline waits no longer than the time left, in 100 ms steps, and
// the next full wait is the 16 s one again.
TEST(Win32SerialPort, AReadWaitsNoLongerThanTheTimeLeft) {
    Win32SerialPort port;
    ASSERT_EQ(port.open("COM1", 9600), serialOpened);
    uint8_t answer[9] = {};
    // The answer to the last test's closing "X" may still wait on the line.
    while (port.clearErrorsAndCountQueued() > 0)
        port.read(answer, 1, readTimeoutConstantMs);
    DWORD start = GetTickCount();
    EXPECT_EQ(port.read(answer, 1, 350), 0u); // the station says nothing unasked
    EXPECT_LT(GetTickCount() - start, 5000u);
    COMMTIMEOUTS timeouts{};
    ASSERT_TRUE(GetCommTimeouts(port.handle(), &timeouts));
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 300u);

    ASSERT_EQ(port.write(reinterpret_cast<const uint8_t*>("M\r\n"), 3), 3u);
    EXPECT_EQ(port.read(answer, sizeof answer, readTimeoutConstantMs), sizeof answer);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(answer), sizeof answer), "COMMAND: ");
    ASSERT_TRUE(GetCommTimeouts(port.handle(), &timeouts));
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 16000u);
}

// The port reads ahead what has arrived, but hands it out as asked: an answer read one byte at
// a time comes whole and in order, counted as queued until taken, and nothing is left after it.
TEST(Win32SerialPort, AnAnswerReadByteByByteComesWholeAndCounted) {
    Win32SerialPort port;
    ASSERT_EQ(port.open("COM1", 9600), serialOpened);
    uint8_t byte = 0;
    while (port.clearErrorsAndCountQueued() > 0)
        port.read(&byte, 1, readTimeoutConstantMs);
    ASSERT_EQ(port.write(reinterpret_cast<const uint8_t*>("M\r\n"), 3), 3u);
    std::string answer;
    ASSERT_EQ(port.read(&byte, 1, readTimeoutConstantMs), 1u);
    answer += static_cast<char>(byte);
    Sleep(200);
    EXPECT_EQ(port.clearErrorsAndCountQueued(), 8u);
    while (answer.size() < 9 && port.read(&byte, 1, readTimeoutConstantMs) == 1)
        answer += static_cast<char>(byte);
    EXPECT_EQ(answer, "COMMAND: ");
    EXPECT_EQ(port.clearErrorsAndCountQueued(), 0u);
    EXPECT_EQ(port.read(&byte, 1, 100), 0u);
}

TEST(Win32SerialPort, MissingOrAbsurdPortsFailAtTheFirstStep) {
    NceDriver driver;
    EXPECT_EQ(driver.open("9600|COM8"), 1);
    EXPECT_STREQ(stationErrorText(), "Error opening port");
    EXPECT_EQ(driver.stationMode(), 0);

    std::string longName(199, 'x');
    EXPECT_EQ(driver.open(("19200|" + longName).c_str()), 1);
    EXPECT_EQ(driver.getConfig(), "19200|" + longName);
}

} // namespace
