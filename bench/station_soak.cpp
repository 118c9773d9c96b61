// Soak: 10,000 station commands, reads and writes mixed, through the station manager and an NCE
// driver (ASCII, or binary with the argument "binary") over a real pseudo-terminal, against the
// simulated station in that command set with a fault on every 50th answer (every fault mode of
// the command set but silence, in turn). Every read must give the decoder's value or
// fail with an error text; every write reported done must be held by the decoder (its state
// file); a failed command must leave no remembered value; the heap must not grow after the
// first 100 commands. The pauses that pace a real station are skipped. Ends with PASS or FAIL.
#include <malloc.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "foundation/pause.h"
#include "sim_station_process.h"
#include "simulated_station.h"
#include "state_file.h"
#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/station_manager.h"

namespace {

constexpr int commandCount = 10000;
constexpr int warmUpCommands = 100;

// Bytes held by live allocations. malloc's own figures count freed blocks it keeps cached as in
// use, so the program's allocations are counted here instead.
size_t liveBytes = 0;

struct Memory {
    size_t heapInUse;
    long residentKb;
};

// The manager's error text is a heap copy as long as the last message: it is cleared first (the
// next command clears it anyway) so that two measurements compare like with like.
Memory memoryNow() {
    setStationErrorText(nullptr);
    Memory memory{liveBytes, 0};
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, 6, "VmRSS:") == 0)
            memory.residentKb = std::atol(line.c_str() + 6);
    return memory;
}

class Soak {
  public:
    explicit Soak(std::string statePath) : statePath_(std::move(statePath)) {
        problems_.reserve(20);
    }

    void read(int cv) {
        uint8_t value = 0;
        if (stationReadCv(cv, &value) == 0) {
            ++readsDone_;
            check(value == decoder_.cv(cv), "read of CV " + std::to_string(cv) + " gave " +
                                                std::to_string(value) + ", the decoder holds " +
                                                std::to_string(decoder_.cv(cv)));
        } else {
            failed(cv, "read");
        }
    }

    void write(int cv, int value) {
        int result = stationWriteCv(cv, value);
        std::string error;
        check(loadStateFile(statePath_, decoder_, error), "state file: " + error);
        if (result == 0) {
            ++writesDone_;
            check(decoder_.cv(cv) == value,
                  "write of " + std::to_string(value) + " to CV " + std::to_string(cv) +
                      " reported done, the decoder holds " + std::to_string(decoder_.cv(cv)));
        } else {
            failed(cv, "write");
        }
    }

    void report(double seconds, const Memory& warm, const Memory& end) const {
        std::printf("%d commands in %.1f s: %d reads done, %d writes done, %d failed\n",
                    commandCount, seconds, readsDone_, writesDone_, failures_);
        for (const ErrorCount& entry : errorTexts_)
            if (entry.count > 0)
                std::printf("  %5d x %s\n", entry.count, entry.text);
        std::printf("live heap after %d commands %zu bytes, at the end %zu bytes; resident "
                    "%ld kB, at the end %ld kB\n",
                    warmUpCommands, warm.heapInUse, end.heapInUse, warm.residentKb, end.residentKb);
        for (const std::string& problem : problems_)
            std::printf("problem: %s\n", problem.c_str());
    }

    void check(bool ok, const std::string& problem) {
        if (!ok && problems_.size() < problems_.capacity())
            problems_.push_back(problem);
        ok_ = ok_ && ok;
    }
    bool ok() const { return ok_; }

  private:
    void failed(int cv, const char* what) {
        ++failures_;
        const char* text = stationErrorText();
        check(text && *text,
              std::string(what) + " of CV " + std::to_string(cv) + " failed without an error text");
        // Counted in a table made before the first command: the soak's own bookkeeping must not
        // show in the heap it measures.
        char shown[sizeof(ErrorCount::text)];
        std::snprintf(shown, sizeof shown, "%s: %s", what, text ? text : "(none)");
        for (ErrorCount& entry : errorTexts_) {
            if (entry.count == 0)
                std::snprintf(entry.text, sizeof entry.text, "%s", shown);
            if (std::strcmp(entry.text, shown) == 0) {
                ++entry.count;
                break;
            }
        }
        uint8_t known = 0;
        check(knownCvValue(cv, &known, 0) == 1,
              std::string("a failed ") + what + " of CV " + std::to_string(cv) + " left a value");
    }

    std::string statePath_;
    SimulatedStation decoder_; // the simulated decoder as its state file shows it
    int readsDone_ = 0, writesDone_ = 0, failures_ = 0;
    struct ErrorCount {
        char text[48];
        int count;
    };
    std::array<ErrorCount, 64> errorTexts_{};
    std::vector<std::string> problems_;
    bool ok_ = true;
};

} // namespace

void* operator new(size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    liveBytes += malloc_usable_size(block);
    return block;
}

void operator delete(void* block) noexcept {
    if (block)
        liveBytes -= malloc_usable_size(block);
    std::free(block);
}

void operator delete(void* block, size_t) noexcept {
    operator delete(block);
}

int main(int argc, char** argv) {
    const bool binary = argc > 1 && std::strcmp(argv[1], "binary") == 0;
    setPauseHandler([](unsigned) {});
    char directory[] = "/tmp/velquist-soak-XXXXXX";
    if (!mkdtemp(directory))
        return 1;
    const std::string statePath = std::string(directory) + "/decoder.state";
    std::vector<std::string> options = {"--state", statePath, "--fault-every", "50"};
    const std::vector<std::string> faults =
        binary ? std::vector<std::string>{"no-decoder", "short-circuit", "not-programming",
                                          "truncated", "stray-bytes"}
               : std::vector<std::string>{"no-decoder",     "doubled-prompt-letter",
                                          "value-over-255", "nul-bytes",
                                          "overlong",       "chatter"};
    for (const std::string& fault : faults)
        options.insert(options.end(), {"--fault", fault});
    if (binary)
        // A Powerhouse Pro before EPROM 6.2.3 would write CVs above 255 elsewhere, by design.
        options.insert(options.end(), {"--protocol", "binary", "--system", "power-cab-usb-7.3.3"});
    else
        options.insert(options.end(), {"--chatter-ms", "1"});
    SimStationProcess station(options);
    std::printf("%s driver\n", binary ? "binary" : "ASCII");
    NceStationDriver* driver =
        binary ? static_cast<NceStationDriver*>(new NceBinaryDriver()) : new NceDriver();
    driver->setPortName(station.device().c_str());
    selectStation(0);
    Soak soak(statePath);
    soak.check(isStationOpen() == 1, "the station did not open");

    std::mt19937 random(11);
    Memory warm{};
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < commandCount && isStationOpen(); ++i) {
        if (i == warmUpCommands)
            warm = memoryNow();
        int cv = 1 + static_cast<int>(random() % SimulatedStation::cvCount);
        if (random() % 2 == 0 || cv == 7 || cv == 8) // the decoder keeps its version and maker
            soak.read(cv);
        else
            soak.write(cv, static_cast<int>(random() % 256));
    }
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    Memory end = memoryNow();
    soak.check(end.heapInUse == warm.heapInUse, "the heap grew after the first commands");
    soak.report(took.count(), warm, end);

    saveAndShutdownStations();
    station.stop();
    std::remove(statePath.c_str());
    rmdir(directory);
    std::printf("%s\n", soak.ok() ? "PASS" : "FAIL");
    return soak.ok() ? 0 : 1;
}
