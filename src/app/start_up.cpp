#include "app/start_up.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/animation_window.h"
#include "app/build_info.h"
#include "app/main_frame.h"
#include "app/page_table.h"
#include "files/load_save_page.h"
#include "foundation/message_box.h"
#include "foundation/module_instance.h"
#include "pages/speed_table_graph.h"
#include "stations/nce_driver.h"
#include "stations/nce_options_page.h"
#include "stations/station_manager.h"
#include "stations/write_journal.h"

namespace {

// Windows 98 is version 4.10; 95 and NT 4 lack what the program relies on.
bool isWindowsVersionSupported() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return false;
    return version.dwMajorVersion > 4 ||
           (version.dwMajorVersion == 4 && version.dwMinorVersion >= 10);
}

bool initialiseCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_USEREX_CLASSES;
    return InitCommonControlsEx(&controls) != FALSE;
}

// How often the station is told that nothing runs, so it can leave programming mode in time.
constexpr UINT stationIdleCheckMs = 1000;

// Timer messages are dispatched only between actions (and while a message box waits), never in
// the middle of a station exchange.
void CALLBACK checkStationIdle(HWND, UINT, UINT_PTR, DWORD) {
    stationIdle();
}

// Runs until the quit message and returns its code.
int runMessageLoop(HWND mainWindow, HACCEL accelerators) {
    MSG message{};
    // GetMessage reports an error as -1, which must end the loop rather than spin on it.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(mainWindow, accelerators, &message))
            continue;
        // The keyboard of the dialog the message is for: the main window and its pages, or the
        // serial log window, whose Escape closes it.
        HWND dialog = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : mainWindow;
        if (IsDialogMessageA(dialog ? dialog : mainWindow, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

// After the station, so that a file's values meet the station's error, if any, in that order.
void openStartFile(MainFrame& frame, const StartFile& startFile) {
    if (!startFile.error.empty())
        showMessageBox(frame.window(), startFile.error.c_str(), "Error");
    else if (auto* page = dynamic_cast<LoadSavePage*>(frame.currentPage()))
        page->readDecoderFile(startFile.path.c_str());
}

} // namespace

int runVelquist(HINSTANCE instance, int showCommand, const StartFile& startFile) {
    setModuleInstance(instance);
    if (!isWindowsVersionSupported()) {
        char text[128];
        std::snprintf(text, sizeof text, "%s requires Window 98 or higher.", productName);
        showMessageBox(nullptr, text, "ERROR");
        return 0;
    }
    if (!initialiseCommonControls())
        return 0;
    HACCEL accelerators = LoadAcceleratorsA(instance, "Orvale_Accelerators");

    auto* frame = new MainFrame(showCommand, startFile.path.empty() ? 0 : loadSavePosition);
    if (frame->createWindow() != 0) {
        frame->destroyPage();
        return 0;
    }
    frame->showPage();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    setNceOptionsPageFactory(createNceOptionsPage);
    // Said once, when the first write finds the journal cannot be written; the write goes on.
    setJournalProblemHandler(
        [](const std::string& text) { showMessageBox(nullptr, text.c_str(), "Journal"); });
    restoreStation();
    const UINT_PTR idleTimer = SetTimer(nullptr, 0, stationIdleCheckMs, checkStationIdle);

    int exitCode = 0;
    if (registerAnimationClass() == 0 && registerSpeedTableClasses() == 0) {
        openStartFile(*frame, startFile);
        exitCode = runMessageLoop(frame->window(), accelerators);
    }

    // The window goes first: its destruction stores the placement before the station is stored
    // and closed.
    KillTimer(nullptr, idleTimer);
    frame->destroyPage();
    saveAndShutdownStations();
    return exitCode;
}
