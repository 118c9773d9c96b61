// The Win32 port: the same line settings as the termios port, applied in the same order.
#include "stations/win32_serial_port.h"

#include <cstring>
#include <string>

namespace {

// Read timeouts change in steps of this size, so that a burst of bytes read against a deadline
// costs one SetCommTimeouts and not one per byte.
constexpr unsigned waitStepMs = 100;

COMMTIMEOUTS timeoutsFor(unsigned readWaitMs) {
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = 0;
    timeouts.ReadTotalTimeoutMultiplier = readTimeoutPerByteMs;
    timeouts.ReadTotalTimeoutConstant = readWaitMs;
    timeouts.WriteTotalTimeoutMultiplier = writeTimeoutPerByteMs;
    timeouts.WriteTotalTimeoutConstant = writeTimeoutConstantMs;
    return timeouts;
}

// COM10 and above, and any other device, are only reachable through the device namespace;
// it works for COM1 to COM9 too.
std::string deviceName(const char* name) {
    std::string text = name;
    return text.compare(0, 2, "\\\\") == 0 ? text : "\\\\.\\" + text;
}

// Where the registry is silent, the names a computer most likely has.
constexpr int fallbackPortCount = 16;

} // namespace

std::vector<std::string> platformSerialPortNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        for (DWORD index = 0;; ++index) {
            char valueName[256];
            DWORD nameSize = sizeof valueName;
            DWORD type = 0;
            char data[256] = {};
            DWORD dataSize = sizeof data - 1;
            const LONG result = RegEnumValueA(key, index, valueName, &nameSize, nullptr, &type,
                                              reinterpret_cast<BYTE*>(data), &dataSize);
            if (result == ERROR_NO_MORE_ITEMS)
                break;
            if (result == ERROR_SUCCESS && type == REG_SZ && data[0])
                names.push_back(data);
        }
        RegCloseKey(key);
    }
    const bool listed = !names.empty();
    for (int number = 1; !listed && number <= fallbackPortCount; ++number)
        names.push_back("COM" + std::to_string(number));
    return names;
}

std::unique_ptr<SerialPort> createSerialPort() {
    return std::make_unique<Win32SerialPort>();
}

Win32SerialPort::~Win32SerialPort() {
    close();
}

SerialOpenStep Win32SerialPort::open(const char* name, uint32_t baudRate) {
    close();
    handle_ = CreateFileA(deviceName(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        return serialCannotOpen;
    SerialOpenStep step = serialOpened;
    if (!SetCommMask(handle_, 0)) {
        step = serialEventsRejected;
    } else {
        COMMTIMEOUTS timeouts = timeoutsFor(readTimeoutConstantMs);
        readWaitMs_ = readTimeoutConstantMs;
        if (!SetCommTimeouts(handle_, &timeouts)) {
            step = serialTimeoutsRejected;
        } else {
            // Raw 8N1, no flow control of any kind, DTR and RTS off. The handshake characters
            // have no effect with XON/XOFF off, but must differ or the settings are refused.
            DCB line{};
            line.DCBlength = sizeof line;
            line.BaudRate = baudRate == 19200 ? CBR_19200 : CBR_9600;
            line.fBinary = 1;
            line.fDtrControl = DTR_CONTROL_DISABLE;
            line.fRtsControl = RTS_CONTROL_DISABLE;
            line.XonLim = 2;
            line.XoffLim = 4;
            line.ByteSize = 8;
            line.Parity = NOPARITY;
            line.StopBits = ONESTOPBIT;
            line.XonChar = 0x13;
            line.XoffChar = 0x19;
            if (!SetCommState(handle_, &line))
                step = serialLineRejected;
        }
    }
    if (step != serialOpened)
        close();
    return step;
}

void Win32SerialPort::close() {
    if (handle_ != INVALID_HANDLE_VALUE)
        CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    aheadStart_ = aheadEnd_ = 0;
}

size_t Win32SerialPort::takeAhead(uint8_t* buffer, size_t count) {
    const size_t held = aheadEnd_ - aheadStart_;
    const size_t taken = count < held ? count : held;
    std::memcpy(buffer, ahead_ + aheadStart_, taken);
    aheadStart_ += taken;
    if (aheadStart_ == aheadEnd_)
        aheadStart_ = aheadEnd_ = 0;
    return taken;
}

// Whatever has arrived already, read in one call; waiting bytes make ReadFile return at once.
void Win32SerialPort::readAhead() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!ClearCommError(handle_, &errors, &status) || status.cbInQue == 0)
        return;
    const size_t room = sizeof ahead_ - aheadEnd_;
    DWORD got = 0;
    ReadFile(handle_, ahead_ + aheadEnd_,
             static_cast<DWORD>(status.cbInQue < room ? status.cbInQue : room), &got, nullptr);
    aheadEnd_ += got;
}

// Waits, as before, for all of count: first from the bytes read ahead, then from the line.
size_t Win32SerialPort::read(uint8_t* buffer, size_t count, unsigned waitMs) {
    if (!isOpen())
        return 0;
    size_t taken = takeAhead(buffer, count);
    if (taken == count)
        return taken;
    // Rounded down: a wait never runs past the caller's deadline.
    unsigned stepped = waitMs / waitStepMs * waitStepMs;
    if (stepped != readWaitMs_) {
        COMMTIMEOUTS timeouts = timeoutsFor(stepped);
        if (SetCommTimeouts(handle_, &timeouts))
            readWaitMs_ = stepped;
    }
    DWORD got = 0;
    ReadFile(handle_, buffer + taken, static_cast<DWORD>(count - taken), &got, nullptr);
    taken += got;
    if (taken == count)
        readAhead();
    return taken;
}

size_t Win32SerialPort::write(const uint8_t* data, size_t count) {
    DWORD sent = 0;
    if (isOpen())
        WriteFile(handle_, data, static_cast<DWORD>(count), &sent, nullptr);
    return sent;
}

size_t Win32SerialPort::clearErrorsAndCountQueued() {
    DWORD errors = 0;
    COMSTAT status{};
    if (!isOpen() || !ClearCommError(handle_, &errors, &status))
        return 0;
    return aheadEnd_ - aheadStart_ + status.cbInQue;
}
