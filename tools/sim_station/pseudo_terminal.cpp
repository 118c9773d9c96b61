#include "pseudo_terminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

std::string describe(const char* action) {
    return std::string(action) + ": " + std::strerror(errno);
}

} // namespace

PseudoTerminal::~PseudoTerminal() {
    if (slave_ >= 0) {
        close(slave_);
    }
    if (master_ >= 0) {
        close(master_);
    }
}

bool PseudoTerminal::open(std::string& error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        error = describe("posix_openpt");
        return false;
    }
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        error = describe("cannot unlock the pseudo-terminal");
        return false;
    }
    const char* name = ptsname(master_);
    if (!name) {
        error = describe("ptsname");
        return false;
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slave_ < 0) {
        error = describe(("cannot open " + slavePath_).c_str());
        return false;
    }
    // A serial line passes bytes untouched: no echo, no line editing, no CR/LF translation.
    termios settings{};
    if (tcgetattr(slave_, &settings) != 0) {
        error = describe("tcgetattr");
        return false;
    }
    cfmakeraw(&settings);
    if (tcsetattr(slave_, TCSANOW, &settings) != 0) {
        error = describe("tcsetattr");
        return false;
    }
    const int flags = fcntl(master_, F_GETFL);
    if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0 ||
        fcntl(master_, F_SETFD, FD_CLOEXEC) != 0 || fcntl(slave_, F_SETFD, FD_CLOEXEC) != 0) {
        error = describe("fcntl");
        return false;
    }
    return true;
}

void PseudoTerminal::releaseExclusiveUse() {
#ifdef TIOCNXCL
    ioctl(slave_, TIOCNXCL);
#endif
}
