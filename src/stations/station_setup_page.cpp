#include "stations/station_setup_page.h"

#include "foundation/ptr_list.h"
#include "resources/resource_ids.h"
#include "stations/station_manager.h"

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
    if (id != IDC_STATION_LIST)
        return TabPage::onCommand(id, notification);
    if (notification == CBN_SELCHANGE)
        showOptionsPage(true);
    return 1;
}

void StationSetupPage::showOptionsPage(bool reselect) {
    // Destroying the old page applies its settings to its driver before the choice changes.
    if (optionsPage_) {
        optionsPage_->destroyPage();
        optionsPage_ = nullptr;
    }
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

TabPage* createStationSetupPage(const char* templateName, WindowHandle parent) {
    return new StationSetupPage(templateName, parent);
}
