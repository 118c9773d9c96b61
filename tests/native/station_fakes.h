// Fakes for the station tests: a scripted serial port, a recording driver, and recorders for
// pauses and message boxes.
#pragma once

#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "foundation/clock.h"
#include "foundation/message_box.h"
#include "foundation/pause.h"
#include "foundation/settings_store.h"
#include "stations/command_station_driver.h"
#include "stations/serial_port.h"
#include "stations/station_drivers.h"

// A port that answers each complete command written to it through `respond`: a line ended by
// CR LF, or with `binary` set, a binary command of the length its first byte gives.
class FakeSerialPort : public SerialPort {
  public:
    struct State {
        std::string written;
        std::deque<uint8_t> incoming;
        std::function<std::string(const std::string& line)> respond;
        bool binary = false;
        SerialOpenStep openResult = serialOpened;
        std::string openedName;
        uint32_t openedBaud = 0;
        bool open = false;
        size_t writeLimit = static_cast<size_t>(-1);
        int timeouts = 0;
        std::string pendingLine;
        // Sent over and over once nothing else is waiting, like a line that never stops.
        std::string chatter;
        size_t chatterSent = 0;
        // Each read moves a FakeClock on by this much.
        unsigned readMs = 0;
        unsigned lastWaitMs = 0;
    };

    explicit FakeSerialPort(std::shared_ptr<State> state) : state_(std::move(state)) {}

    SerialOpenStep open(const char* name, uint32_t baudRate) override;
    void close() override { state_->open = false; }
    bool isOpen() const override { return state_->open; }
    size_t read(uint8_t* buffer, size_t count, unsigned waitMs) override;
    size_t write(const uint8_t* data, size_t count) override;
    size_t clearErrorsAndCountQueued() override { return state_->incoming.size(); }

  private:
    std::shared_ptr<State> state_;
};

// "AE 00 03": the bytes of a binary command or answer.
std::string hexText(const std::string& bytes);
// The bytes of a binary command or answer, written as numbers.
std::string byteString(std::initializer_list<int> list);

// Answers every line with the bare prompt, as the station does for mode and write commands.
std::string promptOnly(const std::string& line);

// Records pauses instead of sleeping, for as long as it lives.
class RecordedPauses {
  public:
    RecordedPauses();
    ~RecordedPauses();
    static std::vector<unsigned>& list();

  private:
    PauseHandler previous_;
};

// A clock that moves only when told (or when a FakeSerialPort reads), for as long as it lives.
class FakeClock {
  public:
    FakeClock();
    ~FakeClock();
    static uint64_t& now();

  private:
    ClockSource previous_;
};

// Records message boxes instead of showing them, for as long as it lives.
class RecordedMessages {
  public:
    struct Message {
        WindowHandle owner;
        std::string text;
        std::string caption;
    };
    RecordedMessages();
    ~RecordedMessages();
    static std::vector<Message>& list();

  private:
    MessageBoxHandler previous_;
};

// The program's station list made by `construct` over `store`, for as long as it lives; at its
// end the stations are saved and shut down, and the previous list and store come back.
class TestStationList {
  public:
    TestStationList(SettingsStore& store, StationConstructor construct);
    ~TestStationList();

  private:
    SettingsStore* previousStore_;
    StationConstructor previousConstructor_;
};

// A driver that records how the manager uses it.
class FakeDriver : public CommandStationDriver {
  public:
    FakeDriver(const char* name, StationTag tag) : CommandStationDriver(name), tag_(tag) {}

    TabPage* createOptionsPage(WindowHandle) override { return nullptr; }
    int32_t open(const char* configuration) override;
    int close() override;
    int readCv(int32_t cv, uint8_t* value) override;
    int writeCv(int32_t cv, int value) override;
    int getVersion(StationVersionInfo* info) override;
    std::string getConfig() override { return config; }
    StationTag getTag() override { return tag_; }

    // Every open and close in order: "open:<configuration or (none)>", "close".
    std::vector<std::string> calls;
    int openResult = 0;
    int readResult = 0;
    uint8_t readValue = 0;
    std::string config = "fake";

  private:
    StationTag tag_;
};
