// Fakes for the page tests: a page view that keeps box texts and checks in maps and records what
// the page shows, and a decoder behind a station driver that records every read and write.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "foundation/settings_store.h"
#include "model/cv_page_view.h"
#include "stations/command_station_driver.h"
#include "stations/station_drivers.h"

class FakePageView : public CvPageView {
  public:
    std::string boxText(int controlId) override;
    void setBoxText(int controlId, const std::string& text) override;
    bool isChecked(int controlId) override { return checks[controlId]; }
    void setChecked(int controlId, bool checked) override { checks[controlId] = checked; }
    void showError(const std::string& text) override;
    bool confirm(const std::string& text, const char* caption) override;
    std::unique_ptr<WaitProgress> openWaitBar(uint32_t maximum, const char* message) override;
    void repaintMainWindow() override { events.push_back("repaint"); }
    int takeKeyPress() override;
    void beep() override { events.push_back("beep"); }

    std::map<int, std::string> boxes;
    std::map<int, bool> checks;
    // What the user sees, in order: "bar open <max> <message>", "step <message>",
    // "position <n> <message>", "bar close", "error <text>", "<caption>? <text>", "repaint",
    // "beep".
    std::vector<std::string> events;
    // How questions are answered.
    bool answerYes = false;
    // Escape is pressed before the nth cancel test (0: never).
    int escapeAtCheck = 0;
    int cancelChecks = 0;
    // Only the lines with this prefix.
    std::vector<std::string> eventsStartingWith(const std::string& prefix) const;
};

// A decoder on the programming track of a station that always opens. Reads of CVs without a
// value, and any access to failingCv, fail.
class DecoderDriver : public CommandStationDriver {
  public:
    static constexpr StationTag tag = makeStationTag('D', 'e', 'c', 'o');
    DecoderDriver() : CommandStationDriver("decoder") {}

    TabPage* createOptionsPage(WindowHandle) override { return nullptr; }
    int32_t open(const char*) override { return 0; }
    int close() override { return 0; }
    int readCv(int32_t cv, uint8_t* value) override;
    int writeCv(int32_t cv, int value) override;
    int getVersion(StationVersionInfo*) override { return 1; }
    std::string getConfig() override { return "decoder"; }
    StationTag getTag() override { return tag; }
    int32_t highestSafeCv() override { return safeCvLimit; }

    std::map<int32_t, int> cvs;
    int32_t safeCvLimit = noCvLimit;
    int32_t failingCv = 0;
    // "R<cv>" and "W<cv>=<value>" in order.
    std::vector<std::string> traffic;
};

// The station manager with one DecoderDriver, open, no values known, no texts kept; undone when
// the fixture goes.
class DecoderStation {
  public:
    DecoderStation();
    ~DecoderStation();
    DecoderDriver& decoder() { return *decoder_; }

  private:
    static DecoderDriver* constructed;
    static void construct();
    MemorySettingsStore store_;
    SettingsStore* previousStore_;
    StationConstructor previousConstructor_;
    DecoderDriver* decoder_;
};
