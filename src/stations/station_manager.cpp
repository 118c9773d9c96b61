#include "stations/station_manager.h"

#include <cstdio>
#include <string>

#include "foundation/message_box.h"
#include "foundation/settings_store.h"
#include "foundation/text_compare.h"
#include "stations/main_track_target.h"
#include "stations/station_drivers.h"
#include "stations/write_journal.h"

namespace {

struct CvValueCache {
    struct Entry {
        int32_t known;
        uint8_t value;
    };
    Entry entries[highestCv];
};

PtrList* drivers = nullptr;
int32_t selectedIndex = -1;
int openFlag = 0;
bool hasErrorText = false;
std::string errorText;
std::string closedReason;
ReadRetryObserver retryObserver = nullptr;
void* retryContext = nullptr;
CvValueCache stationValues;
CvValueCache fileValues;
// What the journal gives as a CV's value before a write: the value last read from or written to
// it through this connection. Clear, Write All and a file load forget stationValues to make pages
// read or write again; the decoder still holds these.
CvValueCache journalValues;

constexpr size_t configurationCapacity = 250;

int compareDriverNames(const void* a, const void* b) {
    return compareTextNoCase(static_cast<const CommandStationDriver*>(a)->name(),
                             static_cast<const CommandStationDriver*>(b)->name());
}

bool isValidCv(int32_t cv) {
    return cv >= lowestCv && cv <= highestCv;
}

// Callers pass fixed or checked CV numbers; a stray one must still never index past the tables.
bool refuseInvalidCv(int32_t cv) {
    if (isValidCv(cv))
        return false;
    char text[80];
    std::snprintf(text, sizeof text, "Invalid CV number %ld (CVs are 1 to 1024)",
                  static_cast<long>(cv));
    setStationErrorText(text);
    return true;
}

CvValueCache::Entry& entry(CvValueCache& cache, int32_t cv) {
    return cache.entries[cv - 1];
}

void remember(CvValueCache& cache, int32_t cv, int value) {
    entry(cache, cv) = {1, static_cast<uint8_t>(value & 0xFF)};
}

// Every CV command starts alike: the CV is no longer known, and without a driver the message
// says why nothing happened. Returns the driver to use, or none.
CommandStationDriver* prepareCvCommand(int32_t cv) {
    if (refuseInvalidCv(cv))
        return nullptr;
    setStationErrorText("No Command Station setup");
    entry(stationValues, cv) = {0, 0};
    return activeStation();
}

// The stored choice of station. A value of the wrong type or size counts as missing, because an
// older or hand-edited registry may hold anything under these names.
void readStoredStation(StationTag* tag, char* configuration) {
    SettingsStore& store = settingsStore();
    bool existed = false;
    if (!store.openKey("CommandStation", &existed))
        return;
    if (existed) {
        uint32_t type = 0;
        uint32_t size = sizeof(StationTag);
        StationTag stored = 0;
        if (store.readValue("CmdSt_IDX", &type, &stored, &size) && type == settingTypeDword &&
            size == sizeof(StationTag))
            *tag = stored;
        size = configurationCapacity;
        if (!store.readValue("CmdSt_CFG", &type, configuration, &size) || type != settingTypeText)
            size = 0;
        // A stored text need not carry its NUL; the buffer has room for one more.
        configuration[size] = '\0';
    }
    store.closeKey();
}

// Opens the driver and notes why it failed, for every action tried until the next attempt.
int openStation(CommandStationDriver* driver, const char* configuration) {
    const int opened = driver->open(configuration) == 0 ? 1 : 0;
    const char* text = stationErrorText();
    closedReason = opened ? "" : text && *text ? text : "Error opening connection";
    return opened;
}

} // namespace

PtrList* stationList() {
    return drivers;
}

void registerStation(CommandStationDriver* driver) {
    if (!drivers) {
        drivers = new PtrList;
        drivers->setCompare(compareDriverNames);
    }
    drivers->pushBack(driver);
}

void unregisterStation(CommandStationDriver* driver) {
    if (drivers)
        drivers->remove(driver);
}

void restoreStation() {
    char configuration[configurationCapacity + 1] = {};
    StationTag storedTag = 0;

    constructStationDrivers();
    readStoredStation(&storedTag, configuration);

    int32_t index = 0;
    for (int32_t i = 0; CommandStationDriver* driver = stationAt(i); ++i) {
        if (driver->getTag() == storedTag) {
            index = i;
            break;
        }
    }

    CommandStationDriver* driver = stationAt(index);
    if (driver) {
        selectedIndex = index;
        bool useStored = driver->getTag() == storedTag && configuration[0] != '\0';
        openFlag = openStation(driver, useStored ? configuration : nullptr);
        if (openFlag)
            return;
    }
    const char* text = stationErrorText();
    showMessageBox(nullptr, driver && text && *text ? text : "Error opening connection", "Error");
}

void storeStationChoice() {
    std::string configuration;
    StationTag tag = 0;
    if (CommandStationDriver* driver = activeStation()) {
        configuration = driver->getConfig();
        tag = driver->getTag();
    }

    SettingsStore& store = settingsStore();
    if (store.openKey("CommandStation", nullptr)) {
        if (store.writeValue("CmdSt_IDX", settingTypeDword, &tag, sizeof tag))
            store.writeValue("CmdSt_CFG", settingTypeText, configuration.c_str(),
                             static_cast<uint32_t>(configuration.size() + 1));
        store.closeKey();
    }
}

void saveAndShutdownStations() {
    storeStationChoice();
    selectStation(-1);
    if (drivers) {
        while (CommandStationDriver* driver = stationAt(0))
            delete driver;
        delete drivers;
        drivers = nullptr;
    }
}

void selectStation(int32_t index) {
    if (index == selectedIndex)
        return;
    CommandStationDriver* current = activeStation();
    if (current && openFlag == 1)
        current->close();
    selectedIndex = -1;
    openFlag = 0;
    if (index == -1)
        return;
    CommandStationDriver* driver = stationAt(index);
    if (!driver)
        return;
    selectedIndex = index;
    openFlag = openStation(driver, nullptr);
}

void reconnectStation() {
    int32_t index = selectedIndex;
    selectStation(-1);
    selectStation(index);
}

int32_t selectedStationIndex() {
    return selectedIndex;
}

CommandStationDriver* activeStation() {
    return selectedIndex < 0 ? nullptr : stationAt(selectedIndex);
}

CommandStationDriver* stationAt(int32_t index) {
    if (!drivers || index < 0)
        return nullptr;
    PtrListIterator* iterator = drivers->iterate();
    void* element = iterator->first();
    for (int32_t position = 0; element && position < index; ++position)
        element = iterator->next();
    delete iterator;
    return static_cast<CommandStationDriver*>(element);
}

int isStationOpen() {
    return openFlag;
}

int32_t stationReadCv(int32_t cv, uint8_t* value) {
    CommandStationDriver* driver = prepareCvCommand(cv);
    if (!driver)
        return 1;
    uint8_t local = 0;
    uint8_t* out = value ? value : &local;
    if (programmingOnMain()) {
        *out = 0;
        setStationErrorText(nothingReadBackOnMain);
        return 1;
    }
    const int tries = 1 + driver->readRetries();
    int result = driver->readCv(cv, out);
    for (int tryNumber = 2; result == decoderNoAcknowledge && tryNumber <= tries; ++tryNumber) {
        if (retryObserver)
            retryObserver(retryContext, cv, tryNumber, tries);
        result = driver->readCv(cv, out);
    }
    if (result == 0) {
        remember(stationValues, cv, *out);
        remember(journalValues, cv, *out);
    }
    return result;
}

int32_t stationWriteCv(int32_t cv, int value) {
    CommandStationDriver* driver = prepareCvCommand(cv);
    if (!driver)
        return 1;
    if (programmingOnMain() && mainTrackTarget().address == 0) {
        setStationErrorText("The main is chosen without a valid address: give one on Connection "
                            "Setup");
        return 1;
    }
    // Journaled around the command: the value before is what this connection last knew of the
    // decoder, never a file's.
    const CvValueCache::Entry known = entry(journalValues, cv);
    JournalLine line = journalWriteStarting(cv, known.known ? known.value : -1, value);
    // On the main the value counts as known as written: nothing can read it back.
    int result = programmingOnMain() ? driver->writeCvOnMain(mainTrackTarget(), cv, value)
                                     : driver->writeCv(cv, value);
    journalWriteEnded(line, result, stationErrorText());
    // A failed write may have reached the decoder all the same.
    entry(journalValues, cv) = {0, 0};
    if (result == 0) {
        remember(stationValues, cv, value);
        remember(journalValues, cv, value);
    }
    return result;
}

int32_t stationGetVersion(StationVersionInfo* info) {
    setStationErrorText("No Command Station setup");
    CommandStationDriver* driver = activeStation();
    return driver ? driver->getVersion(info) : 1;
}

void setReadRetryObserver(ReadRetryObserver observer, void* context) {
    retryObserver = observer;
    retryContext = context;
}

void stationIdle() {
    if (CommandStationDriver* driver = activeStation())
        if (openFlag)
            driver->idle();
}

const char* stationClosedReason() {
    return closedReason.empty() ? "No connection to the command station" : closedReason.c_str();
}

int32_t stationHighestSafeCv() {
    CommandStationDriver* driver = activeStation();
    return driver ? driver->highestSafeCv() : noCvLimit;
}

int32_t knownCvValue(int32_t cv, uint8_t* value, int includeFileValues) {
    setStationErrorText(nullptr);
    *value = 0;
    if (!isValidCv(cv))
        return 1;
    if (entry(stationValues, cv).known) {
        *value = entry(stationValues, cv).value;
        return 0;
    }
    if (includeFileValues == 1 && entry(fileValues, cv).known) {
        *value = entry(fileValues, cv).value;
        return 0;
    }
    return 1;
}

void rememberFileCvValue(int32_t cv, int value) {
    setStationErrorText(nullptr);
    if (isValidCv(cv))
        remember(fileValues, cv, value);
}

void forgetCvValue(int32_t cv) {
    if (!isValidCv(cv))
        return;
    entry(stationValues, cv) = {0, 0};
    entry(fileValues, cv) = {0, 0};
}

void forgetStationCvValues() {
    stationValues = CvValueCache();
    journalValues = CvValueCache();
}

void setStationErrorText(const char* text) {
    hasErrorText = text != nullptr;
    if (text)
        errorText = text;
    else
        std::string().swap(errorText); // no text keeps no memory of the longest one
}

const char* stationErrorText() {
    return hasErrorText ? errorText.c_str() : nullptr;
}
