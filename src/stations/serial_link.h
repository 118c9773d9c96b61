// A serial driver's line to its station: opening the port with the station's settings, paced
// command lines and answers read up to the station's prompt for the ASCII command set, binary
// commands and answers of known length for the binary one. All traffic goes to the log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "stations/serial_port.h"

class SerialLogWindow;

// The station ends every answer with this prompt.
extern const char stationPrompt[];
// What awaitPrompt returns when the station answered with a failure of its own.
constexpr int answerRefused = 2;

// How traffic reads in the log: text lines as they went, or binary bytes in hexadecimal, one
// line per command and per answer.
enum class TrafficLogStyle { text, hex };

class SerialLink {
  public:
    // log may be none: traffic is then not recorded.
    SerialLink(std::unique_ptr<SerialPort> port, SerialLogWindow* log,
               TrafficLogStyle style = TrafficLogStyle::text);

    // 0 on success, else the failing step (see SerialOpenStep), with the station error text set.
    int openPort();
    // Pauses, drains what waits unread (a late prompt must never be taken for this line's
    // answer), then sends.
    size_t sendText(const char* text, size_t length);
    size_t receive(uint8_t* buffer, size_t count);
    void drainInput();
    // 0 when the prompt was seen; the text before it goes to buffer, cut to capacity - 1 bytes.
    // The wait ends after the answer wait or 1024 bytes without the prompt (1, "NO DATA RETURNED"),
    // or soon
    // after the station said it failed (answerRefused, with its words as the error text).
    // length, if given, receives the number of bytes put in buffer (NUL bytes included).
    int awaitPrompt(char* buffer, size_t capacity, size_t* length = nullptr);
    void closePort();
    bool isOpen() const { return port_->isOpen(); }

    // A binary command, sent at once: only the ASCII station needs a pause between commands.
    size_t sendBytes(const uint8_t* bytes, size_t length);
    // Up to count bytes of one answer: the first within firstWaitMs, each further one within
    // gapMs of the one before, as a station sends an answer in one piece. Logged as one line.
    size_t receiveAnswer(uint8_t* buffer, size_t count, unsigned firstWaitMs, unsigned gapMs);
    // How many received bytes wait unread.
    size_t queuedBytes();

    const char* portName() const { return portName_.c_str(); }
    // None or an empty name means the default port.
    void setPortName(const char* name);
    int32_t baudIndex() const { return baudIndex_; }
    void setBaudIndex(int32_t index) { baudIndex_ = index; }
    uint32_t baudRate() const { return baudIndex_ ? 19200 : 9600; }
    // How long awaitPrompt waits for a whole answer.
    void setAnswerWaitMs(unsigned waitMs) { answerWaitMs_ = waitMs; }

  private:
    size_t receiveWithin(uint8_t* buffer, size_t count, unsigned waitMs);
    void logHex(const char* label, const uint8_t* bytes, size_t length);

    std::unique_ptr<SerialPort> port_;
    std::string portName_ = "COM1";
    int32_t baudIndex_ = 0;
    unsigned answerWaitMs_ = readTimeoutConstantMs;
    SerialLogWindow* log_;
    TrafficLogStyle style_;
};
