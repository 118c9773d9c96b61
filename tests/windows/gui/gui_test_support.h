// What the window tests share: seams that keep a test from blocking or touching the registry, a
// page and a driver that record what happens to them, and ways to drive the message loop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/tab_page.h"
#include "foundation/gdi_object_count.h"
#include "foundation/settings_store.h"
#include "stations/command_station_driver.h"

struct RecordedMessageBox {
    HWND owner;
    std::string text;
    std::string caption;
};

// One line per event, in the order they happened, from pages, drivers and tests alike.
std::vector<std::string>& events();

// A page on the tests' own template that records its life ("init <name>", "destroy <name>",
// "delete <name>") and the system messages passed on to it.
class RecordingPage : public TabPage {
  public:
    RecordingPage(const char* name, WindowHandle parent);

  protected:
    ~RecordingPage() override;
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDestroy(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onSysColorChange() override;
    INT_PTR onEnterSizeMove() override;
    INT_PTR onExitSizeMove() override;

  private:
    void record(const char* what);
    const char* name_;
};

// A page factory for the page table: a RecordingPage named after the tab's own template.
TabPage* createRecordingPage(const char* templateName, WindowHandle parent);

// A station that always opens and records what the manager asks of it, with what it finds of
// the main window's state at that moment.
class RecordingDriver : public CommandStationDriver {
  public:
    static constexpr StationTag tag = makeStationTag('T', 'e', 's', 't');
    RecordingDriver();
    ~RecordingDriver() override;
    TabPage* createOptionsPage(WindowHandle) override { return nullptr; }
    int32_t open(const char* configuration) override;
    int close() override;
    int readCv(int32_t, uint8_t*) override { return 1; }
    int writeCv(int32_t, int) override { return 1; }
    int getVersion(StationVersionInfo*) override { return 1; }
    std::string getConfig() override;
    StationTag getTag() override { return tag; }
};

// Every window test starts from here: message boxes recorded, pauses skipped, settings in
// memory, the recording driver as the only station, the page table and input state as the
// program has them.
class ShellTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The top-level window of this thread with the main window's caption, or none.
    static HWND findMainWindow();
    // Runs the whole program; action runs once from inside its message loop.
    int runProgram(std::function<void()> action, int showCommand = SW_SHOWNORMAL);
    // Handles what is queued for this thread's windows; reports whether a quit message came.
    static bool pumpMessages();

    void storeDword(const char* name, uint32_t value);
    void storeText(const char* name, const char* text);
    // A stored DWORD, or nothing when missing or of another type.
    bool storedDword(const char* name, uint32_t* value);
    std::string storedText(const char* name);

    MemorySettingsStore store;
    std::vector<RecordedMessageBox>& messageBoxes();
};

RECT windowRect(HWND window);
// Clicks a tab the way the user does, so the tab control itself notifies its parent.
void clickTab(HWND tabControl, int position);

// The control with this id anywhere below root (options pages sit inside their host page).
HWND findControl(HWND root, int id);
// Top-level windows of this thread with this caption.
int threadWindowCount(const char* caption);
std::string controlText(HWND window);

// The command lines a simulated station received, from the log named by the environment
// variable (VELQUIST_STATION_LOG for COM1, VELQUIST_STATION2_LOG for COM2).
std::vector<std::string> stationLines(const char* logVariable);
