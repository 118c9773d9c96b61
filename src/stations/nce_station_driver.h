// What the two NCE drivers share below their command sets: the serial link with its traffic log,
// the port and baud rate with their configuration text ("%d|%s", e.g. 19200|COM2), the version
// text and the options page. Each driver adds only its protocol.
#pragma once

#include <memory>
#include <string>

#include "stations/command_station_driver.h"
#include "stations/serial_link.h"
#include "stations/serial_log_window.h"

class NceStationDriver;

// Builds an NCE driver's options page; the window shell provides it, so the drivers need no
// windows.
using NceOptionsPageFactory = TabPage* (*)(NceStationDriver* driver, WindowHandle parent);
// Installs the factory (none: the drivers offer no page) and returns the previous one.
NceOptionsPageFactory setNceOptionsPageFactory(NceOptionsPageFactory factory);

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

    virtual NceTestTexts testTexts() const = 0;

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
    NceStationDriver(const char* name, std::unique_ptr<SerialPort> port, TrafficLogStyle style);

    // After every open, with its result: what the driver knew of the station may be stale.
    virtual void opened(int32_t result) = 0;
    // The end of a close: the log window goes unless the options page keeps it, then the port.
    void finishClose();

    std::unique_ptr<SerialLogWindow> log_;
    SerialLink link_;
    std::string versionText_;
    int keepLogOnClose_ = 0;
};
