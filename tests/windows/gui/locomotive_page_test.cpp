// The locomotive page on its real dialog: its controls, the engine's buttons, the radio pairs
// and the units combo box as the user works them, Escape from the message queue, and texts
// that outlive the page.
#include "cv_page_test_support.h"

#include <commctrl.h>

#include <utility>

#include "app/win32_message_box.h"
#include "foundation/message_box.h"
#include "pages/locomotive_page.h"

namespace {

// A decoder that answers every CV of the page: long address 1234, CV 29 = 38 (28 steps).
const std::map<int32_t, int> decoderCvs = {
    {8, 11},  {7, 42},  {1, 3},  {18, 210}, {17, 196}, {3, 5},   {4, 7},   {29, 38}, {2, 10},
    {6, 100}, {5, 200}, {65, 4}, {66, 128}, {95, 127}, {10, 20}, {11, 30}, {105, 1}, {106, 2},
};

const std::vector<int> clearButtons = {1062, 1065, 1068, 1070, 1071, 1073};
const std::vector<int> setButtons = {1063, 1066, 1067, 1069, 1072, 1074};

// Counts the style changes of the radio buttons: each costs a round of messages under Wine.
class StyleChangeCounter {
  public:
    explicit StyleChangeCounter(std::vector<HWND> buttons) : buttons_(std::move(buttons)) {
        for (HWND button : buttons_)
            SetWindowSubclass(button, count, 0, reinterpret_cast<DWORD_PTR>(&changes_));
    }
    ~StyleChangeCounter() {
        for (HWND button : buttons_)
            RemoveWindowSubclass(button, count, 0);
    }
    int changes() const { return changes_; }

  private:
    static LRESULT CALLBACK count(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR changes) {
        if (message == WM_STYLECHANGED)
            ++*reinterpret_cast<int*>(changes);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    std::vector<HWND> buttons_;
    int changes_ = 0;
};

class LocomotivePageTest : public CvPageTest {
  protected:
    void openLocomotivePage() { openPage(new LocomotivePage("TAB_BASIC_LOCO", frame)); }

    // The ids of the checked radio buttons.
    std::vector<int> checkedRadios() const {
        std::vector<int> ids;
        for (int id = 1062; id <= 1074; ++id)
            if (id != 1064 && checked(id))
                ids.push_back(id);
        return ids;
    }
};

TEST_F(LocomotivePageTest, TemplateHoldsEveryControlOfItsKind) {
    openLocomotivePage();
    const LONG editBits = ES_NUMBER | ES_READONLY | ES_CENTER;
    std::vector<ExpectedControl> table = {
        {1050, "Edit", editBits, ES_READONLY | ES_CENTER, true},
        {1051, "Edit", editBits, ES_READONLY | ES_CENTER, true},
        {1061, "ComboBox", 3, CBS_DROPDOWNLIST, true},
        {1075, "Edit", 0, 0, false},
        {1076, "Edit", ES_NUMBER, ES_NUMBER, false},
        {1077, "Edit", ES_NUMBER, ES_NUMBER, false},
    };
    for (int id :
         {1042, 1043, 1059, 1060, 1044, 1045, 1046, 1047, 1048, 1049, 1058, 1064, 1053, 1055})
        table.push_back({id, "Edit", editBits, ES_NUMBER | ES_CENTER, true});
    for (int id : clearButtons)
        table.push_back({id, "Button", BS_TYPEMASK, BS_RADIOBUTTON, true});
    for (int id : setButtons)
        table.push_back({id, "Button", BS_TYPEMASK, BS_RADIOBUTTON, true});
    for (int id : {1052, 1057, 1054, 1056})
        table.push_back({id, "Button", BS_TYPEMASK, BS_PUSHBUTTON, true});
    expectTemplate(361, 226, table);
    EXPECT_EQ(SendMessageA(control(1061), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(control(1061), CB_GETCURSEL, 0, 0), 0);
}

TEST_F(LocomotivePageTest, ReadShowsTheDecoderInBindingOrder) {
    decoder().cvs = decoderCvs;
    openLocomotivePage();
    std::vector<HWND> radios;
    for (const std::vector<int>* ids : {&clearButtons, &setButtons})
        for (int id : *ids)
            radios.push_back(control(id));
    StyleChangeCounter styleChanges(radios);
    click(1052);
    // Each pair's one tab stop moves to its checked button, once, not for every box filled.
    EXPECT_LE(styleChanges.changes(), 12);
    for (int id : {1062, 1066, 1067, 1070, 1071, 1074})
        EXPECT_TRUE(GetWindowLongPtrA(control(id), GWL_STYLE) & WS_TABSTOP) << id;
    const std::vector<std::string> order = {"R8",  "R7",  "R1",  "R18", "R17",  "R3",
                                            "R4",  "R29", "R2",  "R6",  "R5",   "R65",
                                            "R66", "R95", "R10", "R11", "R105", "R106"};
    EXPECT_EQ(decoder().traffic, order);
    const std::map<int, std::string> boxes = {
        {1050, "NCE Corporation - 11"},
        {1051, "42"},
        {1042, "3"},
        {1043, "1234"},
        {1059, "5"},
        {1060, "7"},
        {1075, "38"},
        {1044, "10"},
        {1045, "100"},
        {1046, "200"},
        {1047, "4"},
        {1048, "128"},
        {1049, "127"},
        {1058, "20"},
        {1064, "30"},
        {1053, "1"},
        {1055, "2"},
    };
    for (const auto& [id, expected] : boxes)
        EXPECT_EQ(text(id), expected) << id;
    EXPECT_EQ(checkedRadios(), (std::vector<int>{1062, 1066, 1067, 1070, 1071, 1074}));
    EXPECT_TRUE(errors().empty());
}

TEST_F(LocomotivePageTest, RadioButtonsAreCheckedByThePageAlone) {
    openLocomotivePage();
    click(1074);
    EXPECT_EQ(checkedRadios(), std::vector<int>{1074});
    EXPECT_EQ(text(1075), "32");
    click(1063);
    click(1063);
    EXPECT_EQ(checkedRadios(), (std::vector<int>{1063, 1074}));
    click(1062);
    EXPECT_EQ(checkedRadios(), (std::vector<int>{1062, 1074}));
    click(1054);
    EXPECT_EQ(decoder().traffic, std::vector<std::string>{"W29=32"});
}

TEST_F(LocomotivePageTest, UnitsComboConvertsTheMomentumBoxesAndOutlivesThePage) {
    decoder().cvs = decoderCvs;
    openLocomotivePage();
    choose(1061, 1);
    click(1052);
    // 28 speed steps from the CV 29 read after CV 3 and CV 4.
    EXPECT_EQ(text(1059), "160");
    EXPECT_EQ(text(1060), "224");
    choose(1061, 0);
    EXPECT_EQ(text(1059), "5");
    choose(1061, 1);
    closePage();
    openLocomotivePage();
    EXPECT_EQ(SendMessageA(control(1061), CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(text(1059), "160");
}

TEST_F(LocomotivePageTest, EscapeFromTheQueueStopsReadAfterTheCurrentCv) {
    decoder().cvs = decoderCvs;
    openLocomotivePage();
    // Pressed as Read starts: the first CV is finished, nothing after it is read.
    PostMessageA(page->window(), WM_KEYDOWN, VK_ESCAPE, 0);
    click(1052);
    EXPECT_EQ(decoder().traffic, std::vector<std::string>{"R8"});
    EXPECT_EQ(text(1050), "NCE Corporation - 11");
    EXPECT_EQ(text(1051), "");
    EXPECT_EQ(text(1059), "");
}

TEST_F(LocomotivePageTest, TextsOutliveThePageAndOnlyChangesAreWritten) {
    decoder().cvs = decoderCvs;
    openLocomotivePage();
    click(1052);
    type(1044, "99");
    type(1043, "4000");
    click(1069);
    closePage();
    openLocomotivePage();
    EXPECT_EQ(text(1044), "99");
    EXPECT_EQ(text(1043), "4000");
    EXPECT_EQ(text(1042), "3");
    EXPECT_EQ(checkedRadios(), (std::vector<int>{1062, 1066, 1067, 1069, 1071, 1074}));
    decoder().traffic.clear();
    click(1054);
    EXPECT_EQ(decoder().traffic,
              (std::vector<std::string>{"W18=160", "W17=207", "W29=46", "W2=99"}));
}

// Answers the error box once it shows, noting whether it is the active window and whether the
// wait bar lies over it, as shown and after the user left the program and came back.
struct BoxWatch {
    bool seen = false;
    bool active = false;
    bool barAbove = false;
    bool barAboveOnReturn = false;
};
BoxWatch watch;

BOOL CALLBACK findWaitBar(HWND window, LPARAM found) {
    if (!FindWindowExA(window, nullptr, "msctls_progress32", nullptr))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

bool isAbove(HWND upper, HWND lower) {
    for (HWND next = GetWindow(upper, GW_HWNDNEXT); upper && next;
         next = GetWindow(next, GW_HWNDNEXT)) {
        if (next == lower)
            return true;
    }
    return false;
}

void CALLBACK answerErrorBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", "Error");
    if (!box || !IsWindowVisible(box))
        return;
    KillTimer(nullptr, timer);
    HWND bar = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findWaitBar, reinterpret_cast<LPARAM>(&bar));
    watch.seen = bar != nullptr;
    watch.active = GetActiveWindow() == box;
    watch.barAbove = isAbove(bar, box);
    SendMessageA(bar, WM_ACTIVATEAPP, TRUE, 0);
    SendMessageA(bar, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(box));
    watch.barAboveOnReturn = isAbove(bar, box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void showAnsweredBox(WindowHandle owner, const char* text, const char* caption) {
    SetTimer(nullptr, 0, 20, answerErrorBox);
    showWin32MessageBox(owner, text, caption);
}

TEST_F(LocomotivePageTest, ErrorBoxShowsAboveTheWaitBarAndIsAnswered) {
    watch = {};
    setMessageBoxHandler(showAnsweredBox);
    openLocomotivePage();
    click(1052);
    EXPECT_TRUE(watch.seen);
    EXPECT_TRUE(watch.active);
    EXPECT_FALSE(watch.barAbove);
    EXPECT_FALSE(watch.barAboveOnReturn);
    EXPECT_EQ(decoder().traffic, std::vector<std::string>{"R8"});
}

} // namespace
