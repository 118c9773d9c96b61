#include "stations/station_setup_page.h"

#include <string>

#include "foundation/message_box.h"
#include "foundation/ptr_list.h"
#include "model/wait_bar.h"
#include "resources/resource_ids.h"
#include "stations/station_finder.h"
#include "stations/station_manager.h"

namespace {

const char findStationCaption[] = "Find Station";

bool escapePressed() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE) &&
           message.wParam == VK_ESCAPE;
}

} // namespace

StationSetupPage::StationSetupPage(const char* templateName, WindowHandle parent)
    : TabPage(templateName, parent) {}

StationSetupPage::~StationSetupPage() {
    // The options page's window went with this page's; deleting it frees the object.
    if (optionsPage_)
        optionsPage_->destroyPage();
}

INT_PTR StationSetupPage::onInitDialog(WPARAM, LPARAM) {
    HWND list = GetDlgItem(window_, IDC_STATION_LIST);
    if (PtrList* stations = stationList()) {
        PtrListIterator* iterator = stations->iterate();
        WPARAM position = 0;
        for (void* element = iterator->first(); element; element = iterator->next(), ++position) {
            const char* name = static_cast<CommandStationDriver*>(element)->name();
            SendMessageA(list, CB_INSERTSTRING, position, reinterpret_cast<LPARAM>(name));
        }
        delete iterator;
    }
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selectedStationIndex()), 0);
    showOptionsPage(false);
    return 0;
}

INT_PTR StationSetupPage::onCommand(int id, int notification) {
    if (id == IDC_FIND_STATION && notification == BN_CLICKED) {
        findStation();
        return 1;
    }
    if (id != IDC_STATION_LIST)
        return TabPage::onCommand(id, notification);
    if (notification == CBN_SELCHANGE)
        showOptionsPage(true);
    return 1;
}

void StationSetupPage::closeOptionsPage() {
    if (optionsPage_) {
        optionsPage_->destroyPage();
        optionsPage_ = nullptr;
    }
}

void StationSetupPage::showOptionsPage(bool reselect) {
    // Destroying the old page applies its settings to its driver before the choice changes.
    closeOptionsPage();
    if (reselect) {
        const LRESULT chosen = SendDlgItemMessageA(window_, IDC_STATION_LIST, CB_GETCURSEL, 0, 0);
        selectStation(static_cast<int32_t>(chosen));
    }
    CommandStationDriver* driver = activeStation();
    HWND frame = GetDlgItem(window_, IDC_DEVICE_OPTIONS_FRAME);
    if (!driver || !frame)
        return;
    optionsPage_ = driver->createOptionsPage(window_);
    if (optionsPage_ && optionsPage_->createWindow() == 0) {
        optionsPage_->centreOver(frame);
        optionsPage_->showPage();
    }
}

void StationSetupPage::findStation() {
    // Closing the options page applies what was typed on it, as any change of station does.
    closeOptionsPage();
    // The active station may hold one of the ports.
    const int32_t previous = selectedStationIndex();
    selectStation(-1);
    const std::vector<std::string> ports = serialPortNames();
    StationSearchResult result;
    {
        WaitBar bar(window_, static_cast<uint32_t>(2 * ports.size()), "Looking for a station");
        StationSearchCalls calls;
        calls.beforeTry = [&bar](const std::string& port, uint32_t baudRate) {
            if (escapePressed())
                return false;
            bar.step(("Looking on " + port + " at " + std::to_string(baudRate) + " baud").c_str());
            return true;
        };
        calls.found = [](const FoundStation&) { return false; };
        result = findStations(ports, createSerialPort, calls);
        if (result.found.empty())
            bar.abandon();
    }
    const bool found = !result.found.empty();
    if (!found ||
        !askYesNo(window_, foundStationQuestion(result.found[0]).c_str(), findStationCaption) ||
        useFoundStation(result.found[0]) < 0)
        selectStation(previous);
    if (!found && result.complete)
        showMessageBox(window_, noStationFoundText(ports, result).c_str(), findStationCaption);
    SendDlgItemMessageA(window_, IDC_STATION_LIST, CB_SETCURSEL,
                        static_cast<WPARAM>(selectedStationIndex()), 0);
    showOptionsPage(false);
}

TabPage* createStationSetupPage(const char* templateName, WindowHandle parent) {
    return new StationSetupPage(templateName, parent);
}
