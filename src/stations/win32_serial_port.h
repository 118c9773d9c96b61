// The serial port on Windows, through the Win32 communications calls.
#pragma once

#include <windows.h>

#include "stations/serial_port.h"

class Win32SerialPort : public SerialPort {
  public:
    ~Win32SerialPort() override;
    SerialOpenStep open(const char* name, uint32_t baudRate) override;
    void close() override;
    bool isOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }
    size_t read(uint8_t* buffer, size_t count, unsigned waitMs) override;
    size_t write(const uint8_t* data, size_t count) override;
    size_t clearErrorsAndCountQueued() override;
    HANDLE handle() const { return handle_; }

  private:
    size_t takeAhead(uint8_t* buffer, size_t count);
    void readAhead();

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    unsigned readWaitMs_ = readTimeoutConstantMs; // the read wait the port is set to
    // Bytes already received but not yet asked for: the link reads an answer byte by byte, and
    // under Wine each ReadFile is a round trip to its server.
    uint8_t ahead_[256] = {};
    size_t aheadStart_ = 0;
    size_t aheadEnd_ = 0;
};
