// The interface every command station driver implements. Constructing a driver registers it in
// the station list, ordered by name; destroying it removes it again.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/window_handle.h"

class TabPage;
struct MainTrackTarget;

// Four ASCII characters in memory order, e.g. "NCEp" is 0x7045434E; 0 stands for no station.
using StationTag = uint32_t;

constexpr StationTag makeStationTag(char a, char b, char c, char d) {
    return static_cast<StationTag>(static_cast<uint8_t>(a)) |
           static_cast<StationTag>(static_cast<uint8_t>(b)) << 8 |
           static_cast<StationTag>(static_cast<uint8_t>(c)) << 16 |
           static_cast<StationTag>(static_cast<uint8_t>(d)) << 24;
}

// A programming track that writes every CV safely.
constexpr int32_t noCvLimit = 0;

// What readCv and writeCv return besides 0 (done) and 1 (failed). The station sent nothing back:
// every further command would wait as long again, so a run of commands ends at once.
constexpr int stationNoAnswer = 3;
// The station answered that no decoder acknowledged: a read tried again often succeeds.
constexpr int decoderNoAcknowledge = 4;

struct StationVersionInfo {
    int32_t marker;
    char text[250];
};

class CommandStationDriver {
  public:
    explicit CommandStationDriver(const char* name);
    CommandStationDriver(const CommandStationDriver&) = delete;
    CommandStationDriver& operator=(const CommandStationDriver&) = delete;
    virtual ~CommandStationDriver();

    const char* name() const { return name_.c_str(); }

    // A new page showing this driver's settings, owned by the caller; none when unavailable.
    virtual TabPage* createOptionsPage(WindowHandle parent) = 0;
    // configuration may be none; 0 = connected.
    virtual int32_t open(const char* configuration) = 0;
    virtual int close() = 0;
    virtual int readCv(int32_t cv, uint8_t* value) = 0;
    virtual int writeCv(int32_t cv, int value) = 0;
    virtual int getVersion(StationVersionInfo* info) = 0;
    // The configuration in the driver's own format, for `open` at the next start.
    virtual std::string getConfig() = 0;
    virtual StationTag getTag() = 0;
    // The highest CV the station's programming track writes without harm, or noCvLimit. Some
    // stations write a CV above their limit to another CV instead, which costs the user data.
    virtual int32_t highestSafeCv() { return noCvLimit; }
    // How often a read the decoder did not acknowledge is tried again.
    virtual int readRetries() { return 0; }
    // Called now and then while no command runs: the driver may leave programming mode when the
    // last programming command is long past, so the layout runs between actions.
    virtual void idle() {}
    // Writes a CV of the decoder at target on the main, where nothing can be read back: 0 means
    // the station took the write, not that the decoder holds the value.
    virtual int writeCvOnMain(const MainTrackTarget& target, int32_t cv, int value);
    // The port the station is reached through, for the journal; empty when it has none.
    virtual const char* portName() const { return ""; }

  private:
    std::string name_;
};
