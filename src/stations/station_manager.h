// The one way to the decoder: the list of drivers, the selected one and whether it is open,
// the remembered choice, the known CV values and the station error text.
#pragma once

#include <cstdint>

#include "foundation/ptr_list.h"
#include "stations/command_station_driver.h"

constexpr int32_t lowestCv = 1;
constexpr int32_t highestCv = 1024;

// The constructed drivers, ordered by name without regard to case; none before the first driver.
PtrList* stationList();
// Adds and removes drivers; their base class calls these.
void registerStation(CommandStationDriver* driver);
void unregisterStation(CommandStationDriver* driver);

void restoreStation();
void saveAndShutdownStations();
void selectStation(int32_t index);
void reconnectStation();
int32_t selectedStationIndex();
CommandStationDriver* activeStation();
CommandStationDriver* stationAt(int32_t index);
int isStationOpen();

int32_t stationReadCv(int32_t cv, uint8_t* value);
int32_t stationWriteCv(int32_t cv, int value);
int32_t stationGetVersion(StationVersionInfo* info);
// The active driver's highest safe CV for writes, or noCvLimit (also without a driver).
int32_t stationHighestSafeCv();
int32_t knownCvValue(int32_t cv, uint8_t* value, int includeFileValues);
void rememberFileCvValue(int32_t cv, int value);
void forgetCvValue(int32_t cv);
// Forgets every value read from or written to the decoder, keeping a file's.
void forgetStationCvValues();

void setStationErrorText(const char* text);
const char* stationErrorText();
