#include "stations/factory_reset.h"

#include "model/manufacturer_table.h"
#include "stations/station_manager.h"
#include "stations/write_journal.h"

const char factoryResetCaption[] = "Factory Reset";
const char factoryResetDoneText[] = "Switch the track power off and on, then Read.";

namespace {

struct MakerReset {
    int manufacturerId;
    std::vector<CvAssignment> writes;
};

// Resets are not standardised; these makers publish their own.
const MakerReset makerResets[] = {
    {11, {{30, 2}}},                          // NCE
    {99, {{8, 33}}},                          // Lenz
    {143, {{125, 1}}},                        // MRC
    {113, {{49, 128}, {50, 255}, {56, 113}}}, // QSI
};

} // namespace

std::vector<CvAssignment> factoryResetWrites(int manufacturerId) {
    for (const MakerReset& reset : makerResets)
        if (reset.manufacturerId == (manufacturerId & 0xFF))
            return reset.writes;
    return {{8, 8}};
}

std::string assignmentsText(const std::vector<CvAssignment>& writes) {
    std::string text;
    for (const CvAssignment& write : writes)
        text += (text.empty() ? "CV " : ", CV ") + std::to_string(write.cv) + " = " +
                std::to_string(write.value);
    return text;
}

std::string factoryResetQuestion(int manufacturerId, const std::vector<CvAssignment>& writes) {
    return "Reset the " + std::string(manufacturerName(manufacturerId)) + " decoder (ID " +
           std::to_string(manufacturerId & 0xFF) + ") to its factory settings by writing " +
           assignmentsText(writes) +
           "?\n\nEvery setting returns to the maker's, and the address to 3.";
}

int32_t runFactoryReset(const std::vector<CvAssignment>& writes) {
    JournalAction reset(factoryResetCaption, journalResetKind);
    for (const CvAssignment& write : writes)
        if (int32_t result = stationWriteCv(write.cv, write.value))
            return result;
    return 0;
}
