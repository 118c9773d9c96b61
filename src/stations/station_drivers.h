// Which drivers the program has. Start-up constructs them; tests install their own set.
#pragma once

using StationConstructor = void (*)();

// Constructs every driver the program offers (each registers itself in the station list).
void constructStationDrivers();
// Replaces what constructStationDrivers does (none restores the program's drivers); returns the
// previous constructor.
StationConstructor setStationConstructor(StationConstructor constructor);
