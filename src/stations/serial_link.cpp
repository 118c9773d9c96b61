#include "stations/serial_link.h"

#include <cstdio>
#include <cstring>

#include "foundation/clock.h"
#include "foundation/pause.h"
#include "stations/serial_log_window.h"
#include "stations/station_manager.h"

const char stationPrompt[] = "COMMAND: ";

namespace {

constexpr size_t promptLength = sizeof stationPrompt - 1;
// The station needs this gap between command lines.
constexpr unsigned commandPauseMs = 100;
constexpr size_t drainChunk = 200;
// One answer ends after the answer wait, or this many bytes without the prompt, whichever comes
// first: a line that keeps sending (noise, a wrong device at the right baud rate) cannot hold the
// program, while a station's longest answer fits well within both.
constexpr size_t answerByteLimit = 1024;
// The station's own words for a command it did not carry out. It may send them without a prompt
// (later EPROMs do for a command they do not understand), so they end the answer by themselves.
const char* const stationFailureTexts[] = {"COMMAND NOT UNDERSTOOD", "NO FEEDBACK DETECTED"};
// How long the rest of a failure answer (" ****", the prompt) may take to come.
constexpr unsigned failureTailMs = 200;

// Finds a text in the answer as its bytes come. The first letter of each text looked for occurs
// nowhere else in it, so a mismatch can restart the match only at that letter.
class TextMatcher {
  public:
    explicit TextMatcher(const char* text) : text_(text), length_(std::strlen(text)) {}
    const char* text() const { return text_; }
    // True when this byte completes the text; the next byte starts afresh.
    bool feed(uint8_t byte) {
        if (byte == static_cast<uint8_t>(text_[matched_]))
            ++matched_;
        else
            matched_ = byte == static_cast<uint8_t>(text_[0]) ? 1 : 0;
        if (matched_ < length_)
            return false;
        matched_ = 0;
        return true;
    }

  private:
    const char* text_;
    size_t length_;
    size_t matched_ = 0;
};

const char* openFailureText(int step) {
    switch (step) {
    case serialCannotOpen:
        return "Error opening port";
    case serialLineRejected:
        return "Error configuring port - baud rate";
    default:
        return "Error configuring port";
    }
}

} // namespace

SerialLink::SerialLink(std::unique_ptr<SerialPort> port, SerialLogWindow* log,
                       TrafficLogStyle style)
    : port_(std::move(port)), log_(log), style_(style) {}

void SerialLink::setPortName(const char* name) {
    portName_ = name && *name ? name : "COM1";
}

int SerialLink::openPort() {
    SerialOpenStep step = port_->open(portName_.c_str(), baudRate());
    if (step == serialOpened)
        return 0;
    setStationErrorText(openFailureText(step));
    port_->close();
    return step;
}

size_t SerialLink::sendText(const char* text, size_t length) {
    pauseFor(commandPauseMs);
    drainInput();
    if (log_)
        log_->appendText(text);
    if (!port_->isOpen())
        return 0;
    return port_->write(reinterpret_cast<const uint8_t*>(text), length);
}

size_t SerialLink::receive(uint8_t* buffer, size_t count) {
    return receiveWithin(buffer, count, readTimeoutConstantMs);
}

size_t SerialLink::receiveWithin(uint8_t* buffer, size_t count, unsigned waitMs) {
    if (!port_->isOpen())
        return 0;
    size_t received = port_->read(buffer, count, waitMs);
    if (style_ == TrafficLogStyle::text && log_ && received > 0 && buffer[0] != 0)
        log_->append(reinterpret_cast<const char*>(buffer), received);
    return received;
}

void SerialLink::drainInput() {
    if (!port_->isOpen())
        return;
    uint8_t scratch[drainChunk];
    size_t remaining = port_->clearErrorsAndCountQueued();
    while (remaining > 0) {
        size_t received = receive(scratch, remaining < drainChunk ? remaining : drainChunk);
        if (received == 0)
            break;
        logHex("stray", scratch, received);
        remaining -= received < remaining ? received : remaining;
    }
}

int SerialLink::awaitPrompt(char* buffer, size_t capacity, size_t* length) {
    if (capacity == 0)
        buffer = nullptr;
    TextMatcher prompt(stationPrompt);
    TextMatcher failures[] = {TextMatcher(stationFailureTexts[0]),
                              TextMatcher(stationFailureTexts[1])};
    // The answer goes to the log in one piece at its end: nothing can show the log while the
    // program waits, and a byte at a time would trim a full log once per byte. NUL bytes cannot
    // be shown and are left out.
    char logged[answerByteLimit];
    size_t loggedLength = 0;
    size_t total = 0;
    size_t stored = 0;
    bool seen = false;
    const char* failure = nullptr;
    const uint64_t start = clockMilliseconds();
    while (!seen && total < answerByteLimit) {
        const uint64_t elapsed = clockMilliseconds() - start;
        if (elapsed >= answerWaitMs_)
            break;
        unsigned waitMs = static_cast<unsigned>(answerWaitMs_ - elapsed);
        // After a failure the station may still send its prompt; a short quiet ends the wait.
        if (failure && waitMs > failureTailMs)
            waitMs = failureTailMs;
        uint8_t byte = 0;
        if (!port_->isOpen() || port_->read(&byte, 1, waitMs) == 0)
            break;
        ++total;
        if (byte != 0)
            logged[loggedLength++] = static_cast<char>(byte);
        if (buffer && stored < capacity - 1)
            buffer[stored++] = static_cast<char>(byte);
        seen = prompt.feed(byte);
        for (TextMatcher& matcher : failures)
            if (matcher.feed(byte) && !failure)
                failure = matcher.text();
    }
    if (log_ && loggedLength > 0)
        log_->append(logged, loggedLength);
    if (buffer) {
        size_t textLength = seen ? total - promptLength : total;
        stored = textLength < stored ? textLength : stored;
        buffer[stored] = '\0';
    }
    if (length)
        *length = buffer ? stored : 0;
    if (failure) {
        setStationErrorText(failure);
        return answerRefused;
    }
    if (seen)
        return 0;
    setStationErrorText("NO DATA RETURNED");
    return 1;
}

void SerialLink::closePort() {
    port_->close();
}

size_t SerialLink::sendBytes(const uint8_t* bytes, size_t length) {
    logHex(">", bytes, length);
    if (!port_->isOpen())
        return 0;
    return port_->write(bytes, length);
}

size_t SerialLink::receiveAnswer(uint8_t* buffer, size_t count, unsigned firstWaitMs,
                                 unsigned gapMs) {
    size_t received = 0;
    while (received < count) {
        size_t got = receiveWithin(buffer + received, received == 0 ? 1 : count - received,
                                   received == 0 ? firstWaitMs : gapMs);
        if (got == 0)
            break;
        received += got;
    }
    logHex("<", buffer, received);
    return received;
}

size_t SerialLink::queuedBytes() {
    return port_->isOpen() ? port_->clearErrorsAndCountQueued() : 0;
}

// "> A9 00 1D": a line the user can read, where the raw bytes would be unprintable. Made in place,
// as recording traffic never allocates; a longer run of bytes goes on in further lines.
void SerialLink::logHex(const char* label, const uint8_t* bytes, size_t length) {
    if (style_ != TrafficLogStyle::hex || !log_)
        return;
    static const char digits[] = "0123456789ABCDEF";
    constexpr size_t bytesPerLine = 32;
    char line[16 + 3 * bytesPerLine];
    size_t done = 0;
    do {
        size_t at = static_cast<size_t>(std::snprintf(line, 8, "%s", label));
        const size_t end = length - done > bytesPerLine ? done + bytesPerLine : length;
        for (; done < end; ++done) {
            line[at++] = ' ';
            line[at++] = digits[bytes[done] >> 4];
            line[at++] = digits[bytes[done] & 0x0F];
        }
        if (length == 0)
            at += static_cast<size_t>(std::snprintf(line + at, 12, " (nothing)"));
        line[at++] = '\r';
        line[at++] = '\n';
        log_->append(line, at);
    } while (done < length);
}
