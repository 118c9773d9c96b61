// The termios port. Blocking with a deadline is done with poll on a non-blocking descriptor,
// which gives the same read and write timeouts as the Windows port without busy waiting.
#include "stations/posix_serial_port.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sstream>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

// Waits until the descriptor is ready for the events or the deadline passes.
bool waitReady(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd entry{fd, events, 0};
        int ready = ::poll(&entry, 1, static_cast<int>(left.count()));
        if (ready > 0)
            // A hang-up or error without data means the device is gone: stop waiting.
            return (entry.revents & events) != 0;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

speed_t speedFor(uint32_t baudRate) {
    return baudRate == 19200 ? B19200 : B9600;
}

std::string firstLineOf(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The kernel makes a ttyS device for every UART it might have; only one with a UART type
// (0 is none) is a port. The system console is never a station's line.
bool isRealSerialPort(const std::string& name, const std::string& consoles) {
    const std::string type = firstLineOf("/sys/class/tty/" + name + "/type");
    if (name.compare(0, 4, "ttyS") == 0 && (type.empty() || type == "0"))
        return false;
    std::istringstream words(consoles);
    return std::find(std::istream_iterator<std::string>(words),
                     std::istream_iterator<std::string>(),
                     name) == std::istream_iterator<std::string>();
}

} // namespace

std::vector<std::string> platformSerialPortNames() {
    std::vector<std::string> names;
    DIR* devices = ::opendir("/dev");
    if (!devices)
        return names;
    const std::string consoles = firstLineOf("/sys/class/tty/console/active");
    const char* const prefixes[] = {"ttyUSB", "ttyACM", "ttyS"};
    while (const dirent* entry = ::readdir(devices)) {
        const std::string name = entry->d_name;
        for (const char* prefix : prefixes)
            if (name.compare(0, std::strlen(prefix), prefix) == 0 &&
                isRealSerialPort(name, consoles))
                names.push_back("/dev/" + name);
    }
    ::closedir(devices);
    return names;
}

std::unique_ptr<SerialPort> createSerialPort() {
    return std::make_unique<PosixSerialPort>();
}

PosixSerialPort::~PosixSerialPort() {
    close();
}

SerialOpenStep PosixSerialPort::open(const char* name, uint32_t baudRate) {
    close();
    // Non-blocking, so that a line without carrier cannot hold the open.
    fd_ = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0)
        return serialCannotOpen;
    // No sharing: a second program on the same line would steal the station's answers.
    ::ioctl(fd_, TIOCEXCL);

    termios settings{};
    if (::tcgetattr(fd_, &settings) != 0) {
        close();
        return serialEventsRejected;
    }
    // Raw 8N1, no flow control of any kind; CLOCAL so a missing modem line never blocks.
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
    settings.c_cflag |= CS8 | CREAD | CLOCAL;
    settings.c_iflag &= ~(IXON | IXOFF | IXANY);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    if (::cfsetispeed(&settings, speedFor(baudRate)) != 0 ||
        ::cfsetospeed(&settings, speedFor(baudRate)) != 0 ||
        ::tcsetattr(fd_, TCSANOW, &settings) != 0) {
        close();
        return serialLineRejected;
    }
    // DTR and RTS held off. Pseudo-terminals have no modem lines, so a refusal is no error.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIC, &lines);
    return serialOpened;
}

void PosixSerialPort::close() {
    if (fd_ >= 0) {
        // The exclusive claim belongs to the line, not to this descriptor: give it back.
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
    }
    fd_ = -1;
}

size_t PosixSerialPort::read(uint8_t* buffer, size_t count, unsigned waitMs) {
    if (fd_ < 0)
        return 0;
    auto deadline = Clock::now() + std::chrono::milliseconds(waitMs + readTimeoutPerByteMs * count);
    size_t total = 0;
    while (total < count && waitReady(fd_, POLLIN, deadline)) {
        ssize_t got = ::read(fd_, buffer + total, count - total);
        if (got > 0)
            total += static_cast<size_t>(got);
        else if (got == 0 || (errno != EAGAIN && errno != EINTR))
            break; // the device went away: answer with what arrived
    }
    return total;
}

size_t PosixSerialPort::write(const uint8_t* data, size_t count) {
    if (fd_ < 0)
        return 0;
    auto deadline = Clock::now() + std::chrono::milliseconds(writeTimeoutConstantMs +
                                                             writeTimeoutPerByteMs * count);
    size_t total = 0;
    while (total < count && waitReady(fd_, POLLOUT, deadline)) {
        ssize_t sent = ::write(fd_, data + total, count - total);
        if (sent > 0)
            total += static_cast<size_t>(sent);
        else if (sent == 0 || (errno != EAGAIN && errno != EINTR))
            break;
    }
    return total;
}

size_t PosixSerialPort::clearErrorsAndCountQueued() {
    int queued = 0;
    if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &queued) != 0 || queued < 0)
        return 0;
    return static_cast<size_t>(queued);
}
