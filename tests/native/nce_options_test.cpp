#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/settings_store.h"
#include "station_fakes.h"
#include "stations/nce_driver.h"
#include "stations/nce_options.h"
#include "stations/station_drivers.h"
#include "stations/station_manager.h"

namespace {

std::shared_ptr<FakeSerialPort::State> portState;
NceDriver* nce = nullptr;

void constructNceOnFakePort() {
    nce = new NceDriver(std::make_unique<FakeSerialPort>(portState));
}

// The NCE driver as the program's only, selected station, on a port that answers every line.
class NceOptionsTest : public testing::Test {
  protected:
    void SetUp() override {
        portState = std::make_shared<FakeSerialPort::State>();
        portState->respond = promptOnly;
        restoreStation();
    }

    // The port as it was before an action, so the action's own traffic and opens stand out.
    void forgetTraffic() {
        portState->written.clear();
        portState->openedName.clear();
        portState->openedBaud = 0;
    }

    MemorySettingsStore store_;
    RecordedPauses pauses_;
    RecordedMessages messages_;
    TestStationList stations_{store_, constructNceOnFakePort};
};

TEST_F(NceOptionsTest, ApplyReconnectsOnceOnlyWhenPortOrBaudChanged) {
    struct Case {
        const char* port;
        int32_t baud;
        int reconnected;
        const char* portAfter;
        uint32_t openedBaud; // 0: not reopened
    } cases[] = {
        {"COM1", 0, 0, "COM1", 0},    {"COM3", 0, 1, "COM3", 9600},  {"COM3", 1, 1, "COM3", 19200},
        {"COM3", 1, 0, "COM3", 0},    {"com3", 1, 1, "com3", 19200}, // names are compared exactly
        {"", 1, 1, "COM1", 19200}, // an emptied box means the default port
        {"COM1", 0, 1, "COM1", 9600},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " " + std::to_string(c.baud));
        forgetTraffic();
        EXPECT_EQ(applyNceOptions(*nce, c.port, c.baud, false), c.reconnected);
        EXPECT_STREQ(nce->portName(), c.portAfter);
        EXPECT_EQ(nce->baudIndex(), c.baud);
        EXPECT_EQ(portState->openedBaud, c.openedBaud);
        // A reconnect closes the station properly first: it leaves programming mode.
        EXPECT_EQ(portState->written, c.reconnected ? "X\r\n" : "");
        EXPECT_EQ(portState->openedName, c.reconnected ? c.portAfter : "");
        EXPECT_EQ(isStationOpen(), 1);
    }
}

TEST_F(NceOptionsTest, TestRetriesAStationThatIsNotOpenWithThePageSettings) {
    struct Case {
        bool openBefore;
        const char* port;
        int reconnected;
    } cases[] = {
        {true, "COM1", 0},  // open and unchanged: nothing to do
        {true, "COM2", 0},  // open: the test itself applies the change
        {false, "COM1", 1}, // not open: tried again although nothing changed
        {false, "COM2", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port);
        nce->setPortName("COM1");
        portState->openResult = c.openBefore ? serialOpened : serialCannotOpen;
        reconnectStation();
        ASSERT_EQ(isStationOpen(), c.openBefore ? 1 : 0);
        portState->openResult = serialOpened;
        forgetTraffic();
        EXPECT_EQ(prepareNceTest(*nce, c.port, 0), c.reconnected);
        EXPECT_EQ(portState->openedName, c.reconnected ? c.port : "");
        EXPECT_EQ(isStationOpen(), 1);
    }
}

TabPage* const fakePage = reinterpret_cast<TabPage*>(0x10);
NceStationDriver* askedDriver = nullptr;
WindowHandle askedParent = nullptr;

TabPage* recordOptionsPageRequest(NceStationDriver* driver, WindowHandle parent) {
    askedDriver = driver;
    askedParent = parent;
    return fakePage;
}

TEST_F(NceOptionsTest, OptionsPageComesFromTheInstalledFactory) {
    const auto parent = reinterpret_cast<WindowHandle>(0x20);
    NceOptionsPageFactory previous = setNceOptionsPageFactory(recordOptionsPageRequest);
    EXPECT_EQ(nce->createOptionsPage(parent), fakePage);
    EXPECT_EQ(askedDriver, nce);
    EXPECT_EQ(askedParent, parent);
    setNceOptionsPageFactory(previous);
    EXPECT_EQ(nce->createOptionsPage(parent), nullptr);
}

} // namespace

namespace {

// Retries and the answer wait travel in the configuration text only when they differ from the
// defaults, so an older program still reads the baud rate and port; the page's boxes are taken
// into their ranges.
TEST_F(NceOptionsTest, RetriesAndAnswerWaitRoundTripThroughTheConfiguration) {
    struct Case {
        const char* configuration;
        const char* retriesBox;
        const char* waitBox;
        int retries;
        int wait;
        const char* stored;
    } cases[] = {
        {"19200|COM3", "", "", 2, 16, "19200|COM3"},
        {"9600,3,20|COM3", "", "", 3, 20, "9600,3,20|COM3"},
        {"9600,9,99|COM1", "", "", 5, 60, "9600,5,60|COM1"},
        {"9600|COM1", "0", "1", 0, 2, "9600,0,2|COM1"},
        {"9600|COM1", "4", "16", 4, 16, "9600,4,0|COM1"},
        {"9600|COM1", "x", "abc", 2, 16, "9600|COM1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configuration);
        ASSERT_EQ(nce->open(c.configuration), 0);
        applyNceTimings(*nce, c.retriesBox, c.waitBox);
        EXPECT_EQ(nce->readRetries(), c.retries);
        EXPECT_EQ(nce->answerWaitSeconds(), c.wait);
        EXPECT_EQ(nce->getConfig(), c.stored);
    }
}

} // namespace
