// The Connection Setup page: the station list, the choice of station and the hosted options.
#include "station_pages_fixture.h"

#include "resources/resource_ids.h"
#include "stations/station_manager.h"

namespace {

using StationSetupPageTest = StationPagesTest;

TEST_F(StationSetupPageTest, ListsStationsByNameAndCentresTheActiveOnesOptions) {
    openSetupPage();
    HWND list = control(IDC_STATION_LIST);
    ASSERT_EQ(SendMessageA(list, CB_GETCOUNT, 0, 0), 2);
    char name[64] = {};
    SendMessageA(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, "NCE Corporation - Powerhouse Pro");
    SendMessageA(list, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(name));
    EXPECT_STREQ(name, "Recording Station");
    EXPECT_EQ(SendMessageA(list, CB_GETCURSEL, 0, 0), 0);

    HWND port = control(IDC_NCE_PORT);
    ASSERT_NE(port, nullptr);
    const RECT frame = windowRect(control(IDC_DEVICE_OPTIONS_FRAME));
    const RECT options = windowRect(GetParent(port));
    EXPECT_NEAR(options.left - frame.left, frame.right - options.right, 1);
    EXPECT_NEAR(options.top - frame.top, frame.bottom - options.bottom, 1);
    EXPECT_TRUE(IsWindowVisible(GetParent(port)));
}

TEST_F(StationSetupPageTest, ChoosingAStationSwitchesOnlyWhenTheChoiceChanges) {
    openSetupPage();
    events().clear();
    choose(IDC_STATION_LIST, 1);
    EXPECT_EQ(events(), std::vector<std::string>{"open (none)"});
    EXPECT_EQ(selectedStationIndex(), 1);
    // The NCE station was left properly, and the recording driver offers no options page.
    EXPECT_EQ(newLines("VELQUIST_STATION_LOG"), std::vector<std::string>{"X"});
    EXPECT_EQ(control(IDC_NCE_PORT), nullptr);

    choose(IDC_STATION_LIST, 1);
    EXPECT_EQ(events(), std::vector<std::string>{"open (none)"});

    choose(IDC_STATION_LIST, 0);
    EXPECT_EQ(events(), (std::vector<std::string>{"open (none)", "close"}));
    EXPECT_EQ(isStationOpen(), 1);
    EXPECT_NE(control(IDC_NCE_PORT), nullptr);
}

} // namespace
