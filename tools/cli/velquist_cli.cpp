// velquist-cli: reads and writes decoder CVs and asks for the station's version from a shell,
// through the same station manager and driver as the program.
#include <cstdio>
#include <string>

#include "cli_arguments.h"
#include "stations/nce_driver.h"
#include "stations/station_manager.h"

namespace {

int fail() {
    const char* text = stationErrorText();
    std::fprintf(stderr, "error: %s\n", text && *text ? text : "unknown station error");
    saveAndShutdownStations();
    return 1;
}

int run(const CliRequest& request) {
    NceDriver* driver = new NceDriver();
    driver->setPortName(request.port.c_str());
    driver->setBaudIndex(request.baudIndex);
    selectStation(0);
    if (!isStationOpen())
        return fail();

    if (request.command == CliRequest::Command::version) {
        StationVersionInfo info{};
        if (stationGetVersion(&info) != 0)
            return fail();
        std::string text = info.text;
        text.erase(text.find_last_not_of("\r\n") + 1);
        std::printf("%s\n", text.c_str());
    }
    for (const auto& [cv, value] : request.cvs) {
        if (request.command == CliRequest::Command::read) {
            uint8_t read = 0;
            if (stationReadCv(cv, &read) != 0)
                return fail();
            std::printf("%d=%d\n", cv, read);
            std::fflush(stdout);
        } else if (stationWriteCv(cv, value) != 0) {
            return fail();
        }
    }
    saveAndShutdownStations();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    CliRequest request;
    std::string error;
    if (!parseCliArguments(argc, argv, request, error)) {
        std::fprintf(stderr, "velquist-cli: %s; %s\n", error.c_str(), cliUsage);
        return 2;
    }
    return run(request);
}
