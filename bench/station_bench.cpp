// Measures readCv and writeCv of both NCE drivers against the simulated station in their command
// sets at zero station latency: the wall time per command, its overhead above the pause the
// command set needs (100 ms before each ASCII line, none for binary commands), and the CPU time
// per command (waiting for the answer must block, never spin). Then the locomotive page's 18 CVs
// written on the main through each driver: the packets of a serial station (sent twice, then the
// 200 ms the station's queue needs) and the USB interface's AE.
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "sim_station_process.h"
#include "stations/main_track_target.h"
#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/station_manager.h"

namespace {

double cpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

void measure(const char* name, int count, unsigned pauseMs,
             const std::function<bool(int)>& command) {
    std::vector<double> wall, cpu;
    for (int i = 0; i < count; ++i) {
        double cpuBefore = cpuMilliseconds();
        auto before = std::chrono::steady_clock::now();
        if (!command(i)) {
            std::fprintf(stderr, "%s failed: %s\n", name, stationErrorText());
            std::exit(1);
        }
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - before;
        wall.push_back(took.count());
        cpu.push_back(cpuMilliseconds() - cpuBefore);
    }
    double medianWall = median(wall);
    std::printf("%-15s n=%d  median wall %.3f ms  overhead above %u ms pause %.3f ms  "
                "median CPU %.3f ms  max wall %.3f ms\n",
                name, count, medianWall, pauseMs, medianWall - pauseMs, median(cpu),
                *std::max_element(wall.begin(), wall.end()));
}

// Both commands of one driver, each measured alone: programming mode is entered first.
int measureDriver(NceStationDriver& driver, const SimStationProcess& station, int count,
                  unsigned pauseMs, const std::string& prefix) {
    if (driver.open(("9600|" + station.device()).c_str()) != 0) {
        std::fprintf(stderr, "open failed: %s\n", stationErrorText());
        return 1;
    }
    uint8_t value = 0;
    driver.readCv(1, &value);
    measure((prefix + "readCv").c_str(), count, pauseMs,
            [&](int i) { return driver.readCv(1 + i % 1024, &value) == 0; });
    measure((prefix + "writeCv").c_str(), count, pauseMs,
            [&](int i) { return driver.writeCv(1 + i % 6, i & 0xFF) == 0; });
    driver.close();
    return 0;
}

// The locomotive page's CVs in its binding order.
const int locomotivePageCvs[] = {8, 7, 1, 18, 17, 3, 4, 29, 2, 6, 5, 65, 66, 95, 10, 11, 105, 106};
constexpr int locomotivePageCvCount = sizeof locomotivePageCvs / sizeof locomotivePageCvs[0];

int measureOnMain(NceStationDriver& driver, const SimStationProcess& station, int rounds,
                  unsigned pauseMs, const char* name) {
    if (driver.open(("9600|" + station.device()).c_str()) != 0) {
        std::fprintf(stderr, "open failed: %s\n", stationErrorText());
        return 1;
    }
    const MainTrackTarget target{ProgramOn::locomotive, 1234, true};
    measure(name, rounds * locomotivePageCvCount, pauseMs, [&](int i) {
        return driver.writeCvOnMain(target, locomotivePageCvs[i % locomotivePageCvCount],
                                    i & 0xFF) == 0;
    });
    driver.close();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int count = argc > 1 ? std::atoi(argv[1]) : 100;
    SimStationProcess asciiStation;
    NceDriver ascii;
    if (measureDriver(ascii, asciiStation, count, 100, "") != 0)
        return 1;
    SimStationProcess binaryStation({"--protocol", "binary"});
    NceBinaryDriver binary;
    if (measureDriver(binary, binaryStation, count, 0, "binary ") != 0)
        return 1;
    const int rounds = count > 36 ? count / 36 : 1;
    SimStationProcess usbStation({"--protocol", "binary", "--system", "power-cab-usb-7.3.3"});
    return measureOnMain(ascii, asciiStation, rounds, 200, "ascii main 96") |
           measureOnMain(binary, binaryStation, rounds, 200, "binary main 96") |
           measureOnMain(binary, usbStation, rounds, 0, "usb main AE");
}
