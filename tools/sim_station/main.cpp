// velquist-sim-station: a stand-in for an NCE station on a pseudo-terminal (the Powerhouse Pro's
// ASCII command set, or with --protocol binary the binary one), for the integration tests and for
// running the program without a layout at hand.
#include "binary_station.h"
#include "device_link.h"
#include "line_log.h"
#include "pseudo_terminal.h"
#include "pty_server.h"
#include "simulated_station.h"
#include "state_file.h"
#include "station_protocol.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const programName = "velquist-sim-station";
const char* const usage =
    "usage: velquist-sim-station [--link PATH] [--state FILE] [--log FILE] [--latency-ms N] "
    "[--version-text TEXT] [--fault MODE]... [--fault-every N] [--chatter-ms N] "
    "[--answer-style plain|real|real-no-prompt] [--no-feedback-cv N]... [--real-timing] "
    "[--protocol ascii|binary] [--system SYSTEM] [--late-prompt] [--flaky-reads N]";
const long maxLatencyMs = 600000;

struct Options {
    std::string linkPath;
    std::string logPath;
    std::string versionText = SimulatedStation::defaultVersionText;
    ServerSettings server;
    std::vector<StationFault> faults;
    int faultEvery = 0;
    AnswerStyle style = AnswerStyle::Plain;
    std::vector<int> deafCvs;
    bool binary = false;
    // None: a Powerhouse Pro 6.2.1 in binary mode, asciiSimulatorSystem in ASCII mode.
    const BinarySystem* system = nullptr;
    int flakyReads = 0;
};

[[noreturn]] void usageError(const std::string& problem) {
    std::fprintf(stderr, "%s: %s; %s\n", programName, problem.c_str(), usage);
    std::exit(2);
}

[[noreturn]] void fail(const std::string& problem) {
    std::fprintf(stderr, "%s: %s\n", programName, problem.c_str());
    std::exit(1);
}

long parseWholeNumber(const std::string& name, const std::string& text, long low, long high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high) {
        usageError(name + " needs a whole number from " + std::to_string(low) + " to " +
                   std::to_string(high));
    }
    return value;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--help") {
            std::printf("%s\nMODE: %s\nSYSTEM: %s\n", usage, stationFaultNames().c_str(),
                        binarySystemNames().c_str());
            std::exit(0);
        }
        if (name == "--real-timing" || name == "--late-prompt") {
            (name == "--real-timing" ? options.server.realTiming : options.server.latePrompt) =
                true;
            continue;
        }
        if (name != "--link" && name != "--state" && name != "--log" && name != "--latency-ms" &&
            name != "--version-text" && name != "--fault" && name != "--fault-every" &&
            name != "--chatter-ms" && name != "--answer-style" && name != "--no-feedback-cv" &&
            name != "--protocol" && name != "--system" && name != "--flaky-reads") {
            usageError("unknown option '" + name + "'");
        }
        if (i + 1 == argc) {
            usageError(name + " needs a value");
        }
        const std::string value = argv[++i];
        if (name == "--link") {
            options.linkPath = value;
        } else if (name == "--state") {
            options.server.statePath = value;
        } else if (name == "--log") {
            options.logPath = value;
        } else if (name == "--latency-ms") {
            options.server.latency =
                std::chrono::milliseconds(parseWholeNumber(name, value, 0, maxLatencyMs));
        } else if (name == "--chatter-ms") {
            options.server.chatterInterval =
                std::chrono::milliseconds(parseWholeNumber(name, value, 1, maxLatencyMs));
        } else if (name == "--flaky-reads") {
            options.flakyReads = static_cast<int>(parseWholeNumber(name, value, 1, 1000000));
        } else if (name == "--fault-every") {
            options.faultEvery = static_cast<int>(parseWholeNumber(name, value, 1, 1000000));
        } else if (name == "--version-text") {
            options.versionText = value;
        } else if (name == "--answer-style") {
            if (!parseAnswerStyle(value, options.style)) {
                usageError("unknown answer style '" + value + "'");
            }
        } else if (name == "--no-feedback-cv") {
            options.deafCvs.push_back(
                static_cast<int>(parseWholeNumber(name, value, 1, SimulatedStation::cvCount)));
        } else if (name == "--protocol") {
            if (value != "ascii" && value != "binary") {
                usageError("--protocol is ascii or binary, not '" + value + "'");
            }
            options.binary = value == "binary";
        } else if (name == "--system") {
            options.system = findBinarySystem(value);
            if (!options.system) {
                usageError("unknown system '" + value + "' (SYSTEM: " + binarySystemNames() + ")");
            }
        } else {
            StationFault fault{};
            if (!parseStationFault(value, fault)) {
                usageError("unknown fault '" + value + "' (MODE: " + stationFaultNames() + ")");
            }
            options.faults.push_back(fault);
        }
    }
    return options;
}

int stopWriteFd = -1;

extern "C" void requestStop(int) {
    const int savedErrno = errno;
    const char byte = 0;
    // A full pipe already holds a stop request, so a failed write loses nothing.
    const ssize_t written = write(stopWriteFd, &byte, 1);
    (void)written;
    errno = savedErrno;
}

// The signal handlers only write to a pipe that the poll loop watches, so a stop request wakes
// the loop at once and everything else happens outside the handler.
int installStopSignals() {
    int fds[2];
    if (pipe(fds) != 0) {
        fail(std::string("pipe: ") + std::strerror(errno));
    }
    for (const int fd : fds) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    stopWriteFd = fds[1];
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    return fds[0];
}

} // namespace

int main(int argc, char** argv) {
    const Options options = parseOptions(argc, argv);

    SimulatedStation station;
    station.setVersionText(options.versionText);
    for (const StationFault fault : options.faults) {
        station.addFault(fault);
    }
    station.setFaultEvery(options.faultEvery);
    station.setAnswerStyle(options.style);
    for (const int cv : options.deafCvs) {
        station.addDeafCv(cv);
    }
    const BinarySystem& system = options.system   ? *options.system
                                 : options.binary ? binarySystems[0]
                                                  : asciiSimulatorSystem;
    station.setLimited(system.limited);
    station.setFlakyReads(options.flakyReads);
    std::string error;
    const std::string& statePath = options.server.statePath;
    if (!statePath.empty() && !loadStateFile(statePath, station, error)) {
        fail(error);
    }
    LineLog log;
    if (!options.logPath.empty() && !log.open(options.logPath, error)) {
        fail(error);
    }
    const int stopFd = installStopSignals();
    PseudoTerminal terminal;
    if (!terminal.open(error)) {
        fail(error);
    }
    DeviceLink link;
    if (!options.linkPath.empty() && !link.create(options.linkPath, terminal.slavePath(), error)) {
        fail(error);
    }
    // The first line of output is the device to open; whoever started the station waits for it.
    std::printf("%s\n", terminal.slavePath().c_str());
    std::fflush(stdout);

    AsciiProtocol ascii(station, std::string(reinterpret_cast<const char*>(system.version), 3));
    BinaryStation binary(station, system);
    StationProtocol& protocol = options.binary ? static_cast<StationProtocol&>(binary) : ascii;
    PtyServer server(station, protocol, terminal, log, options.server);
    server.run(stopFd);

    if (!statePath.empty() && !saveStateFile(statePath, station, error)) {
        std::fprintf(stderr, "%s: %s\n", programName, error.c_str());
        return 1;
    }
    return 0;
}
