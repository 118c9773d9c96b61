#include "stations/station_drivers.h"

#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"

namespace {

void constructProgramDrivers() {
    new NceDriver();
    new NceBinaryDriver();
}

StationConstructor currentConstructor = constructProgramDrivers;

} // namespace

void constructStationDrivers() {
    currentConstructor();
}

StationConstructor setStationConstructor(StationConstructor constructor) {
    StationConstructor previous = currentConstructor;
    currentConstructor = constructor ? constructor : constructProgramDrivers;
    return previous;
}
