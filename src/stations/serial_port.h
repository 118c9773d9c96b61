// The serial port seam: Win32 calls in the Windows build, termios on Linux, fakes in tests.
// Both real ports configure the line the same way: 8 data bits, no parity, 1 stop bit, no flow
// control of any kind, DTR and RTS off, and the timeouts below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A read of n bytes returns after at most waitMs (normally readTimeoutConstantMs) +
// n * readTimeoutPerByteMs with whatever arrived; a write gives up after writeTimeoutConstantMs +
// n * writeTimeoutPerByteMs.
constexpr unsigned readTimeoutConstantMs = 16000;
constexpr unsigned readTimeoutPerByteMs = 2;
constexpr unsigned writeTimeoutConstantMs = 5000;
constexpr unsigned writeTimeoutPerByteMs = 2;

// Why opening failed, numbered by the step of the opening sequence that failed.
enum SerialOpenStep {
    serialOpened = 0,
    serialCannotOpen = 1,       // the device cannot be opened
    serialEventsRejected = 2,   // comm events cannot be switched off
    serialTimeoutsRejected = 3, // the timeouts are rejected
    serialLineRejected = 4,     // the line settings (baud rate and format) are rejected
};

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // Opens and configures the device; a failed open leaves the port closed.
    virtual SerialOpenStep open(const char* name, uint32_t baudRate) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual size_t read(uint8_t* buffer, size_t count, unsigned waitMs) = 0;
    virtual size_t write(const uint8_t* data, size_t count) = 0;
    // Clears the port's error state and tells how many received bytes are waiting.
    virtual size_t clearErrorsAndCountQueued() = 0;
};

// The platform's real serial port.
std::unique_ptr<SerialPort> createSerialPort();

// The serial ports the platform lists, in no particular order.
std::vector<std::string> platformSerialPortNames();
