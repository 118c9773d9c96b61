// The serial port on Linux and other POSIX systems, through termios.
#pragma once

#include "stations/serial_port.h"

class PosixSerialPort : public SerialPort {
  public:
    ~PosixSerialPort() override;
    SerialOpenStep open(const char* name, uint32_t baudRate) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    size_t read(uint8_t* buffer, size_t count, unsigned waitMs) override;
    size_t write(const uint8_t* data, size_t count) override;
    size_t clearErrorsAndCountQueued() override;

  private:
    int fd_ = -1;
};
