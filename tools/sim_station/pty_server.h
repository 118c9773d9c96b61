// Serves a SimulatedStation on a pseudo-terminal: one thread, one poll loop, idle while nothing
// arrives.
#pragma once

#include <sys/types.h>

#include "line_log.h"
#include "pseudo_terminal.h"
#include "simulated_station.h"
#include "station_protocol.h"

#include <chrono>
#include <ctime>
#include <deque>
#include <random>
#include <string>

struct ServerSettings {
    std::string statePath; // empty: the table is not saved
    std::chrono::milliseconds latency{0};
    // Reads and writes take as long as on a real programming track, drawn per command (the
    // latency above is then ignored).
    bool realTiming = false;
    std::chrono::milliseconds chatterInterval{50};
    // A second prompt goes out 50 ms after every answer, as some stations send one late.
    bool latePrompt = false;
};

class PtyServer {
  public:
    // The protocol answers the commands; the station's table is saved after each write.
    PtyServer(SimulatedStation& station, StationProtocol& protocol, PseudoTerminal& terminal,
              LineLog& log, ServerSettings settings);

    // Serves until stopFd becomes readable (the signal handlers write to it).
    void run(int stopFd);

  private:
    using Clock = std::chrono::steady_clock;

    void receive();
    void answerDueCommands();
    void sendPending();
    void chatter();
    void sendLatePrompts();
    void pauseMaster();
    bool retryAfterStall(ssize_t count);
    // The time until the next answer or chatter is due; false when nothing is due.
    bool timeUntilWake(timespec* wait) const;
    // How long the station takes before it answers this line.
    std::chrono::milliseconds latencyOf(const std::string& line);

    SimulatedStation& station_;
    StationProtocol& protocol_;
    PseudoTerminal& terminal_;
    int master_;
    LineLog& log_;
    ServerSettings settings_;
    // Lines are answered one after another, like a real station, each after its latency.
    std::deque<std::string> commands_;
    bool headStarted_ = false;
    Clock::time_point headDue_;
    std::string output_;
    Clock::time_point masterPausedUntil_;
    bool chattering_ = false;
    Clock::time_point nextChatter_;
    // The late prompts still to go, each at its time.
    std::deque<Clock::time_point> latePrompts_;
    std::mt19937 random_;
};
