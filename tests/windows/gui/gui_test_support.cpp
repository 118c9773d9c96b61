#include "gui_test_support.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>

#include "app/page_table.h"
#include "app/start_up.h"
#include "foundation/message_box.h"
#include "foundation/pause.h"
#include "stations/station_drivers.h"

namespace {

std::vector<RecordedMessageBox> recordedBoxes;

void recordMessageBox(WindowHandle owner, const char* text, const char* caption) {
    recordedBoxes.push_back({owner, text ? text : "", caption ? caption : ""});
}

void skipPause(unsigned) {}

void constructRecordingDriver() {
    new RecordingDriver();
}

BOOL CALLBACK findCaption(HWND window, LPARAM found) {
    char caption[32] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (std::string(caption) != "Velquist")
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

HWND mainWindowOfThisThread() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findCaption, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::function<void()> pendingAction;

void CALLBACK runPendingAction(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    std::function<void()> action = std::move(pendingAction);
    pendingAction = nullptr;
    if (action)
        action();
}

// A test whose action fails to end the program must fail, not hang.
void CALLBACK giveUp(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    events().push_back("gave up waiting for the program to end");
    PostQuitMessage(99);
}

} // namespace

std::vector<std::string>& events() {
    static std::vector<std::string> recorded;
    return recorded;
}

RecordingPage::RecordingPage(const char* name, WindowHandle parent)
    : TabPage("GUI_TEST_PAGE", parent), name_(name) {}

RecordingPage::~RecordingPage() {
    record("delete");
}

void RecordingPage::record(const char* what) {
    events().push_back(std::string(what) + " " + name_);
}

INT_PTR RecordingPage::onInitDialog(WPARAM, LPARAM) {
    record("init");
    return 0;
}

INT_PTR RecordingPage::onDestroy(WPARAM, LPARAM) {
    record("destroy");
    return 0;
}

INT_PTR RecordingPage::onSysColorChange() {
    record("colours");
    return 0;
}

INT_PTR RecordingPage::onEnterSizeMove() {
    record("enter size/move");
    return 0;
}

INT_PTR RecordingPage::onExitSizeMove() {
    record("exit size/move");
    return 0;
}

TabPage* createRecordingPage(const char* templateName, WindowHandle parent) {
    return new RecordingPage(templateName, parent);
}

RecordingDriver::RecordingDriver() : CommandStationDriver("Recording Station") {}

RecordingDriver::~RecordingDriver() {
    events().push_back("delete driver");
}

int32_t RecordingDriver::open(const char* configuration) {
    events().push_back(std::string("open ") + (configuration ? configuration : "(none)"));
    return 0;
}

int RecordingDriver::close() {
    events().push_back("close");
    return 0;
}

// The station is stored after the main window has gone and stored its placement.
std::string RecordingDriver::getConfig() {
    uint32_t type = 0;
    uint32_t location = 0;
    uint32_t size = sizeof location;
    const bool placementStored = settingsStore().readValue("MainLocation", &type, &location, &size);
    events().push_back(std::string("store station: placement ") +
                       (placementStored ? "stored" : "not stored") + ", main window " +
                       (mainWindowOfThisThread() ? "open" : "gone"));
    return "recorded";
}

void ShellTest::SetUp() {
    events().clear();
    recordedBoxes.clear();
    setMessageBoxHandler(recordMessageBox);
    setPauseHandler(skipPause);
    setSettingsStore(&store);
    setStationConstructor(constructRecordingDriver);
}

void ShellTest::TearDown() {
    for (size_t position = 0; position < pageCount; ++position)
        setPageFactory(position, nullptr);
    setStationConstructor(nullptr);
    setSettingsStore(nullptr);
    setPauseHandler(nullptr);
    setMessageBoxHandler(nullptr);
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    pumpMessages();
}

HWND ShellTest::findMainWindow() {
    return mainWindowOfThisThread();
}

int ShellTest::runProgram(std::function<void()> action, int showCommand) {
    pendingAction = std::move(action);
    SetTimer(nullptr, 0, 10, runPendingAction);
    const UINT_PTR deadline = SetTimer(nullptr, 0, 10000, giveUp);
    const int exitCode = runVelquist(GetModuleHandleA(nullptr), showCommand);
    KillTimer(nullptr, deadline);
    return exitCode;
}

bool ShellTest::pumpMessages() {
    bool quit = false;
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return quit;
}

void ShellTest::storeDword(const char* name, uint32_t value) {
    store.openKey("test", nullptr);
    store.writeValue(name, settingTypeDword, &value, sizeof value);
}

void ShellTest::storeText(const char* name, const char* text) {
    store.openKey("test", nullptr);
    store.writeValue(name, settingTypeText, text, static_cast<uint32_t>(std::strlen(text) + 1));
}

bool ShellTest::storedDword(const char* name, uint32_t* value) {
    uint32_t type = 0;
    uint32_t size = sizeof *value;
    return store.readValue(name, &type, value, &size) && type == settingTypeDword &&
           size == sizeof *value;
}

std::string ShellTest::storedText(const char* name) {
    uint32_t type = 0;
    char text[256] = {};
    uint32_t size = sizeof text - 1;
    if (!store.readValue(name, &type, text, &size) || type != settingTypeText)
        return "(not text)";
    return std::string(text, size);
}

std::vector<RecordedMessageBox>& ShellTest::messageBoxes() {
    return recordedBoxes;
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

void clickTab(HWND tabControl, int position) {
    RECT item{};
    SendMessageA(tabControl, TCM_GETITEMRECT, position, reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(tabControl, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageA(tabControl, WM_LBUTTONUP, 0, point);
}

namespace {

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK matchControlId(HWND window, LPARAM search) {
    auto* wanted = reinterpret_cast<ControlSearch*>(search);
    if (GetDlgCtrlID(window) != wanted->id)
        return TRUE;
    wanted->found = window;
    return FALSE;
}

struct CaptionCount {
    const char* caption;
    int count;
};

BOOL CALLBACK countCaption(HWND window, LPARAM counter) {
    auto* wanted = reinterpret_cast<CaptionCount*>(counter);
    if (controlText(window) == wanted->caption)
        ++wanted->count;
    return TRUE;
}

} // namespace

HWND findControl(HWND root, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(root, matchControlId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int threadWindowCount(const char* caption) {
    CaptionCount counter{caption, 0};
    EnumThreadWindows(GetCurrentThreadId(), countCaption, reinterpret_cast<LPARAM>(&counter));
    return counter.count;
}

std::string controlText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::vector<std::string> stationLines(const char* logVariable) {
    std::vector<std::string> lines;
    const char* path = std::getenv(logVariable);
    if (!path)
        return lines;
    // A Unix path is on Wine's drive Z:, whatever the current drive.
    std::ifstream log(path[0] == '/' ? std::string("Z:") + path : std::string(path));
    std::string line;
    while (std::getline(log, line))
        lines.push_back(line.substr(line.find(' ') + 1));
    return lines;
}
