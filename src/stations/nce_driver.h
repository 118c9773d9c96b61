// The driver for the NCE Powerhouse Pro: CVs on the programming track through the station's
// ASCII command lines ("M", "X", "R029", "P029 006", "V"), each answered up to its prompt.
#pragma once

#include <memory>

#include "stations/nce_station_driver.h"

class NceDriver : public NceStationDriver {
  public:
    static constexpr StationTag tag = makeStationTag('N', 'C', 'E', 'p');

    NceDriver();
    explicit NceDriver(std::unique_ptr<SerialPort> port);

    int close() override;
    int readCv(int32_t cv, uint8_t* value) override;
    int writeCv(int32_t cv, int value) override;
    int getVersion(StationVersionInfo* info) override;
    StationTag getTag() override { return tag; }
    // Every station that programs through these lines (EPROMs before 2006) reaches another CV
    // above CV 255 on its programming track, so the driver need not ask for the version.
    int32_t highestSafeCv() override { return 255; }
    NceTestTexts testTexts() const override;

    // 0 = not established, 1 = programming mode, 2 = main mode.
    int32_t stationMode() const { return stationMode_; }

  private:
    void opened(int32_t result) override;
    bool mayBeProgramming() const override { return stationMode_ == 1; }
    void leaveProgramming() override;
    // 0 when the station took the switch; stationNoAnswer when it never answered (with a hint to
    // find the station); 1 otherwise.
    int enterMode(int32_t mode);
    // The switch into programming mode before a CV command, and after it the command's line.
    // 0 when the line went out; else the result the command ends with.
    int startCvCommand(const char* line);
    // Sends a command line; 0 when the port took all of it, else "ERROR SENDING DATA" and 1.
    int sendCommand(const char* line);

    int32_t stationMode_ = 0;
};
