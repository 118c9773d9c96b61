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
// Stores the active station and its configuration, for the next start.
void storeStationChoice();
void saveAndShutdownStations();
void selectStation(int32_t index);
void reconnectStation();
int32_t selectedStationIndex();
CommandStationDriver* activeStation();
CommandStationDriver* stationAt(int32_t index);
int isStationOpen();

// A read the decoder did not acknowledge is tried again up to the driver's read retries; never
// after a station that did not answer at all. Returns the driver's result (0 when read).
int32_t stationReadCv(int32_t cv, uint8_t* value);
// Told before each further try of a read: try counts from 2, of tries in all.
using ReadRetryObserver = void (*)(void* context, int32_t cv, int tryNumber, int tries);
// Installs an observer with its context; none: nobody is told.
void setReadRetryObserver(ReadRetryObserver observer, void* context);
// Lets the active driver leave programming mode when it has been idle long enough.
void stationIdle();
// Why no command can reach the station: the failure of the last connection attempt, which later
// successes of other calls do not clear; a fixed text when it left none.
const char* stationClosedReason();
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
