// What the window tests of the CV pages share: a fixture with the native tests' decoder behind
// an open station, building a page over a frame as the main window would.
#pragma once

#include <memory>

#include "gui_test_support.h"
#include "page_fakes.h"

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

    DecoderDriver& decoder() { return station->decoder(); }

    std::unique_ptr<DecoderStation> station;
    HWND frame = nullptr;
    TabPage* page = nullptr;
};
