// The driver for the NCE Powerhouse Pro: CVs on the programming track through the station's
// ASCII command lines ("M", "X", "R029", "P029 006", "V"), each answered up to its prompt.
#pragma once

#include <memory>
#include <string>

#include "stations/command_station_driver.h"
#include "stations/serial_link.h"
#include "stations/serial_log_window.h"

class NceDriver;

// Builds the driver's options page; the window shell provides it, so the driver needs no windows.
using NceOptionsPageFactory = TabPage* (*)(NceDriver* driver, WindowHandle parent);
// Installs the factory (none: the driver offers no page) and returns the previous one.
NceOptionsPageFactory setNceOptionsPageFactory(NceOptionsPageFactory factory);

class NceDriver : public CommandStationDriver {
  public:
    static constexpr StationTag tag = makeStationTag('N', 'C', 'E', 'p');

    NceDriver();
    explicit NceDriver(std::unique_ptr<SerialPort> port);
    ~NceDriver() override;

    TabPage* createOptionsPage(WindowHandle parent) override;
    int32_t open(const char* configuration) override;
    int close() override;
    int readCv(int32_t cv, uint8_t* value) override;
    int writeCv(int32_t cv, int value) override;
    int getVersion(StationVersionInfo* info) override;
    std::string getConfig() override;
    StationTag getTag() override { return tag; }
    // NCE: a write above CV 255 on this station's programming track changes another CV.
    int32_t highestSafeCv() override { return 255; }

    const char* portName() const { return link_.portName(); }
    void setPortName(const char* name) { link_.setPortName(name); }
    int32_t baudIndex() const { return link_.baudIndex(); }
    void setBaudIndex(int32_t index) { link_.setBaudIndex(index); }
    // The station's version text from the last version request, or why it failed or why the
    // station was not reached: the options page shows it whenever it is built.
    const char* versionText() const { return versionText_.c_str(); }
    void setVersionText(const char* text) { versionText_ = text ? text : ""; }
    void show(int flag);
    void setKeepLogOnClose(int keep) { keepLogOnClose_ = keep; }

    // 0 = not established, 1 = programming mode, 2 = main mode.
    int32_t stationMode() const { return stationMode_; }
    SerialLogWindow* log() { return log_.get(); }

  private:
    int enterMode(int32_t mode);
    // Sends a command line; 0 when the port took all of it, else "ERROR SENDING DATA" and 1.
    int sendCommand(const char* line);

    std::unique_ptr<SerialLogWindow> log_;
    SerialLink link_;
    int32_t stationMode_ = 0;
    std::string versionText_;
    int keepLogOnClose_ = 0;
};
