// The NCE options page on the simulated stations: what it shows, what leaving it applies, the
// connection test and the serial log.
#include "station_pages_fixture.h"

#include <string>

#include "resources/resource_ids.h"
#include "stations/station_manager.h"

namespace {

using NceOptionsPageTest = StationPagesTest;

std::vector<std::string> listTexts(HWND list) {
    std::vector<std::string> texts;
    const LRESULT count = SendMessageA(list, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        char text[32] = {};
        SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

TEST_F(NceOptionsPageTest, ShowsTheDriversSettingsAndName) {
    nce()->setBaudIndex(1);
    openSetupPage();
    EXPECT_EQ(listTexts(control(IDC_NCE_PORT)), (std::vector<std::string>{"COM1", "COM2"}));
    EXPECT_EQ(controlText(control(IDC_NCE_PORT)), "COM1");
    EXPECT_EQ(listTexts(control(IDC_NCE_BAUD)), (std::vector<std::string>{"9600", "19200"}));
    EXPECT_EQ(SendMessageA(control(IDC_NCE_BAUD), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(controlText(control(IDC_NCE_NAME)), "NCE Corporation - Powerhouse Pro");
    EXPECT_EQ(controlText(control(IDC_NCE_VERSION)), "");
}

TEST_F(NceOptionsPageTest, LeavingThePageReconnectsOnceWhenSettingsChanged) {
    struct Case {
        const char* port;
        int baud;
        std::vector<std::string> com1Lines; // all lines on COM1 so far
        std::vector<std::string> com2Lines;
        const char* portAfter;
    } cases[] = {
        {"COM1", 0, {}, {}, "COM1"},           // unchanged: no reconnect
        {"COM2", 1, {"X"}, {}, "COM2"},        // closed on COM1, opened on COM2
        {"COM2", 1, {"X"}, {}, "COM2"},        // unchanged again
        {"", 1, {"X"}, {"X"}, "COM1"},         // emptied: the default port
        {"COM1", 0, {"X", "X"}, {"X"}, "COM1"} // the baud rate alone counts too
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("port '") + c.port + "' baud " + std::to_string(c.baud));
        openSetupPage();
        SetWindowTextA(control(IDC_NCE_PORT), c.port);
        SendMessageA(control(IDC_NCE_BAUD), CB_SETCURSEL, c.baud, 0);
        closeSetupPage();
        EXPECT_EQ(newLines("VELQUIST_STATION_LOG"), c.com1Lines);
        EXPECT_EQ(newLines("VELQUIST_STATION2_LOG"), c.com2Lines);
        EXPECT_STREQ(nce()->portName(), c.portAfter);
        EXPECT_EQ(nce()->baudIndex(), c.baud);
        EXPECT_EQ(isStationOpen(), 1) << stationErrorText();
    }
}

TEST_F(NceOptionsPageTest, TestAsksTheStationOnThePortJustTyped) {
    openSetupPage();
    click(IDC_NCE_TEST);
    ASSERT_EQ(messageBoxes().size(), 1u);
    EXPECT_EQ(messageBoxes()[0].text, "Communication with PowerHouse Pro OK");
    EXPECT_EQ(messageBoxes()[0].caption, "NCE Powerhouse Pro");
    EXPECT_EQ(messageBoxes()[0].owner, GetParent(control(IDC_NCE_TEST)));
    EXPECT_EQ(controlText(control(IDC_NCE_VERSION)).rfind("NCE Powerhouse Pro simulator", 0), 0u)
        << controlText(control(IDC_NCE_VERSION));

    // Typed, not yet applied: the test itself moves to COM2 first.
    SetWindowTextA(control(IDC_NCE_PORT), "COM2");
    click(IDC_NCE_TEST);
    ASSERT_EQ(messageBoxes().size(), 2u);
    EXPECT_EQ(messageBoxes()[1].text, "Communication with PowerHouse Pro OK");
    EXPECT_EQ(controlText(control(IDC_NCE_VERSION)).rfind("Second station on COM2", 0), 0u);
    EXPECT_EQ(newLines("VELQUIST_STATION2_LOG"), (std::vector<std::string>{"X", "V"}));
}

TEST_F(NceOptionsPageTest, StationThatCannotBeReachedFailsWithTheReason) {
    const std::string tooLong(260, 'P');
    struct Case {
        std::string port;
        const char* reason;
    } cases[] = {{"COM9", "Error opening port"},
                 {tooLong, "Error opening port"},
                 {"COM2", nullptr}}; // and the user's next try works
    openSetupPage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.port.substr(0, 8));
        messageBoxes().clear();
        // A station found closed is tried again on the typed port before the test gives up.
        SetWindowTextA(control(IDC_NCE_PORT), c.port.c_str());
        click(IDC_NCE_TEST);
        ASSERT_EQ(messageBoxes().size(), 1u);
        if (c.reason) {
            EXPECT_EQ(messageBoxes()[0].text, "Cannot communicate with PowerHouse Pro");
            EXPECT_EQ(messageBoxes()[0].caption, "Error");
            EXPECT_EQ(controlText(control(IDC_NCE_VERSION)), c.reason);
            EXPECT_EQ(isStationOpen(), 0);
        } else {
            EXPECT_EQ(messageBoxes()[0].text, "Communication with PowerHouse Pro OK");
        }
    }
    // Nothing longer than the box holds reached the driver.
    EXPECT_STREQ(nce()->portName(), "COM2");
}

// The page is built anew on every visit to the tab: it must not bring back the version of the
// station reached before a failed test.
TEST_F(NceOptionsPageTest, AFailedTestIsStillShownAfterLeavingTheTabAndComingBack) {
    openSetupPage();
    click(IDC_NCE_TEST);
    ASSERT_EQ(controlText(control(IDC_NCE_VERSION)).rfind("NCE Powerhouse Pro simulator", 0), 0u);
    SetWindowTextA(control(IDC_NCE_PORT), "COM9");
    click(IDC_NCE_TEST);
    closeSetupPage();
    openSetupPage();
    EXPECT_EQ(controlText(control(IDC_NCE_VERSION)), "Error opening port");
    EXPECT_EQ(controlText(control(IDC_NCE_PORT)), "COM9");
}

TEST_F(NceOptionsPageTest, SerialLogOpensOneWindowThatOutlivesAReconnect) {
    openSetupPage();
    click(IDC_NCE_SERIAL_LOG);
    click(IDC_NCE_SERIAL_LOG);
    EXPECT_EQ(threadWindowCount("Serial Comm Log"), 1);
    EXPECT_EQ(GetWindow(nce()->log()->window(), GW_HWNDFIRST), nce()->log()->window());

    SetWindowTextA(control(IDC_NCE_PORT), "COM2");
    closeSetupPage();
    EXPECT_EQ(threadWindowCount("Serial Comm Log"), 1);
    EXPECT_STREQ(nce()->portName(), "COM2");
    // The log window closes with the station, when the program ends.
    saveAndShutdownStations();
    EXPECT_EQ(threadWindowCount("Serial Comm Log"), 0);
}

} // namespace
