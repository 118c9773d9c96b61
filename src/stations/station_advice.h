// What the station drivers tell the user to do, in the words of the front end in use: the program
// names its pages and buttons, the command line its options. Also the one question a driver asks
// by itself, before it programs on a station with a single track output.
#pragma once

#include <string>

#include "stations/nce_station_table.h"

enum class StationFrontEnd { program, commandLine };

void setStationFrontEnd(StationFrontEnd frontEnd);
StationFrontEnd stationFrontEnd();

// "press Find Station on Connection Setup", or the command line's way to find a station.
std::string findStationAdvice();

// Why the binary driver cannot program this station's programming track, or empty when it can:
// it programs through the ASCII driver, or it has no programming track at all.
std::string binaryTrackRefusal(NceVersion version);

// Asked once per connection before the first programming command on a station that programs
// every locomotive on its track: true to go on. The program asks Yes/No (Yes the default); the
// command line gives a note on standard error and goes on.
using SingleTrackCheck = bool (*)(const std::string& note);
SingleTrackCheck setSingleTrackCheck(SingleTrackCheck check);
bool confirmSingleTrackProgramming();

extern const char singleTrackNote[];
extern const char singleTrackCaption[];
