// The NCE drivers' options page: port and baud rate, the station's name and version, a
// connection test and the serial log. Its settings reach the driver when it closes.
#pragma once

#include <cstdint>

#include "app/tab_page.h"

class NceStationDriver;

class NceOptionsPage : public TabPage {
  public:
    // driver may be none: the page then shows defaults and changes nothing.
    NceOptionsPage(NceStationDriver* driver, WindowHandle parent);

  protected:
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDestroy(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;

  private:
    // The port box text and the chosen baud index, as the driver is to take them.
    void readControls(char* port, int32_t* baudIndex) const;
    // Gives the driver the page's settings; 1 when the station was reconnected.
    int apply();
    void testConnection();

    NceStationDriver* driver_;
};

// The factory the NCE driver builds its options page with.
TabPage* createNceOptionsPage(NceStationDriver* driver, WindowHandle parent);
