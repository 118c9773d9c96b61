// The stored station choice against the real driver and a station on COM1.
#include "gui_test_support.h"

#include "stations/nce_driver.h"
#include "stations/station_drivers.h"
#include "stations/station_manager.h"

namespace {

class StationRestoreTest : public ShellTest {
  protected:
    void SetUp() override {
        ShellTest::SetUp();
        setStationConstructor(nullptr);
    }
    void TearDown() override {
        saveAndShutdownStations();
        ShellTest::TearDown();
    }
};

TEST_F(StationRestoreTest, StoredConfigurationOpensTheStationOnItsPort) {
    storeDword("CmdSt_IDX", NceDriver::tag);
    storeText("CmdSt_CFG", "9600|COM1");
    restoreStation();
    EXPECT_TRUE(messageBoxes().empty());
    ASSERT_EQ(isStationOpen(), 1) << (stationErrorText() ? stationErrorText() : "");
    auto* driver = static_cast<NceDriver*>(activeStation());
    EXPECT_EQ(driver->getTag(), NceDriver::tag);
    EXPECT_STREQ(driver->portName(), "COM1");
}

TEST_F(StationRestoreTest, PortThatDoesNotExistIsReportedWithoutAnOwner) {
    storeDword("CmdSt_IDX", NceDriver::tag);
    storeText("CmdSt_CFG", "9600|COM9");
    restoreStation();
    EXPECT_EQ(isStationOpen(), 0);
    ASSERT_EQ(messageBoxes().size(), 1u);
    EXPECT_EQ(messageBoxes()[0].owner, nullptr);
    EXPECT_EQ(messageBoxes()[0].text, "Error opening port");
    EXPECT_EQ(messageBoxes()[0].caption, "Error");
}

} // namespace
