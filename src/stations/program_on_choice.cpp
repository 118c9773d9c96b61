#include "stations/program_on_choice.h"

MainTrackTarget programOnTarget(const ProgramOnBoxes& boxes, std::string* note) {
    MainTrackTarget target;
    std::string error;
    bool taken = true;
    if (boxes.chosen == ProgramOn::locomotive)
        taken = parseLocomotiveAddress(boxes.locomotiveAddress, boxes.longAddress, target, error);
    else if (boxes.chosen == ProgramOn::accessory)
        taken = parseAccessoryNumber(boxes.accessoryNumber, target, error);
    if (!taken) {
        target = {boxes.chosen, 0, false};
        *note = error + ". Nothing is written until the address is one.";
    } else if (target.on == ProgramOn::track) {
        *note = "";
    } else {
        *note = "Writes go to " + mainTrackTargetName(target) +
                " on the main. Nothing can be read back there.";
    }
    return target;
}
