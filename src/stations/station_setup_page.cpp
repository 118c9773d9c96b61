#include "stations/station_setup_page.h"

#include <string>

#include "foundation/message_box.h"
#include "foundation/ptr_list.h"
#include "model/wait_bar.h"
#include "resources/resource_ids.h"
#include "stations/program_on_choice.h"
#include "stations/station_finder.h"
#include "stations/station_manager.h"

namespace {

const char findStationCaption[] = "Find Station";

bool escapePressed() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE) &&
           message.wParam == VK_ESCAPE;
}

const int programOnButtons[] = {IDC_PROGRAM_ON_TRACK, IDC_PROGRAM_ON_MAIN,
                                IDC_PROGRAM_ON_ACCESSORY};

std::string dialogText(HWND window, int id) {
    char text[32] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
}

ProgramOn chosenProgramOn(HWND window) {
    if (IsDlgButtonChecked(window, IDC_PROGRAM_ON_MAIN) == BST_CHECKED)
        return ProgramOn::locomotive;
    if (IsDlgButtonChecked(window, IDC_PROGRAM_ON_ACCESSORY) == BST_CHECKED)
        return ProgramOn::accessory;
    return ProgramOn::track;
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
    showProgramOn(mainTrackTarget());
    return 0;
}

void StationSetupPage::showProgramOn(const MainTrackTarget& target) {
    const int chosen = programOnButtons[static_cast<int>(target.on)];
    for (int button : programOnButtons)
        CheckDlgButton(window_, button, button == chosen ? BST_CHECKED : BST_UNCHECKED);
    if (target.address != 0) {
        const std::string number = std::to_string(target.address);
        showing_ = true;
        SetDlgItemTextA(window_,
                        target.on == ProgramOn::accessory ? IDC_ACCESSORY_NUMBER : IDC_MAIN_ADDRESS,
                        number.c_str());
        showing_ = false;
    }
    CheckDlgButton(window_, IDC_MAIN_LONG,
                   target.on == ProgramOn::locomotive && target.longAddress ? BST_CHECKED
                                                                            : BST_UNCHECKED);
    applyProgramOn(target.on);
}

void StationSetupPage::applyProgramOn(ProgramOn chosen) {
    for (int button : programOnButtons)
        CheckDlgButton(window_, button,
                       button == programOnButtons[static_cast<int>(chosen)] ? BST_CHECKED
                                                                            : BST_UNCHECKED);
    const ProgramOnBoxes boxes{chosen, dialogText(window_, IDC_MAIN_ADDRESS),
                               IsDlgButtonChecked(window_, IDC_MAIN_LONG) == BST_CHECKED,
                               dialogText(window_, IDC_ACCESSORY_NUMBER)};
    std::string note;
    setMainTrackTarget(programOnTarget(boxes, &note));
    SetDlgItemTextA(window_, IDC_PROGRAM_ON_NOTE, note.c_str());
    SetWindowTextA(GetAncestor(window_, GA_ROOT), mainWindowTitle().c_str());
}

INT_PTR StationSetupPage::onCommand(int id, int notification) {
    if (id == IDC_FIND_STATION && notification == BN_CLICKED) {
        findStation();
        return 1;
    }
    if (id == IDC_PROGRAM_ON_TRACK || id == IDC_PROGRAM_ON_MAIN || id == IDC_PROGRAM_ON_ACCESSORY) {
        if (notification == BN_CLICKED)
            applyProgramOn(id == IDC_PROGRAM_ON_TRACK  ? ProgramOn::track
                           : id == IDC_PROGRAM_ON_MAIN ? ProgramOn::locomotive
                                                       : ProgramOn::accessory);
        return 1;
    }
    // An address typed counts at once; typing one chooses what it belongs to.
    if ((id == IDC_MAIN_ADDRESS || id == IDC_ACCESSORY_NUMBER) && notification == EN_CHANGE &&
        !showing_) {
        const ProgramOn owner =
            id == IDC_MAIN_ADDRESS ? ProgramOn::locomotive : ProgramOn::accessory;
        if (chosenProgramOn(window_) == owner || GetFocus() == GetDlgItem(window_, id))
            applyProgramOn(owner);
        return 1;
    }
    if (id == IDC_MAIN_LONG && notification == BN_CLICKED) {
        applyProgramOn(chosenProgramOn(window_) == ProgramOn::track ? ProgramOn::locomotive
                                                                    : chosenProgramOn(window_));
        return 1;
    }
    if (id == IDC_MAIN_ADDRESS || id == IDC_ACCESSORY_NUMBER)
        return 1;
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
        // Tab goes through the options before the Program on group, as they are read.
        SetWindowPos(optionsPage_->window(), frame, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
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
