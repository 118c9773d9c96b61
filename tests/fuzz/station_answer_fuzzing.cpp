#include "station_answer_fuzzing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/pause.h"
#include "station_fakes.h"
#include "stations/station_manager.h"

namespace {

constexpr uint8_t answerSeparator = 0xFF;
constexpr int maxCommands = 64;
constexpr uint8_t directReadCommand = 0xA9;

void require(bool condition) {
    if (!condition)
        std::abort();
}

void requireErrorText() {
    const char* text = stationErrorText();
    require(text != nullptr && *text != '\0');
}

// Hands out the input's answers one per command, then silence.
class Answers {
  public:
    Answers(const uint8_t* data, size_t size, AnswerFormat format)
        : data_(data), size_(size), format_(format) {}
    bool done() const {
        return position_ > size_ || (format_ == AnswerFormat::lengthPrefixed && position_ == size_);
    }
    std::string next() {
        if (done())
            return std::string();
        const uint8_t* start = data_ + position_;
        size_t length = 0;
        if (format_ == AnswerFormat::separated) {
            const void* found = std::memchr(start, answerSeparator, size_ - position_);
            length = found ? static_cast<const uint8_t*>(found) - start : size_ - position_;
            position_ += length + 1;
        } else {
            length = std::min<size_t>(*start++, size_ - position_ - 1);
            position_ += length + 1;
        }
        return std::string(reinterpret_cast<const char*>(start), length);
    }

  private:
    const uint8_t* data_;
    size_t size_;
    AnswerFormat format_;
    size_t position_ = 0;
};

// The last command the port took and the answer it got, to check a binary read against.
std::string lastCommand;
std::string lastAnswer;

void checkRead(int32_t cv, bool binary) {
    uint8_t value = 0, known = 0;
    if (stationReadCv(cv, &value) == 0) {
        require(knownCvValue(cv, &known, 0) == 0 && known == value);
        // A binary read succeeds only on its own answer: the value, then "!".
        if (binary)
            require(static_cast<uint8_t>(lastCommand[0]) == directReadCommand &&
                    lastAnswer == std::string(1, static_cast<char>(value)) + "!");
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

void checkVersion(bool binary) {
    StationVersionInfo info{};
    if (stationGetVersion(&info) != 0)
        requireErrorText();
    require(std::memchr(info.text, '\0', sizeof info.text) != nullptr);
    if (binary) {
        const int32_t limit = stationHighestSafeCv();
        require(limit == noCvLimit || limit == 255);
    }
}

} // namespace

int fuzzStationAnswers(const uint8_t* data, size_t size, const FuzzedDriver& fuzzed) {
    static const PauseHandler realPause = setPauseHandler([](unsigned) {});
    (void)realPause;
    if (size == 0)
        return 0;
    const uint8_t mix = data[0];
    Answers answers(data + 1, size - 1, fuzzed.format);
    auto port = std::make_shared<FakeSerialPort::State>();
    port->binary = fuzzed.binary;
    port->respond = [&answers](const std::string& command) {
        lastCommand = command;
        lastAnswer = answers.next();
        return lastAnswer;
    };

    CommandStationDriver* driver = fuzzed.make(std::make_unique<FakeSerialPort>(port));
    selectStation(0);
    require(isStationOpen() == 1);
    for (int i = 0; i < maxCommands && !answers.done(); ++i) {
        const int32_t cv = 1 + (i * 37) % 1024;
        switch ((mix >> (i % 4 * 2)) & 3) {
        case 0:
        case 1:
            checkRead(cv, fuzzed.binary);
            break;
        case 2:
            checkWrite(cv, i * 53);
            break;
        default:
            checkVersion(fuzzed.binary);
            break;
        }
    }
    selectStation(-1);
    delete driver;
    return 0;
}
