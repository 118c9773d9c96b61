// Drives the running velquist.exe from another process for the end-to-end tests: it finds
// controls by id inside the main window and acts through window messages, never through screen
// coordinates. Commands come as arguments and run left to right; queries print one line each.
// The first command that cannot be done prints "FAILED: ..." and ends the run with 1.
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "foundation/gdi_object_count.h"
#include "foundation/heap_in_use.h"

namespace {

constexpr int messageTextId = 0xFFFF; // the text of a message box
constexpr int fileNameCombo = 1148;   // the name field of the common file dialogs
constexpr int mainTabs = 1081;
constexpr int quitCommand = 40003; // what Ctrl+Q sends

HWND mainWindow = nullptr;
DWORD programProcess = 0;

// One action at a time runs in the program while the driver goes on: a click sent from a worker
// thread, so a message box the action opens can still be seen and answered. The worker starts
// with the driver: a Wine process's first new thread costs some 15 ms, which would otherwise be
// counted in a timed action.
struct PendingAction {
    HANDLE start = nullptr; // set when an action is ready for the worker
    HANDLE done = nullptr;  // set while no action runs
    HWND target = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
} pending;

[[noreturn]] void fail(const std::string& why) {
    std::printf("FAILED: %s\n", why.c_str());
    std::fflush(stdout);
    std::exit(1);
}

unsigned long millisecondsFrom(const char* text) {
    return static_cast<unsigned long>(std::strtod(text, nullptr) * 1000.0);
}

std::string windowText(HWND window) {
    char text[4096] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_NORMAL, 10000, &length);
    return text;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK matchControl(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ControlSearch*>(data);
    if (GetDlgCtrlID(window) == search->id && IsWindowVisible(GetParent(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND control(int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(mainWindow, matchControl, reinterpret_cast<LPARAM>(&search));
    if (!search.found)
        fail("no control " + std::to_string(id) + " on the page shown");
    return search.found;
}

// The program's shown top-level dialog holding the given child: a message box or a file dialog.
HWND findDialog(int childId) {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32770", nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == programProcess && IsWindowVisible(window) && GetDlgItem(window, childId))
            return window;
    }
    return nullptr;
}

HWND waitForDialog(int childId, unsigned long milliseconds, const char* what) {
    for (unsigned long waited = 0;; waited += 50) {
        if (HWND dialog = findDialog(childId))
            return dialog;
        if (waited >= milliseconds)
            fail(std::string("no ") + what + " appeared");
        Sleep(50);
    }
}

DWORD WINAPI sendPending(LPVOID) {
    for (;;) {
        WaitForSingleObject(pending.start, INFINITE);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(pending.target, pending.message, pending.wParam, pending.lParam,
                            SMTO_NORMAL, 600000, &result);
        SetEvent(pending.done);
    }
}

void startWorker() {
    pending.start = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    pending.done = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    if (!pending.start || !pending.done ||
        !CreateThread(nullptr, 0, sendPending, nullptr, 0, nullptr))
        fail("cannot start the worker thread");
}

// How often a running action is checked for a dialog it opened. Each check is a few dozen
// requests to Wine's server, which the program's own requests wait behind; the action's end is
// seen at once whatever this is.
constexpr DWORD dialogCheckMs = 250;

// Waits for the running action to end; a message box that comes up instead is a failure.
void waitIdle(unsigned long milliseconds) {
    for (unsigned long waited = 0;; waited += dialogCheckMs) {
        if (WaitForSingleObject(pending.done, dialogCheckMs) == WAIT_OBJECT_0)
            break;
        if (HWND box = findDialog(messageTextId))
            fail("a message box came up: " + windowText(box) + "|" +
                 windowText(GetDlgItem(box, messageTextId)));
        if (waited >= milliseconds)
            fail("the program is still busy");
    }
}

// Starts an action and returns once it has ended or has opened a dialog of its own.
void act(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    waitIdle(60000);
    pending.target = target;
    pending.message = message;
    pending.wParam = wParam;
    pending.lParam = lParam;
    ResetEvent(pending.done);
    SetEvent(pending.start);
    for (;;) {
        if (WaitForSingleObject(pending.done, dialogCheckMs) == WAIT_OBJECT_0)
            return;
        if (findDialog(messageTextId) || findDialog(fileNameCombo))
            return;
    }
}

BOOL CALLBACK countWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK countProgramWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == programProcess) {
        countWindow(window, count);
        EnumChildWindows(window, countWindow, count); // every descendant, not only children
    }
    return TRUE;
}

long askProgram(const char* messageName, const char* what) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(mainWindow, RegisterWindowMessageA(messageName), 0, 0, SMTO_NORMAL,
                             60000, &answer))
        fail(std::string("the program did not report its ") + what);
    return static_cast<long>(answer);
}

// The program's windows (top-level ones and all below them), GDI objects and heap kilobytes in
// use; the program counts the last two itself when asked, as no other process can see them.
void printResources() {
    int windows = 0;
    EnumWindows(countProgramWindow, reinterpret_cast<LPARAM>(&windows));
    const long gdiObjects = askProgram(gdiCountMessageName, "GDI objects");
    const long heapKilobytes = askProgram(heapInUseMessageName, "heap in use");
    std::printf("windows %d gdi %ld heap_kb %ld\n", windows, gdiObjects, heapKilobytes);
}

// The main window is the dialog that holds the tabs: its title names the decoder on the main.
HWND findMainWindow() {
    for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", nullptr); window;
         window = FindWindowExA(nullptr, window, "#32770", nullptr))
        if (GetDlgItem(window, mainTabs) && windowText(window).rfind("Velquist", 0) == 0)
            return window;
    return nullptr;
}

void waitForMainWindow(unsigned long milliseconds) {
    for (unsigned long waited = 0; !mainWindow; waited += 100) {
        mainWindow = findMainWindow();
        if (!mainWindow && waited >= milliseconds)
            fail("the main window did not appear");
        if (!mainWindow)
            Sleep(100);
    }
    GetWindowThreadProcessId(mainWindow, &programProcess);
    // The window shows before start-up has opened the station; the program answers messages
    // only once its message loop runs, and a click before then would find no station.
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(mainWindow, WM_NULL, 0, 0, SMTO_NORMAL, milliseconds, &ignored))
        fail("the program did not finish starting");
}

void needMain() {
    if (!mainWindow)
        waitForMainWindow(30000);
}

int number(const char* text) {
    return static_cast<int>(std::strtol(text, nullptr, 0));
}

} // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    LARGE_INTEGER started{};
    QueryPerformanceCounter(&started);
    startWorker();
    std::vector<std::string> args(argv + 1, argv + argc);
    size_t i = 0;
    auto next = [&](const char* what) -> const char* {
        if (i >= args.size())
            fail(std::string("missing ") + what);
        return args[i++].c_str();
    };
    auto optionalSeconds = [&](unsigned long fallback) {
        if (i < args.size() && (std::isdigit(static_cast<unsigned char>(args[i][0]))))
            return millisecondsFrom(args[i++].c_str());
        return fallback;
    };
    while (i < args.size()) {
        const std::string command = args[i++];
        if (command == "main") {
            waitForMainWindow(optionalSeconds(30000));
        } else if (command == "tab") {
            needMain();
            act(GetDlgItem(mainWindow, mainTabs), TCM_SETCURFOCUS, number(next("tab")), 0);
        } else if (command == "click") {
            needMain();
            act(control(number(next("control id"))), BM_CLICK, 0, 0);
        } else if (command == "set") {
            needMain();
            HWND box = control(number(next("control id")));
            const char* text = next("text");
            act(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        } else if (command == "get") {
            needMain();
            std::printf("%s\n", windowText(control(number(next("control id")))).c_str());
        } else if (command == "title") {
            needMain();
            std::printf("%s\n", windowText(mainWindow).c_str());
        } else if (command == "enabled") {
            needMain();
            std::printf("%d\n", IsWindowEnabled(control(number(next("control id")))) ? 1 : 0);
        } else if (command == "checked") {
            needMain();
            DWORD_PTR state = 0;
            SendMessageTimeoutA(control(number(next("control id"))), BM_GETCHECK, 0, 0, SMTO_NORMAL,
                                10000, &state);
            std::printf("%d\n", state == BST_CHECKED ? 1 : 0);
        } else if (command == "select") {
            needMain();
            const int id = number(next("control id"));
            HWND list = control(id);
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(list, CB_SETCURSEL, number(next("index")), 0, SMTO_NORMAL, 10000,
                                &ignored);
            act(GetParent(list), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                reinterpret_cast<LPARAM>(list));
        } else if (command == "send") {
            needMain();
            HWND target = control(number(next("control id")));
            const UINT message = static_cast<UINT>(number(next("message")));
            const WPARAM wParam = static_cast<WPARAM>(number(next("wParam")));
            const LPARAM lParam = number(next("lParam"));
            waitIdle(60000);
            DWORD_PTR result = 0;
            SendMessageTimeoutA(target, message, wParam, lParam, SMTO_NORMAL, 60000, &result);
            std::printf("%ld\n", static_cast<long>(result));
        } else if (command == "key") {
            needMain();
            HWND target = control(number(next("control id")));
            const WPARAM key = static_cast<WPARAM>(number(next("virtual key")));
            waitIdle(60000);
            PostMessageA(target, WM_KEYDOWN, key, 1);
            PostMessageA(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
        } else if (command == "escape") {
            needMain();
            // Taken off the queue by the running action's cancel test.
            PostMessageA(mainWindow, WM_KEYDOWN, VK_ESCAPE, 1);
        } else if (command == "idle") {
            waitIdle(optionalSeconds(60000));
        } else if (command == "box") {
            needMain();
            HWND box = waitForDialog(messageTextId, optionalSeconds(30000), "message box");
            std::printf("%s|%s\n", windowText(box).c_str(),
                        windowText(GetDlgItem(box, messageTextId)).c_str());
        } else if (command == "nobox") {
            needMain();
            if (HWND box = findDialog(messageTextId))
                fail("a message box is open: " + windowText(GetDlgItem(box, messageTextId)));
        } else if (command == "answer") {
            needMain();
            const int button = number(next("button id"));
            HWND box = waitForDialog(messageTextId, 30000, "message box");
            if (!GetDlgItem(box, button))
                fail("the message box has no button " + std::to_string(button));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
            for (int waited = 0; IsWindow(box) && IsWindowVisible(box); waited += 50) {
                if (waited > 10000)
                    fail("the message box stayed open");
                Sleep(50);
            }
        } else if (command == "save" || command == "open") {
            needMain();
            const char* path = next("path");
            HWND dialog = waitForDialog(fileNameCombo, 30000, "file dialog");
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(GetDlgItem(dialog, fileNameCombo), WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(path), SMTO_NORMAL, 10000, &ignored);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
            for (int waited = 0; IsWindow(dialog) && IsWindowVisible(dialog); waited += 50) {
                if (waited > 10000)
                    fail("the file dialog stayed open");
                Sleep(50);
            }
        } else if (command == "menu") {
            // A command as its accelerator key sends it to the main window (Ctrl+Z is 40004).
            needMain();
            act(mainWindow, WM_COMMAND, MAKEWPARAM(number(next("command id")), 1), 0);
        } else if (command == "quit") {
            needMain();
            waitIdle(60000);
            PostMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(quitCommand, 0), 0);
            for (int waited = 0; IsWindow(mainWindow); waited += 50) {
                if (waited > 30000)
                    fail("the program did not quit");
                Sleep(50);
            }
        } else if (command == "clock") {
            // Milliseconds since the driver started: two of them time the commands between.
            LARGE_INTEGER now{};
            LARGE_INTEGER frequency{};
            QueryPerformanceCounter(&now);
            QueryPerformanceFrequency(&frequency);
            std::printf("%.1f\n", static_cast<double>(now.QuadPart - started.QuadPart) * 1000.0 /
                                      static_cast<double>(frequency.QuadPart));
        } else if (command == "resources") {
            needMain();
            waitIdle(60000);
            printResources();
        } else if (command == "sleep") {
            Sleep(static_cast<DWORD>(number(next("milliseconds"))));
        } else {
            fail("unknown command " + command);
        }
        std::fflush(stdout);
    }
    waitIdle(60000);
    return 0;
}
