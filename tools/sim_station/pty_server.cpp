#include "pty_server.h"

#include "state_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace {

// How long to leave the master alone after it reports a hang-up, instead of spinning on it.
const std::chrono::milliseconds hangUpPause{100};
// A client that sends without ever reading fills the pseudo-terminal's buffer; beyond these
// bounds the station forgets, like a real one whose line nobody listens to.
const std::size_t maxPendingOutput = 64 * 1024;
const std::size_t maxQueuedCommands = 1000;
const std::chrono::milliseconds latePromptDelay{50};
const char* const latePromptText = "COMMAND: ";

} // namespace

PtyServer::PtyServer(SimulatedStation& station, StationProtocol& protocol, PseudoTerminal& terminal,
                     LineLog& log, ServerSettings settings)
    : station_(station), protocol_(protocol), terminal_(terminal), master_(terminal.masterFd()),
      log_(log), settings_(std::move(settings)) {}

void PtyServer::run(int stopFd) {
    for (;;) {
        chatter();
        sendLatePrompts();
        answerDueCommands();
        pollfd fds[2] = {};
        fds[0].fd = stopFd;
        fds[0].events = POLLIN;
        fds[1].fd = Clock::now() < masterPausedUntil_ ? -1 : master_;
        fds[1].events = static_cast<short>(POLLIN | (output_.empty() ? 0 : POLLOUT));
        timespec wait{};
        if (ppoll(fds, 2, timeUntilWake(&wait) ? &wait : nullptr, nullptr) < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::perror("velquist-sim-station: poll");
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if (fds[1].revents & POLLIN) {
            receive();
        } else if (fds[1].revents & (POLLHUP | POLLERR)) {
            pauseMaster();
        }
        if (fds[1].revents & POLLOUT) {
            sendPending();
        }
    }
}

void PtyServer::receive() {
    char buffer[512];
    for (;;) {
        const ssize_t count = read(master_, buffer, sizeof buffer);
        if (count > 0) {
            // A client that talks has finished opening; the driver's close sequence always
            // talks, so the next client can open the device again.
            terminal_.releaseExclusiveUse();
            for (const std::string& line : protocol_.feed(buffer, static_cast<size_t>(count))) {
                log_.write(protocol_.logText(line));
                chattering_ = false;
                if (commands_.size() < maxQueuedCommands) {
                    commands_.push_back(line);
                }
            }
        } else if (!retryAfterStall(count)) {
            return;
        }
    }
}

std::chrono::milliseconds PtyServer::latencyOf(const std::string& line) {
    if (!protocol_.isProgrammingCommand(line))
        return std::chrono::milliseconds(0);
    if (!settings_.realTiming)
        return settings_.latency;
    // A Powerhouse Pro's monitor log: direct-mode reads take 0.6 to 0.9 s, writes about 0.2 s.
    const bool read = protocol_.isReadCommand(line);
    std::uniform_int_distribution<int> ms(read ? 600 : 180, read ? 900 : 220);
    return std::chrono::milliseconds(ms(random_));
}

void PtyServer::answerDueCommands() {
    while (!commands_.empty()) {
        const Clock::time_point now = Clock::now();
        if (!headStarted_) {
            headStarted_ = true;
            headDue_ = now + latencyOf(commands_.front());
        }
        if (now < headDue_) {
            break;
        }
        const StationReply reply = protocol_.answer(commands_.front());
        commands_.pop_front();
        headStarted_ = false;
        if (reply.chatter) {
            chattering_ = true;
            nextChatter_ = now;
        }
        std::string error;
        if (reply.wroteCv && !settings_.statePath.empty() &&
            !saveStateFile(settings_.statePath, station_, error)) {
            std::fprintf(stderr, "velquist-sim-station: %s\n", error.c_str());
        }
        output_ += reply.bytes;
        if (settings_.latePrompt && !reply.bytes.empty())
            latePrompts_.push_back(now + latePromptDelay);
    }
    if (output_.size() > maxPendingOutput) {
        output_.erase(0, output_.size() - maxPendingOutput);
    }
    sendPending();
}

void PtyServer::sendPending() {
    while (!output_.empty() && Clock::now() >= masterPausedUntil_) {
        const ssize_t count = write(master_, output_.data(), output_.size());
        if (count > 0) {
            output_.erase(0, static_cast<size_t>(count));
        } else if (!retryAfterStall(count)) {
            return;
        }
    }
}

void PtyServer::chatter() {
    const Clock::time_point now = Clock::now();
    while (chattering_ && nextChatter_ <= now) {
        output_ += SimulatedStation::chatterText;
        nextChatter_ += settings_.chatterInterval;
    }
}

void PtyServer::sendLatePrompts() {
    const Clock::time_point now = Clock::now();
    while (!latePrompts_.empty() && latePrompts_.front() <= now) {
        output_ += latePromptText;
        latePrompts_.pop_front();
    }
}

void PtyServer::pauseMaster() {
    masterPausedUntil_ = Clock::now() + hangUpPause;
}

// After a read or write of the master that moved nothing. An interrupted call is tried again at
// once. EAGAIN ends the burst until poll reports the master ready. End of file or an error means
// no client holds the device, which only happens if the kept slave descriptor is lost, so the
// master rests a while.
bool PtyServer::retryAfterStall(ssize_t count) {
    if (count < 0 && errno == EINTR) {
        return true;
    }
    if (count == 0 || errno != EAGAIN) {
        pauseMaster();
    }
    return false;
}

bool PtyServer::timeUntilWake(timespec* wait) const {
    const Clock::time_point now = Clock::now();
    Clock::time_point wake = Clock::time_point::max();
    if (headStarted_) {
        wake = headDue_;
    }
    if (chattering_ && nextChatter_ < wake) {
        wake = nextChatter_;
    }
    if (!latePrompts_.empty() && latePrompts_.front() < wake) {
        wake = latePrompts_.front();
    }
    if (masterPausedUntil_ > now && masterPausedUntil_ < wake) {
        wake = masterPausedUntil_;
    }
    if (wake == Clock::time_point::max()) {
        return false;
    }
    // To the nanosecond: a wait in whole milliseconds would add half a millisecond on average to
    // every answer's latency. Linux may also end a poll up to a thousandth of its timeout late
    // (0.7 ms of a 700 ms latency), so the loop asks for that much less and waits out the rest.
    auto nanos =
        wake > now ? std::chrono::duration_cast<std::chrono::nanoseconds>(wake - now).count() : 0;
    nanos -= nanos / 1000;
    wait->tv_sec = static_cast<time_t>(nanos / 1000000000);
    wait->tv_nsec = static_cast<long>(nanos % 1000000000);
    return true;
}
