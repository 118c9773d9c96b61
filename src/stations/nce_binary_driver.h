// The driver for NCE stations that program through the binary command set: the Powerhouse Pro
// with an EPROM of 2006 or later, and the Power Cab and Twin through NCE's USB interface. Each
// command is a few bytes (9E, A9 00 1D, A8 00 1D 06, AA) answered with a known number of bytes.
#pragma once

#include <memory>

#include "stations/nce_station_driver.h"
#include "stations/nce_station_table.h"

class NceBinaryDriver : public NceStationDriver {
  public:
    static constexpr StationTag tag = makeStationTag('N', 'C', 'E', 'b');

    NceBinaryDriver();
    explicit NceBinaryDriver(std::unique_ptr<SerialPort> port);

    int close() override;
    int readCv(int32_t cv, uint8_t* value) override;
    int writeCv(int32_t cv, int value) override;
    int getVersion(StationVersionInfo* info) override;
    StationTag getTag() override { return tag; }
    // Asks the station for its version once per connection when it is not known yet.
    int32_t highestSafeCv() override;
    NceTestTexts testTexts() const override;
    std::string programmingProblem() override;

    // The station answered 9E on this connection and has not refused a CV command since.
    bool inProgrammingMode() const { return programming_; }

  private:
    void opened(int32_t result) override;
    bool mayBeProgramming() const override { return sentEnter_; }
    void leaveProgramming() override;
    // Sends a command and reads its answer of `expected` bytes into `answer`. 0 when exactly
    // that many came; stationNoAnswer when nothing came; otherwise 1 with the failure's message
    // set, except for a single error byte, which is left in answer[0] with result 2 for the
    // caller to name.
    int exchange(const uint8_t* command, size_t length, uint8_t* answer, size_t expected,
                 unsigned waitMs);
    // A one-byte answer: 0 for "!", else 1 with the message set.
    int judgeAcknowledge(int exchanged, uint8_t answer, bool enteringProgramming);
    // Before the first 9E of a connection: the station's version, whether this driver can program
    // its track, and on a single track output the user's word. 0 to go on.
    int checkStation();
    int enterProgrammingMode();
    int queryVersion(NceVersion* version);

    bool sentEnter_ = false; // 9E went out and no 9F since, so leaving sends 9F
    bool singleTrackConfirmed_ = false;
    bool programming_ = false; // the station accepted 9E
    bool versionKnown_ = false;
    bool versionAsked_ = false; // asked on this connection, answered or not
    NceVersion version_{};
};
