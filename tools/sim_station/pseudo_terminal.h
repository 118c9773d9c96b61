// The pseudo-terminal the station listens on. The program opens the slave side as its serial
// port; the station reads and writes the master side.
#pragma once

#include <string>

class PseudoTerminal {
  public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Creates the pair in raw mode with a non-blocking master. On failure returns false and
    // describes it in error.
    bool open(std::string& error);

    // Undoes a client's claim to exclusive use (TIOCEXCL). Because the station keeps the slave
    // open, the claim would otherwise outlive the client and refuse every later open by a user
    // without CAP_SYS_ADMIN with EBUSY.
    void releaseExclusiveUse();

    int masterFd() const { return master_; }
    const std::string& slavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    // Held open for the station's whole life: without it the master hangs up (EIO) each time
    // the last client closes the device, and raw mode would be lost between clients.
    int slave_ = -1;
    std::string slavePath_;
};
