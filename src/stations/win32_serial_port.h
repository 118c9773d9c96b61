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
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    unsigned readWaitMs_ = readTimeoutConstantMs; // the read wait the port is set to
};
