// What the two NCE drivers share below their command sets: the serial link with its traffic log,
// the port, baud rate, read retries and answer wait with their configuration text (e.g.
// 19200|COM2, or 19200,3,20|COM2 when retries or wait differ from the defaults), the version text,
// the options page and leaving programming mode when idle. Each driver adds only its protocol.
#pragma once

#include <memory>
#include <string>

#include "stations/command_station_driver.h"
#include "stations/nce_station_table.h"
#include "stations/serial_link.h"
#include "stations/serial_log_window.h"

class NceStationDriver;

// Queries, idle exits and the closing command must not disturb the message of the command the
// user ran: the station error text comes back as it was when this goes.
class KeptStationErrorText {
  public:
    KeptStationErrorText();
    ~KeptStationErrorText();
    KeptStationErrorText(const KeptStationErrorText&) = delete;
    KeptStationErrorText& operator=(const KeptStationErrorText&) = delete;

  private:
    bool had_;
    std::string text_;
};

// Builds an NCE driver's options page; the window shell provides it, so the drivers need no
// windows.
using NceOptionsPageFactory = TabPage* (*)(NceStationDriver* driver, WindowHandle parent);
// Installs the factory (none: the drivers offer no page) and returns the previous one.
NceOptionsPageFactory setNceOptionsPageFactory(NceOptionsPageFactory factory);

constexpr int defaultReadRetries = 2;
constexpr int mostReadRetries = 5;
constexpr int shortestAnswerWaitSeconds = 2;
constexpr int longestAnswerWaitSeconds = 60;
// Programming mode is left after this long without a programming command.
constexpr unsigned idleProgrammingMs = 5000;

// What the options page's connection test tells the user, in the driver's own words.
struct NceTestTexts {
    const char* passed;
    const char* passedCaption;
    const char* failed;
};

class NceStationDriver : public CommandStationDriver {
  public:
    ~NceStationDriver() override;

    TabPage* createOptionsPage(WindowHandle parent) override;
    // A configuration text with a bar sets the port and baud rate first; nothing is sent.
    int32_t open(const char* configuration) override;
    std::string getConfig() override;
    int readRetries() override { return readRetries_; }
    void idle() override;
    // Through the station's own way, as its version answer tells: AE/AF on the USB interface,
    // packets the program builds (93 to 96) on a serial Powerhouse Pro.
    int writeCvOnMain(const MainTrackTarget& target, int32_t cv, int value) override;

    virtual NceTestTexts testTexts() const = 0;
    // Why this driver cannot program the connected station's track, or empty: the connection
    // test says it instead of "OK".
    virtual std::string programmingProblem() { return ""; }

    // Taken into 0 to 5.
    void setReadRetries(int retries);
    // Seconds an answer may take; setting 0 restores the driver's default, others are taken into
    // 2 to 60.
    int answerWaitSeconds() const { return answerWaitSeconds_ ? answerWaitSeconds_ : defaultWait_; }
    void setAnswerWaitSeconds(int seconds);
    const char* portName() const override { return link_.portName(); }
    void setPortName(const char* name) { link_.setPortName(name); }
    int32_t baudIndex() const { return link_.baudIndex(); }
    void setBaudIndex(int32_t index) { link_.setBaudIndex(index); }
    // The station's version text from the last version request, or why it failed or why the
    // station was not reached: the options page shows it whenever it is built.
    const char* versionText() const { return versionText_.c_str(); }
    void setVersionText(const char* text) { versionText_ = text ? text : ""; }
    void show(int flag);
    void setKeepLogOnClose(int keep) { keepLogOnClose_ = keep; }
    SerialLogWindow* log() { return log_.get(); }

  protected:
    NceStationDriver(const char* name, std::unique_ptr<SerialPort> port, TrafficLogStyle style,
                     int defaultAnswerWaitSeconds);

    // After every open, with its result: what the driver knew of the station may be stale.
    virtual void opened(int32_t result) = 0;
    // Whether the station may be in programming mode on this driver's word, and how to leave it;
    // a failure to leave is no one's business but the next command's.
    virtual bool mayBeProgramming() const = 0;
    virtual void leaveProgramming() = 0;
    // Every programming command stamps the time idle() measures from.
    void noteProgrammingCommand();
    unsigned answerWaitMs() const { return 1000u * static_cast<unsigned>(answerWaitSeconds()); }
    // The end of a close: the log window goes unless the options page keeps it, then the port.
    void finishClose();
    // The station's answer to AA, asked once per connection. Every NCE station since 1999 takes
    // this binary command, also those that program their track in ASCII.
    virtual int stationVersion(NceVersion* version);

    std::unique_ptr<SerialLogWindow> log_;
    SerialLink link_;
    std::string versionText_;
    int keepLogOnClose_ = 0;

  private:
    int readRetries_ = defaultReadRetries;
    int answerWaitSeconds_ = 0;
    int defaultWait_;
    uint64_t lastProgrammingMs_ = 0;
    int writeWithUsbCommand(const MainTrackTarget& target, int32_t cv, int value);
    int writeWithPackets(const MainTrackTarget& target, int32_t cv, int value);
    // Sends a command of the main and takes its one-byte answer; 0 for "!", else 1 with the
    // message set by what the answer means for target and cv.
    int mainCommand(const uint8_t* command, size_t length, const MainTrackTarget& target,
                    int32_t cv);

    bool versionKnown_ = false;
    NceVersion version_{};
};
