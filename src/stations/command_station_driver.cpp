#include "stations/command_station_driver.h"

#include "stations/station_manager.h"

CommandStationDriver::CommandStationDriver(const char* name) : name_(name ? name : "") {
    registerStation(this);
}

CommandStationDriver::~CommandStationDriver() {
    unregisterStation(this);
}

int CommandStationDriver::writeCvOnMain(const MainTrackTarget&, int32_t, int) {
    setStationErrorText("This command station cannot program on the main");
    return 1;
}
