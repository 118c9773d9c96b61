// The whole program driven by real key presses (SendInput) through its own message loop: Tab
// and Shift+Tab walk every page in reading order and change nothing, each CV 29 radio pair is one
// stop whose button the arrow keys and Space choose, Escape and Enter on a page are harmless, and
// the serial log window takes its keys too.
#include "gui_test_support.h"

#include <memory>
#include <string>
#include <vector>

#include "model/cv_text_store.h"
#include "pages/locomotive_rules.h"
#include "resources/resource_ids.h"
#include "stations/station_drivers.h"

namespace {

struct Key {
    WORD code;
    bool shift;
};
const Key tab{VK_TAB, false};
const Key backTab{VK_TAB, true};
const Key up{VK_UP, false};
const Key down{VK_DOWN, false};
const Key space{VK_SPACE, false};
const Key escape{VK_ESCAPE, false};
const Key enter{VK_RETURN, false};

constexpr int configBox = 1075; // the locomotive page's hidden CV 29 box

void press(const Key& key) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD code, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (key.shift)
        add(VK_SHIFT, 0);
    add(key.code, 0);
    add(key.code, KEYEVENTF_KEYUP);
    if (key.shift)
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The program's main window, among this thread's windows.
HWND mainWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) {
            char caption[16] = {};
            GetWindowTextA(window, caption, sizeof caption);
            if (std::string(caption) != "Velquist")
                return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string text(int id) {
    return controlText(findControl(mainWindow(), id));
}

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The control the user sees focused: a combo box rather than its edit, a speed table slider
// rather than its thumb.
int focusedControl() {
    HWND focus = GetFocus();
    HWND parent = GetParent(focus);
    const std::string outer = className(parent);
    if (outer == "ComboBox" || outer == "Orvale_DCC_SpeedTableSlide_Window")
        return GetDlgCtrlID(parent);
    return GetDlgCtrlID(focus);
}

// One key after another from a timer inside the program's loop: a timer message comes only once
// the loop has handled every key press before it.
struct KeyScript {
    std::vector<Key> keys;
    std::function<std::string()> observe;
    size_t next = 0;
    std::vector<std::string> seen; // what observe saw after each key
};
KeyScript* running = nullptr;

void CALLBACK pressNextKey(HWND, UINT, UINT_PTR timer, DWORD) {
    KeyScript& script = *running;
    if (script.next > 0)
        script.seen.push_back(script.observe());
    if (script.next < script.keys.size()) {
        press(script.keys[script.next++]);
        return;
    }
    KillTimer(nullptr, timer);
    PostMessageA(mainWindow(), WM_CLOSE, 0, 0);
}

class KeyboardTest : public ShellTest {
  protected:
    // The program's own station, the simulated one on COM1, so the Connection Setup tab shows
    // its options page.
    void SetUp() override {
        ShellTest::SetUp();
        forgetPages();
        setStationConstructor(nullptr);
        linesBefore_ = stationLines("VELQUIST_STATION_LOG").size();
    }

    // Pages keep their texts and the locomotive page its CV 29 when they go: start afresh.
    static void forgetPages() {
        CvTextStore::reset();
        resetLocomotivePageState();
    }

    // Opens a tab, focuses a control, presses the keys and gives what observe saw after each.
    std::vector<std::string> pressOnTab(int position, int startId, std::vector<Key> keys,
                                        std::function<std::string()> observe) {
        KeyScript script;
        script.keys = std::move(keys);
        script.observe = std::move(observe);
        running = &script;
        runProgram([&] {
            HWND main = mainWindow();
            SetForegroundWindow(main);
            clickTab(GetDlgItem(main, IDC_MAIN_TABS), position);
            SetFocus(findControl(main, startId));
            SetTimer(nullptr, 0, 20, pressNextKey);
        });
        running = nullptr;
        return script.seen;
    }

    // The station heard nothing but the closing of the line.
    void expectNoStationCommand() {
        std::vector<std::string> lines = stationLines("VELQUIST_STATION_LOG");
        lines.erase(lines.begin(), lines.begin() + static_cast<long>(linesBefore_));
        for (const std::string& line : lines)
            EXPECT_EQ(line, "X");
    }

  private:
    size_t linesBefore_ = 0;
};

std::string focusText() {
    return std::to_string(focusedControl());
}

std::vector<std::string> texts(const std::vector<int>& ids) {
    std::vector<std::string> out;
    for (int id : ids)
        out.push_back(std::to_string(id));
    return out;
}

std::vector<int> sliders() {
    std::vector<int> ids;
    for (int step = 0; step < 28; ++step)
        ids.push_back(1401 + step);
    return ids;
}

// Rows of the function map as they are read: the boxes from left to right, then the value box.
std::vector<int> functionMapGrid() {
    const std::vector<std::vector<int>> rows = {
        {1105, 1106, 1107, 1108, 1109, 1110, 1104, 1103, 1194},
        {1113, 1114, 1115, 1116, 1117, 1118, 1112, 1111, 1193},
        {1121, 1122, 1123, 1124, 1125, 1126, 1120, 1119, 1192},
        {1129, 1130, 1131, 1132, 1133, 1134, 1128, 1127, 1191},
        {1137, 1138, 1139, 1140, 1141, 1142, 1136, 1135, 1190},
        {1145, 1146, 1147, 1148, 1149, 1150, 1144, 1143, 1189},
        {1153, 1154, 1155, 1156, 1157, 1158, 1152, 1151, 1188},
        {1161, 1162, 1163, 1164, 1165, 1166, 1160, 1159, 1187},
        {1169, 1170, 1171, 1172, 1173, 1174, 1168, 1167, 1186},
        {1183, 1178, 1179, 1180, 1181, 1182, 1176, 1175, 1185},
    };
    std::vector<int> ids;
    for (const auto& row : rows)
        ids.insert(ids.end(), row.begin(), row.end());
    return ids;
}

std::vector<int> joined(std::vector<int> first, const std::vector<int>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// Every page, from its tab control round to it again: forwards with Tab, back with Shift+Tab.
TEST_F(KeyboardTest, TabAndShiftTabWalkEveryPageInReadingOrder) {
    const std::vector<int> engine = {1052, 1057, 1054, 1056};
    const struct {
        int position;
        std::vector<int> order;
    } pages[] = {
        {0, joined({1050, 1051, 1042, 1043, 1062, 1065, 1067, 1069, 1071, 1073, 1059, 1060,
                    1061, 1044, 1045, 1046, 1047, 1048, 1049, 1058, 1064, 1053, 1055},
                   engine)},
        {1, joined(sliders(), joined({1305, 1298, 1300, 1299, 1302}, engine))},
        {2,
         {1009, 1039, 1045, 102, 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007, 1037, 1038, 1008,
          1010, 101, 100}},
        {3, joined(functionMapGrid(), engine)},
        {4, joined({1249, 1257, 1258, 1259, 1260, 1261, 1262, 1263, 1264, 1265, 1266, 1254, 1255},
                   engine)},
        {5, joined({1050, 1051, 1093, 1102, 1109, 1110, 1111, 1112, 1113, 1114, 1115, 1096, 1089,
                    1090, 1091, 1092},
                   engine)},
        {6, {1250, 1251, 1252, 1247, 1248, 1253}},
        {7,
         {IDC_STATION_LIST, IDC_FIND_STATION, IDC_NCE_PORT, IDC_NCE_BAUD, IDC_NCE_VERSION,
          IDC_NCE_READ_RETRIES, IDC_NCE_ANSWER_WAIT, IDC_NCE_TEST, IDC_NCE_SERIAL_LOG,
          IDC_PROGRAM_ON_TRACK, IDC_MAIN_ADDRESS, IDC_MAIN_LONG, IDC_ACCESSORY_NUMBER}},
        {8, {1088}},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE("tab " + std::to_string(page.position));
        std::vector<int> forwards = joined(page.order, {IDC_MAIN_TABS});
        std::vector<int> backwards(page.order.rbegin(), page.order.rend());
        backwards.push_back(IDC_MAIN_TABS);
        std::vector<Key> keys(forwards.size(), tab);
        keys.insert(keys.end(), backwards.size(), backTab);
        std::vector<std::string> seen = pressOnTab(page.position, IDC_MAIN_TABS, keys, focusText);
        EXPECT_EQ(seen, texts(joined(forwards, backwards)));
        EXPECT_TRUE(messageBoxes().empty());
    }
    expectNoStationCommand();
}

// Windows clicks an unchecked radio button that gets the focus other than by the mouse (unless
// told not to, BM_SETDONTCLICK); Wine's buttons do not. While it lives, this test's own "Button"
// class, which the page's dialog finds before the system's, does what Windows does.
class WindowsRadioButtons {
  public:
    WindowsRadioButtons() {
        WNDCLASSA buttons{};
        GetClassInfoA(nullptr, "Button", &buttons);
        systemProcedure = buttons.lpfnWndProc;
        buttons.lpfnWndProc = procedure;
        buttons.hInstance = GetModuleHandleA(nullptr);
        buttons.style &= ~CS_GLOBALCLASS;
        registered_ = RegisterClassA(&buttons) != 0;
    }
    ~WindowsRadioButtons() {
        if (registered_)
            UnregisterClassA("Button", GetModuleHandleA(nullptr));
    }
    bool registered() const { return registered_; }

  private:
    static LRESULT CALLBACK procedure(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
        const LRESULT result = CallWindowProcA(systemProcedure, button, message, wParam, lParam);
        const LONG type = GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK;
        if (message == WM_SETFOCUS && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) &&
            GetCapture() != button && SendMessageA(button, BM_GETCHECK, 0, 0) != BST_CHECKED)
            SendMessageA(GetParent(button), WM_COMMAND,
                         MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        return result;
    }
    static WNDPROC systemProcedure;
    bool registered_ = false;
};
WNDPROC WindowsRadioButtons::systemProcedure = nullptr;

std::string radioState() {
    std::string checked;
    for (int id = 1062; id <= 1074; ++id)
        if (id != 1064 &&
            SendMessageA(findControl(mainWindow(), id), BM_GETCHECK, 0, 0) == BST_CHECKED)
            checked += " " + std::to_string(id);
    return focusText() + " [" + text(configBox) + "]" + checked;
}

// With nothing known, Tab stops on the upper button of each pair and changes nothing; the
// arrow keys move within the pair and choose the button they land on, Space the focused one;
// coming back, Tab lands on the chosen button. The same with buttons that click on the focus,
// as Windows' do.
TEST_F(KeyboardTest, EachRadioPairIsOneTabStopChosenWithArrowsOrSpace) {
    const struct {
        Key key;
        std::string after;
    } steps[] = {
        {tab, "1062 []"},                // Direction, none checked: the upper one, unchosen
        {tab, "1065 []"},                // Speed Steps
        {backTab, "1062 []"},            //
        {down, "1063 [1] 1063"},         // "Reversed"
        {down, "1062 [0] 1062"},         // round the pair: "Normal"
        {up, "1063 [1] 1063"},           //
        {tab, "1065 [1] 1063"},          // on to Speed Steps, still unknown
        {space, "1065 [1] 1063 1065"},   // "14" chosen by Space
        {tab, "1067 [1] 1063 1065"},     // Power Conv
        {backTab, "1065 [1] 1063 1065"}, //
        {backTab, "1063 [1] 1063 1065"}, // back on the chosen "Reversed"
        {backTab, "1043 [1] 1063 1065"}, // the long address box
    };
    std::vector<Key> keys;
    std::vector<std::string> expected;
    for (const auto& step : steps) {
        keys.push_back(step.key);
        expected.push_back(step.after);
    }
    for (bool clickOnFocus : {false, true}) {
        SCOPED_TRACE(clickOnFocus ? "buttons clicked on the focus" : "Wine's buttons");
        std::unique_ptr<WindowsRadioButtons> windowsButtons;
        if (clickOnFocus) {
            windowsButtons = std::make_unique<WindowsRadioButtons>();
            ASSERT_TRUE(windowsButtons->registered());
        }
        EXPECT_EQ(pressOnTab(0, 1043, keys, radioState), expected);
        forgetPages();
    }
    expectNoStationCommand();
}

// Escape and Enter in a box of a page: the program goes on, the page and its text stay, no
// message and no station command.
TEST_F(KeyboardTest, EscapeAndEnterOnAPageAreHarmless) {
    const struct {
        int position;
        int box;
    } places[] = {{0, 1043}, {2, 1009}, {6, 1250}, {5, 1089}};
    for (const auto& place : places) {
        SCOPED_TRACE("tab " + std::to_string(place.position));
        std::vector<std::string> seen =
            pressOnTab(place.position, place.box, {escape, enter, escape},
                       [&] { return focusText() + " " + std::to_string(IsWindow(mainWindow())); });
        const std::string same = std::to_string(place.box) + " 1";
        EXPECT_EQ(seen, (std::vector<std::string>{same, same, same}));
        EXPECT_TRUE(messageBoxes().empty());
    }
    expectNoStationCommand();
}

// On the tab strip Left and Right change the page, as they do in any Windows tab control.
TEST_F(KeyboardTest, LeftAndRightOnTheTabStripChangeThePage) {
    const Key right{VK_RIGHT, false};
    const Key left{VK_LEFT, false};
    auto page = [] {
        return focusText() + " " +
               std::to_string(
                   SendMessageA(GetDlgItem(mainWindow(), IDC_MAIN_TABS), TCM_GETCURSEL, 0, 0)) +
               (findControl(mainWindow(), 1305) ? " speed table" : "");
    };
    EXPECT_EQ(pressOnTab(0, IDC_MAIN_TABS, {right, right, left}, page),
              (std::vector<std::string>{"1081 1 speed table", "1081 2", "1081 1 speed table"}));
}

// The serial log window opened with Space on its button: Tab keeps to its one control, and
// Escape closes it.
TEST_F(KeyboardTest, TheSerialLogWindowTakesTabAndClosesWithEscape) {
    auto logState = [] {
        HWND log = FindWindowA(nullptr, "Serial Comm Log");
        return focusText() + (log && IsWindowVisible(log) ? " log" : " no log");
    };
    const std::string onLog = std::to_string(IDC_LOG_TEXT) + " log";
    EXPECT_EQ(pressOnTab(7, IDC_NCE_SERIAL_LOG, {space, tab, backTab, escape}, logState),
              (std::vector<std::string>{onLog, onLog, onLog,
                                        std::to_string(IDC_NCE_SERIAL_LOG) + " no log"}));
}

} // namespace
