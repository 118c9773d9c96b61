// Fuzzes the driver's answer handling: whatever bytes a station sends back after each command,
// through the real SerialLink over a fake port and the station manager. The input is the answers
// in order, separated by 0xFF bytes; its first byte chooses the mix of reads, writes and version
// queries. A failed command must leave an error text and no remembered value; a succeeded one
// must be remembered exactly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "foundation/pause.h"
#include "station_fakes.h"
#include "stations/nce_driver.h"
#include "stations/station_manager.h"

namespace {

constexpr uint8_t answerSeparator = 0xFF;
constexpr int maxCommands = 64;

void require(bool condition) {
    if (!condition)
        std::abort();
}

void requireErrorText() {
    const char* text = stationErrorText();
    require(text != nullptr && *text != '\0');
}

// Hands out the input's answers one per command line, then silence.
class Answers {
  public:
    Answers(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool done() const { return position_ > size_; }
    std::string next() {
        if (done())
            return std::string();
        const uint8_t* start = data_ + position_;
        const void* found = std::memchr(start, answerSeparator, size_ - position_);
        size_t length = found ? static_cast<const uint8_t*>(found) - start : size_ - position_;
        position_ += length + 1;
        return std::string(reinterpret_cast<const char*>(start), length);
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

void checkRead(int32_t cv) {
    uint8_t value = 0, known = 0;
    if (stationReadCv(cv, &value) == 0) {
        require(knownCvValue(cv, &known, 0) == 0 && known == value);
    } else {
        requireErrorText();
        require(value == 0 && knownCvValue(cv, &known, 0) == 1);
    }
}

void checkWrite(int32_t cv, int value) {
    uint8_t known = 0;
    if (stationWriteCv(cv, value) == 0) {
        require(knownCvValue(cv, &known, 0) == 0 && known == (value & 0xFF));
    } else {
        requireErrorText();
        require(knownCvValue(cv, &known, 0) == 1);
    }
}

void checkVersion() {
    StationVersionInfo info{};
    if (stationGetVersion(&info) != 0)
        requireErrorText();
    require(std::memchr(info.text, '\0', sizeof info.text) != nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const PauseHandler realPause = setPauseHandler([](unsigned) {});
    (void)realPause;
    if (size == 0)
        return 0;
    const uint8_t mix = data[0];
    Answers answers(data + 1, size - 1);
    auto port = std::make_shared<FakeSerialPort::State>();
    port->respond = [&answers](const std::string&) { return answers.next(); };

    NceDriver* driver = new NceDriver(std::make_unique<FakeSerialPort>(port));
    selectStation(0);
    require(isStationOpen() == 1);
    for (int i = 0; i < maxCommands && !answers.done(); ++i) {
        const int32_t cv = 1 + (i * 37) % 1024;
        switch ((mix >> (i % 4 * 2)) & 3) {
        case 0:
        case 1:
            checkRead(cv);
            break;
        case 2:
            checkWrite(cv, i * 53);
            break;
        default:
            checkVersion();
            break;
        }
    }
    selectStation(-1);
    delete driver;
    return 0;
}
