// The registry store against Wine's registry, and the station choice stored there.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "foundation/registry_settings_store.h"
#include "stations/nce_driver.h"
#include "stations/station_drivers.h"
#include "stations/station_manager.h"

namespace {

// A key of the tests' own: run on a real Windows machine, they must not lose a user's settings.
const char testKey[] = "Software\\Quenby\\VelquistRegistryTest";

class RegistryStoreTest : public testing::Test {
  protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, testKey);
        previous_ = setSettingsStore(&store_);
    }
    void TearDown() override {
        store_.closeKey();
        setSettingsStore(previous_);
        RegDeleteKeyA(HKEY_CURRENT_USER, testKey);
    }

    RegistrySettingsStore store_{testKey};
    SettingsStore* previous_ = nullptr;
};

TEST_F(RegistryStoreTest, CreatesTheKeyOnceAndRoundTripsTypedValues) {
    bool existed = true;
    ASSERT_TRUE(store_.openKey("CommandStation", &existed));
    EXPECT_FALSE(existed);
    uint32_t number = 0x7045434E;
    ASSERT_TRUE(store_.writeValue("CmdSt_IDX", settingTypeDword, &number, 4));
    ASSERT_TRUE(store_.writeValue("CmdSt_CFG", settingTypeText, "19200|COM2", 11));
    store_.closeKey();

    ASSERT_TRUE(store_.openKey("CommandStation", &existed));
    EXPECT_TRUE(existed);
    uint32_t type = 0, size = 4, read = 0;
    ASSERT_TRUE(store_.readValue("CmdSt_IDX", &type, &read, &size));
    EXPECT_EQ(type, settingTypeDword);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(read, number);

    char text[250] = {};
    size = sizeof text;
    ASSERT_TRUE(store_.readValue("CmdSt_CFG", &type, text, &size));
    EXPECT_EQ(type, settingTypeText);
    EXPECT_EQ(size, 11u);
    EXPECT_STREQ(text, "19200|COM2");

    // A value larger than the buffer is refused rather than cut.
    size = 4;
    EXPECT_FALSE(store_.readValue("CmdSt_CFG", &type, text, &size));
    EXPECT_FALSE(store_.readValue("Missing", &type, text, &size));
}

TEST_F(RegistryStoreTest, StationChoiceSurvivesARestartThroughTheRegistry) {
    setStationConstructor(nullptr);
    restoreStation(); // first run: no key, COM1 at 9600 is opened
    ASSERT_EQ(isStationOpen(), 1) << (stationErrorText() ? stationErrorText() : "");
    saveAndShutdownStations();

    ASSERT_TRUE(store_.openKey("CommandStation", nullptr));
    uint32_t type = 0, size = 4, tag = 0;
    ASSERT_TRUE(store_.readValue("CmdSt_IDX", &type, &tag, &size));
    EXPECT_EQ(tag, NceDriver::tag);
    char text[250] = {};
    size = sizeof text;
    ASSERT_TRUE(store_.readValue("CmdSt_CFG", &type, text, &size));
    EXPECT_STREQ(text, "9600|COM1");

    // A wrongly typed tag is ignored: the first driver opens without the stored configuration.
    ASSERT_TRUE(store_.writeValue("CmdSt_IDX", settingTypeText, "NCEp", 5));
    ASSERT_TRUE(store_.writeValue("CmdSt_CFG", settingTypeText, "19200|COM9", 11));
    store_.closeKey();
    restoreStation();
    ASSERT_NE(activeStation(), nullptr);
    EXPECT_EQ(isStationOpen(), 1);
    EXPECT_STREQ(static_cast<NceDriver*>(activeStation())->portName(), "COM1");
    saveAndShutdownStations();
}

} // namespace
