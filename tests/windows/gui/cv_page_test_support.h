// What the window tests of the CV pages share: a station whose decoder lives in memory and
// records what is asked of it, and a fixture that opens it and builds a page over a frame.
#pragma once

#include <map>

#include "gui_test_support.h"

// A decoder in memory behind an open station. A CV it does not hold fails to read.
class DecoderStation : public CommandStationDriver {
  public:
    static constexpr StationTag tag = makeStationTag('D', 'e', 'c', 'o');
    DecoderStation() : CommandStationDriver("Decoder Station") {}
    TabPage* createOptionsPage(WindowHandle) override { return nullptr; }
    int32_t open(const char*) override { return 0; }
    int close() override { return 0; }
    int readCv(int32_t cv, uint8_t* value) override;
    int writeCv(int32_t cv, int value) override;
    int getVersion(StationVersionInfo*) override { return 1; }
    std::string getConfig() override { return "memory"; }
    StationTag getTag() override { return tag; }

    // The decoder's CVs; what is read and written, as "R8" and "W29=32".
    static std::map<int32_t, uint8_t>& cvs();
    static std::vector<std::string>& traffic();
    // Runs before a read of that CV is answered, e.g. to press a key meanwhile.
    static std::map<int32_t, std::function<void()>>& beforeRead();
};

// A control of a page's template as it must be: its class, the style bits under a mask, shown
// or hidden.
struct ExpectedControl {
    int id;
    const char* className;
    LONG mask;
    LONG style;
    bool visible;
};

class CvPageTest : public ShellTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the page (a LocomotivePage, a CvEditorPage...) as the main window would.
    void openPage(TabPage* page);
    // Destroys the page, as a tab change does.
    void closePage();

    HWND control(int id) const { return GetDlgItem(page->window(), id); }
    std::string text(int id) const;
    void type(int id, const char* text) const { SetDlgItemTextA(page->window(), id, text); }
    // A click as the user makes it: the control sends its notification to the page.
    void click(int id) const { SendMessageA(control(id), BM_CLICK, 0, 0); }
    bool checked(int id) const { return IsDlgButtonChecked(page->window(), id) == BST_CHECKED; }
    // Chooses a list entry as the user does, with the notification the page gets.
    void choose(int id, int index) const;
    std::vector<std::string> errors();
    // The page's size in dialog units and its controls.
    void expectTemplate(int width, int height, const std::vector<ExpectedControl>& controls);

    HWND frame = nullptr;
    TabPage* page = nullptr;
};
