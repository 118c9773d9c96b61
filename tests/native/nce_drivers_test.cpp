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

} // namespace
