#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "foundation/settings_store.h"
#include "station_fakes.h"
#include "stations/station_drivers.h"
#include "stations/station_manager.h"

namespace {

constexpr StationTag tagA = makeStationTag('A', 'A', 'A', 'A');
constexpr StationTag tagB = makeStationTag('B', 'B', 'B', 'B');

FakeDriver* zulu = nullptr;
FakeDriver* alpha = nullptr;

// Constructed out of name order, so the list's sorting decides the positions.
void constructTwoDrivers() {
    zulu = new FakeDriver("zulu", tagB);
    alpha = new FakeDriver("Alpha", tagA);
}

class StationManagerTest : public testing::Test {
  public:
    void SetUp() override {
        for (int32_t cv = lowestCv; cv <= highestCv; ++cv)
            forgetCvValue(cv);
    }

    void storeValue(const char* name, uint32_t type, const void* data, uint32_t size) {
        store_.openKey("test", nullptr);
        store_.writeValue(name, type, data, size);
    }
    uint32_t storedTag() {
        uint32_t type = 0, size = 4, tag = 99;
        store_.readValue("CmdSt_IDX", &type, &tag, &size);
        EXPECT_EQ(type, settingTypeDword);
        return tag;
    }
    std::string storedConfig() {
        char text[300] = {};
        uint32_t type = 0, size = sizeof text;
        store_.readValue("CmdSt_CFG", &type, text, &size);
        EXPECT_EQ(type, settingTypeText);
        EXPECT_EQ(size, std::strlen(text) + 1);
        return text;
    }

    MemorySettingsStore store_;
    RecordedMessages messages_;
    TestStationList stations_{store_, constructTwoDrivers};
};

TEST_F(StationManagerTest, FirstRunCreatesTheKeyAndOpensTheFirstDriverByName) {
    restoreStation();
    EXPECT_TRUE(store_.keyExists());
    EXPECT_EQ(store_.keyClass(), "CommandStation");
    EXPECT_EQ(stationAt(0), alpha);
    EXPECT_EQ(stationAt(1), zulu);
    EXPECT_EQ(stationAt(2), nullptr);
    EXPECT_EQ(selectedStationIndex(), 0);
    EXPECT_EQ(alpha->calls, (std::vector<std::string>{"open:(none)"}));
    EXPECT_EQ(isStationOpen(), 1);
    EXPECT_TRUE(messages_.list().empty());
}

TEST_F(StationManagerTest, StoredTagAndConfigurationSelectAndOpenThatDriver) {
    storeValue("CmdSt_IDX", settingTypeDword, &tagB, 4);
    storeValue("CmdSt_CFG", settingTypeText, "19200|COM2", 11);
    restoreStation();
    EXPECT_EQ(selectedStationIndex(), 1);
    EXPECT_EQ(activeStation(), zulu);
    EXPECT_EQ(zulu->calls, (std::vector<std::string>{"open:19200|COM2"}));
}

TEST_F(StationManagerTest, UnusableStoredValuesFallBackSilently) {
    const StationTag unknown = makeStationTag('Z', 'Z', 'Z', 'Z');
    struct Case {
        const char* what;
        std::function<void(StationManagerTest&)> store;
        const char* expectedOpen;
        FakeDriver** expectedDriver;
    } cases[] = {
        {"tag of no driver: first driver, no configuration",
         [&](StationManagerTest& t) {
             t.storeValue("CmdSt_IDX", settingTypeDword, &unknown, 4);
             t.storeValue("CmdSt_CFG", settingTypeText, "x|y", 4);
         },
         "open:(none)", &alpha},
        {"matching tag, empty configuration",
         [](StationManagerTest& t) {
             t.storeValue("CmdSt_IDX", settingTypeDword, &tagB, 4);
             t.storeValue("CmdSt_CFG", settingTypeText, "", 1);
         },
         "open:(none)", &zulu},
        {"tag stored as text",
         [](StationManagerTest& t) {
             t.storeValue("CmdSt_IDX", settingTypeText, "BBBB", 5);
             t.storeValue("CmdSt_CFG", settingTypeText, "c", 2);
         },
         "open:(none)", &alpha},
        {"tag of the wrong size",
         [](StationManagerTest& t) {
             const uint8_t two[2] = {'B', 'B'};
             t.storeValue("CmdSt_IDX", settingTypeDword, two, 2);
         },
         "open:(none)", &alpha},
        {"configuration stored as a number",
         [](StationManagerTest& t) {
             t.storeValue("CmdSt_IDX", settingTypeDword, &tagB, 4);
             t.storeValue("CmdSt_CFG", settingTypeDword, &tagB, 4);
         },
         "open:(none)", &zulu},
        {"configuration longer than its buffer",
         [](StationManagerTest& t) {
             std::string longText(300, 'x');
             t.storeValue("CmdSt_IDX", settingTypeDword, &tagB, 4);
             t.storeValue("CmdSt_CFG", settingTypeText, longText.c_str(), 301);
         },
         "open:(none)", &zulu},
        {"configuration without its NUL",
         [](StationManagerTest& t) {
             std::string full(250, 'y');
             t.storeValue("CmdSt_IDX", settingTypeDword, &tagB, 4);
             t.storeValue("CmdSt_CFG", settingTypeText, full.data(), 250);
         },
         nullptr, &zulu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store_ = MemorySettingsStore();
        c.store(*this);
        restoreStation();
        ASSERT_EQ(activeStation(), *c.expectedDriver);
        std::string expected = c.expectedOpen ? c.expectedOpen : "open:" + std::string(250, 'y');
        EXPECT_EQ((*c.expectedDriver)->calls, (std::vector<std::string>{expected}));
        EXPECT_TRUE(messages_.list().empty());
        saveAndShutdownStations();
    }
}

TEST_F(StationManagerTest, FailedOpenShowsTheDriverTextAndKeepsTheSelection) {
    setStationConstructor([] {
        constructTwoDrivers();
        alpha->openResult = 1;
    });
    restoreStation();
    EXPECT_EQ(selectedStationIndex(), 0);
    EXPECT_EQ(isStationOpen(), 0);
    ASSERT_EQ(messages_.list().size(), 1u);
    EXPECT_EQ(messages_.list()[0].owner, nullptr);
    EXPECT_EQ(messages_.list()[0].text, "fake open failed");
    EXPECT_EQ(messages_.list()[0].caption, "Error");

    // Without any driver there is nothing to open and the generic message is shown.
    saveAndShutdownStations();
    setStationConstructor([] {});
    restoreStation();
    EXPECT_EQ(selectedStationIndex(), -1);
    ASSERT_EQ(messages_.list().size(), 2u);
    EXPECT_EQ(messages_.list()[1].text, "Error opening connection");
}

TEST_F(StationManagerTest, SelectionClosesAndOpensOnlyWhenItChanges) {
    restoreStation();
    selectStation(0);
    EXPECT_EQ(alpha->calls, (std::vector<std::string>{"open:(none)"}));
    selectStation(1);
    EXPECT_EQ(alpha->calls, (std::vector<std::string>{"open:(none)", "close"}));
    EXPECT_EQ(zulu->calls, (std::vector<std::string>{"open:(none)"}));
    reconnectStation();
    EXPECT_EQ(zulu->calls, (std::vector<std::string>{"open:(none)", "close", "open:(none)"}));
    selectStation(5);
    EXPECT_EQ(zulu->calls.back(), "close");
    EXPECT_EQ(selectedStationIndex(), -1);
    EXPECT_EQ(activeStation(), nullptr);
    EXPECT_EQ(isStationOpen(), 0);

    // A driver whose open failed is not closed when left.
    alpha->openResult = 1;
    selectStation(0);
    selectStation(-1);
    EXPECT_EQ(alpha->calls.back(), "open:(none)");
}

TEST_F(StationManagerTest, ExitStoresTheChoiceOrZeroAndAnEmptyText) {
    restoreStation();
    selectStation(1);
    zulu->config = "19200|COM7";
    saveAndShutdownStations();
    EXPECT_EQ(storedTag(), tagB);
    EXPECT_EQ(storedConfig(), "19200|COM7");
    EXPECT_EQ(stationList(), nullptr);

    restoreStation();
    EXPECT_EQ(zulu->calls, (std::vector<std::string>{"open:19200|COM7"}));
    selectStation(-1);
    saveAndShutdownStations();
    EXPECT_EQ(storedTag(), 0u);
    EXPECT_EQ(storedConfig(), "");
}

TEST_F(StationManagerTest, CvAccessGoesThroughTheDriverAndTheCaches) {
    uint8_t value = 99;
    EXPECT_EQ(stationReadCv(29, &value), 1);
    EXPECT_STREQ(stationErrorText(), "No Command Station setup");
    EXPECT_EQ(stationWriteCv(29, 6), 1);
    StationVersionInfo info{};
    EXPECT_EQ(stationGetVersion(&info), 1);

    restoreStation();
    alpha->readValue = 6;
    EXPECT_EQ(stationReadCv(29, &value), 0);
    EXPECT_EQ(value, 6);
    EXPECT_EQ(stationReadCv(30, nullptr), 0);
    EXPECT_EQ(knownCvValue(30, &value, 0), 0);
    EXPECT_EQ(stationWriteCv(31, 0x1FF), 0);
    EXPECT_EQ(knownCvValue(31, &value, 0), 0);
    EXPECT_EQ(value, 255);

    // A failed read forgets what was known.
    alpha->readResult = 1;
    EXPECT_EQ(stationReadCv(29, &value), 1);
    EXPECT_STREQ(stationErrorText(), "fake read failed");
    EXPECT_EQ(knownCvValue(29, &value, 1), 1);
    EXPECT_EQ(value, 0);

    EXPECT_EQ(stationGetVersion(&info), 0);
    EXPECT_STREQ(info.text, "fake 1.0");
}

TEST_F(StationManagerTest, KnownValuesPreferTheDecoderOverTheFile) {
    rememberFileCvValue(1, 0x103);
    uint8_t value = 0;
    EXPECT_EQ(knownCvValue(1, &value, 0), 1);
    EXPECT_EQ(knownCvValue(1, &value, 1), 0);
    EXPECT_EQ(value, 3);

    restoreStation();
    alpha->readValue = 44;
    stationReadCv(1, nullptr);
    EXPECT_EQ(knownCvValue(1, &value, 1), 0);
    EXPECT_EQ(value, 44);
    forgetCvValue(1);
    EXPECT_EQ(knownCvValue(1, &value, 1), 1);
    EXPECT_EQ(stationErrorText(), nullptr);
}

TEST_F(StationManagerTest, CvNumbersOutsideTheDecoderAreRefused) {
    restoreStation();
    for (int32_t cv : {0, -1, 1025, 2147483647}) {
        uint8_t value = 7;
        EXPECT_EQ(stationReadCv(cv, &value), 1) << cv;
        EXPECT_NE(std::string(stationErrorText()).find("Invalid CV number"), std::string::npos);
        EXPECT_EQ(stationWriteCv(cv, 1), 1);
        EXPECT_EQ(knownCvValue(cv, &value, 1), 1);
        EXPECT_EQ(value, 0);
        rememberFileCvValue(cv, 1);
        forgetCvValue(cv);
    }
    EXPECT_EQ(alpha->calls, (std::vector<std::string>{"open:(none)"}));
    for (int32_t cv : {lowestCv, highestCv}) {
        EXPECT_EQ(stationReadCv(cv, nullptr), 0);
        rememberFileCvValue(cv, 5);
    }
}

TEST_F(StationManagerTest, ErrorTextIsACopy) {
    char text[] = "first";
    setStationErrorText(text);
    text[0] = 'F';
    EXPECT_STREQ(stationErrorText(), "first");
    setStationErrorText(stationErrorText()); // re-storing its own text is safe
    EXPECT_STREQ(stationErrorText(), "first");
    setStationErrorText(nullptr);
    EXPECT_EQ(stationErrorText(), nullptr);
}

} // namespace
