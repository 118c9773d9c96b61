// The Connection Setup page over a stand-in main window, with the NCE driver on the simulated
// station at COM1 (a second one listens on COM2) and the recording driver beside it.
#pragma once

#include "gui_test_support.h"

#include "stations/nce_driver.h"

class StationPagesTest : public ShellTest {
  protected:
    void SetUp() override;
    void TearDown() override;

    void openSetupPage();
    void closeSetupPage();
    HWND setupWindow() const { return setupPage->window(); }
    // A control of the setup page or of the options page it hosts; none when absent.
    HWND control(int id) const { return findControl(setupWindow(), id); }
    // What a user's choice in a list or click on a button sends.
    void choose(int listId, int index);
    void click(int buttonId);
    // Lines that reached a station since the test began.
    std::vector<std::string> newLines(const char* logVariable) const;

    NceDriver* nce() const;

    HWND parent = nullptr;
    TabPage* setupPage = nullptr;

  private:
    size_t linesBefore_[2] = {};
};
