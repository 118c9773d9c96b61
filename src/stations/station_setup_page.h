// The "Connection Setup" tab: the list of command stations with Find Station and, in its
// "Device Options" frame, the options page of the active one.
#pragma once

#include "app/tab_page.h"

class StationSetupPage : public TabPage {
  public:
    StationSetupPage(const char* templateName, WindowHandle parent);

  protected:
    ~StationSetupPage() override;
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;

  private:
    // Replaces the hosted options page; with reselect, the station chosen in the list becomes
    // the active one first.
    void showOptionsPage(bool reselect);
    // Destroys the hosted options page, which applies its settings to its driver.
    void closeOptionsPage();
    // Asks every serial port for a station and offers the one found.
    void findStation();

    TabPage* optionsPage_ = nullptr;
};

// The page factory of the Connection Setup tab.
TabPage* createStationSetupPage(const char* templateName, WindowHandle parent);
