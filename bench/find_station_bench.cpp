// Times Find Station's whole search over eight serial ports that open but never answer (each a
// pseudo-terminal nobody reads): every port is asked at both speeds, each try waiting its full
// answer time, which makes this the longest search a user with eight ports sees.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "stations/station_finder.h"

int main() {
    constexpr int portCount = 8;
    std::vector<int> masters;
    std::vector<std::string> ports;
    for (int i = 0; i < portCount; ++i) {
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            std::perror("find_station_bench: posix_openpt");
            return 1;
        }
        masters.push_back(master);
        ports.push_back(ptsname(master));
    }
    const auto started = std::chrono::steady_clock::now();
    const StationSearchResult result = findStations(ports, createSerialPort, {});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    if (!result.found.empty() || !result.cannotOpen.empty()) {
        std::fprintf(stderr, "find_station_bench: the ports were expected silent\n");
        return 1;
    }
    for (int master : masters)
        close(master);
    std::printf("Find Station over %d silent ports, both speeds: %.2f s (target under 10 s)\n",
                portCount, seconds);
    return 0;
}
