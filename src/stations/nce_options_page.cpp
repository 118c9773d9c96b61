#include "stations/nce_options_page.h"

#include "foundation/message_box.h"
#include "model/wait_bar.h"
#include "resources/resource_ids.h"
#include "stations/nce_options.h"
#include "stations/nce_station_driver.h"
#include "stations/station_manager.h"

NceOptionsPage::NceOptionsPage(NceStationDriver* driver, WindowHandle parent)
    : TabPage("DEVICE_OPTIONS_NCE", parent), driver_(driver) {}

INT_PTR NceOptionsPage::onInitDialog(WPARAM, LPARAM) {
    HWND baud = GetDlgItem(window_, IDC_NCE_BAUD);
    for (WPARAM index = 0; index < 2; ++index)
        SendMessageA(baud, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(baudRateTexts[index]));
    SendMessageA(baud, CB_SETCURSEL, driver_ ? static_cast<WPARAM>(driver_->baudIndex()) : 0, 0);

    HWND port = GetDlgItem(window_, IDC_NCE_PORT);
    for (WPARAM index = 0; index < 2; ++index)
        SendMessageA(port, CB_INSERTSTRING, index,
                     reinterpret_cast<LPARAM>(offeredPortNames[index]));
    // What the box cannot hold would be cut off unseen when the page reads it.
    SendMessageA(port, CB_LIMITTEXT, portBoxCapacity - 1, 0);
    SetWindowTextA(port, driver_ ? driver_->portName() : "");

    SetDlgItemTextA(window_, IDC_NCE_NAME, driver_ ? driver_->name() : "");
    if (driver_) {
        SetDlgItemInt(window_, IDC_NCE_READ_RETRIES, static_cast<UINT>(driver_->readRetries()),
                      FALSE);
        SetDlgItemInt(window_, IDC_NCE_ANSWER_WAIT, static_cast<UINT>(driver_->answerWaitSeconds()),
                      FALSE);
    }
    if (driver_ && *driver_->versionText())
        SetDlgItemTextA(window_, IDC_NCE_VERSION, driver_->versionText());
    return 0;
}

INT_PTR NceOptionsPage::onDestroy(WPARAM, LPARAM) {
    apply();
    return 1;
}

INT_PTR NceOptionsPage::onCommand(int id, int notification) {
    if (id == IDC_NCE_TEST && notification == BN_CLICKED) {
        testConnection();
        return 1;
    }
    if (id == IDC_NCE_SERIAL_LOG && notification == BN_CLICKED) {
        if (driver_)
            driver_->show(1);
        return 1;
    }
    return TabPage::onCommand(id, notification);
}

void NceOptionsPage::readControls(char* port, int32_t* baudIndex) const {
    GetDlgItemTextA(window_, IDC_NCE_PORT, port, portBoxCapacity);
    *baudIndex =
        static_cast<int32_t>(SendDlgItemMessageA(window_, IDC_NCE_BAUD, CB_GETCURSEL, 0, 0));
}

int NceOptionsPage::apply() {
    if (!driver_)
        return 0;
    char port[portBoxCapacity] = {};
    int32_t baudIndex = 0;
    readControls(port, &baudIndex);
    char retries[8] = {};
    char wait[8] = {};
    GetDlgItemTextA(window_, IDC_NCE_READ_RETRIES, retries, sizeof retries);
    GetDlgItemTextA(window_, IDC_NCE_ANSWER_WAIT, wait, sizeof wait);
    applyNceTimings(*driver_, retries, wait);
    return applyNceOptions(*driver_, port, baudIndex, false);
}

void NceOptionsPage::testConnection() {
    bool reconnected = false;
    if (driver_) {
        // A port typed a moment ago is the one the user means to test.
        char port[portBoxCapacity] = {};
        int32_t baudIndex = 0;
        readControls(port, &baudIndex);
        reconnected = prepareNceTest(*driver_, port, baudIndex) != 0;
    }
    int result = 1;
    if (isStationOpen()) {
        WaitBar bar(window_, 4, "Reseting Connection");
        bar.step(nullptr);
        if (driver_) {
            reconnected = apply() != 0 || reconnected;
            if (isStationOpen()) {
                bar.step("Getting box version");
                StationVersionInfo info{};
                result = stationGetVersion(&info);
                SetDlgItemTextA(window_, IDC_NCE_VERSION, driver_->versionText());
            }
        }
        bar.step("Complete");
    }
    // The version of a station no longer reached would mislead, now and when the page is built
    // again: say why it was not reached.
    if (reconnected && !isStationOpen()) {
        driver_->setVersionText(stationErrorText());
        SetDlgItemTextA(window_, IDC_NCE_VERSION, driver_->versionText());
    }
    if (!driver_)
        showMessageBox(window_, "Cannot communicate with the station", "Error");
    else if (result == 0 && !driver_->programmingProblem().empty())
        // The station answers, but this driver cannot program it: that is no "OK".
        showMessageBox(window_, driver_->programmingProblem().c_str(), "Error");
    else if (result == 0)
        showMessageBox(window_, driver_->testTexts().passed, driver_->testTexts().passedCaption);
    else
        showMessageBox(window_, driver_->testTexts().failed, "Error");
}

TabPage* createNceOptionsPage(NceStationDriver* driver, WindowHandle parent) {
    return new NceOptionsPage(driver, parent);
}
