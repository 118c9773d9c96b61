// Keeps the simulated decoder's CVs across runs in a text file of "CV=VALUE" lines.
#pragma once

#include <string>

class SimulatedStation;

// Loads every well-formed line into the station; other lines are skipped. A missing file is not
// an error (nothing is loaded). On failure returns false and describes it in error.
bool loadStateFile(const std::string& path, SimulatedStation& station, std::string& error);

// Writes the whole table to a temporary file and renames it over path, so a kill at any moment
// leaves either the old file or the new one.
bool saveStateFile(const std::string& path, const SimulatedStation& station, std::string& error);
