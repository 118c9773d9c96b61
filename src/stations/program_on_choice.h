// The "Program on" group of Connection Setup: the programming track, or a locomotive or
// accessory decoder on the main by its address. What the boxes say becomes the target at once;
// an address that is none leaves the main chosen with nothing to write to, never the track.
#pragma once

#include <string>

#include "stations/main_track_target.h"

struct ProgramOnBoxes {
    ProgramOn chosen;
    std::string locomotiveAddress;
    bool longAddress;
    std::string accessoryNumber;
};

// The target the boxes give, and the note the group shows: where writes go, or why the
// address was refused.
MainTrackTarget programOnTarget(const ProgramOnBoxes& boxes, std::string* note);
