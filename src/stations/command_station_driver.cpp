#include "stations/command_station_driver.h"

#include "stations/station_manager.h"

CommandStationDriver::CommandStationDriver(const char* name) : name_(name ? name : "") {
    registerStation(this);
}

CommandStationDriver::~CommandStationDriver() {
    unregisterStation(this);
}
