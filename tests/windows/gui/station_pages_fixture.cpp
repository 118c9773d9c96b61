#include "station_pages_fixture.h"

#include <cstring>

#include "stations/nce_options_page.h"
#include "stations/station_drivers.h"
#include "stations/station_manager.h"
#include "stations/station_setup_page.h"

namespace {

const char* const logVariables[2] = {"VELQUIST_STATION_LOG", "VELQUIST_STATION2_LOG"};

void constructNceAndRecordingDrivers() {
    new NceDriver();
    new RecordingDriver();
}

} // namespace

void StationPagesTest::SetUp() {
    ShellTest::SetUp();
    setStationConstructor(constructNceAndRecordingDrivers);
    setNceOptionsPageFactory(createNceOptionsPage);
    for (int station = 0; station < 2; ++station)
        linesBefore_[station] = newLines(logVariables[station]).size() + linesBefore_[station];
    restoreStation();
    ASSERT_EQ(isStationOpen(), 1);
    parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 20, 20, 640, 440, nullptr,
                             nullptr, nullptr, nullptr);
}

void StationPagesTest::TearDown() {
    closeSetupPage();
    DestroyWindow(parent);
    saveAndShutdownStations();
    setNceOptionsPageFactory(nullptr);
    ShellTest::TearDown();
}

void StationPagesTest::openSetupPage() {
    setupPage = createStationSetupPage("TAB_STATION_SETUP", parent);
    ASSERT_EQ(setupPage->createWindow(), 0);
    setupPage->showPage();
}

void StationPagesTest::closeSetupPage() {
    if (setupPage)
        setupPage->destroyPage();
    setupPage = nullptr;
}

void StationPagesTest::choose(int listId, int index) {
    HWND list = control(listId);
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(GetParent(list), WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

void StationPagesTest::click(int buttonId) {
    HWND button = control(buttonId);
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

std::vector<std::string> StationPagesTest::newLines(const char* logVariable) const {
    // The station logs what it received a moment after it arrived: wait until the log rests.
    std::vector<std::string> lines = stationLines(logVariable);
    for (int wait = 0; wait < 30; ++wait) {
        Sleep(100);
        std::vector<std::string> later = stationLines(logVariable);
        if (later.size() == lines.size())
            break;
        lines = later;
    }
    const size_t before = linesBefore_[std::strcmp(logVariable, logVariables[0]) == 0 ? 0 : 1];
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(before),
                                    lines.end());
}

NceDriver* StationPagesTest::nce() const {
    return static_cast<NceDriver*>(stationAt(0));
}
