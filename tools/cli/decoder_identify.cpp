// identify and reset: what the decoder is, and putting it back to its maker's settings.
#include <cstdio>

#include "decoder_backup.h"
#include "decoder_commands.h"
#include "files/decoder_file_transfer.h"
#include "foundation/windows_1252.h"
#include "model/manufacturer_table.h"
#include "stations/factory_reset.h"
#include "stations/high_cv_warning.h"
#include "stations/station_manager.h"
#include "stations/write_journal.h"

namespace {

constexpr int tcsId = 153;
constexpr int zimoId = 145;
constexpr int soundTraxxId = 141;
constexpr int esuId = 151;

// A station with a CV limit would reach other CVs above it, reading as much as writing.
bool withinLimit(int cv) {
    return !needsHighCvConsent(cv);
}

bool readCv(int cv, int& value) {
    uint8_t read = 0;
    if (!withinLimit(cv) || stationReadCv(cv, &read) != 0)
        return false;
    value = read;
    return true;
}

void noteNotRead(int cv, const char* what) {
    const char* words = stationErrorText();
    std::fprintf(stderr, "note: %s not read: CV %d: %s\n", what, cv,
                 withinLimit(cv) ? (words && *words ? words : "unknown station error")
                                 : "above the station's CV limit");
}

// The maker's own product ID where the maker tells where it is kept.
void printProduct(int manufacturer, int version) {
    int low = 0;
    int high = 0;
    if ((manufacturer == tcsId && readCv(249, low)) || (manufacturer == zimoId && readCv(250, low)))
        std::printf("product: %d (CV %d)\n", low, manufacturer == tcsId ? 249 : 250);
    if (manufacturer == soundTraxxId && (version == 70 || version == 71) && readCv(253, low) &&
        readCv(256, high))
        std::printf("product: %d (CV 256 = %d, CV 253 = %d)\n", high * 256 + low, high, low);
    // ESU shows its product ID in CV 261 to 264 once CV 31 and CV 32 select that page.
    if (manufacturer != esuId || !withinLimit(264) || stationWriteCv(31, 0) != 0 ||
        stationWriteCv(32, 255) != 0)
        return;
    unsigned long product = 0;
    for (int cv = 264; cv >= 261; --cv) {
        int byte = 0;
        if (!readCv(cv, byte))
            return;
        product = product * 256 + static_cast<unsigned long>(byte);
    }
    std::printf("product: %lu (CV 261 to 264)\n", product);
}

} // namespace

int identifyCommand() {
    JournalAction action("velquist-cli identify");
    int manufacturer = 0;
    if (!readCv(8, manufacturer))
        return stationFailure();
    std::printf("manufacturer: %s (%d)\n",
                utf8FromWindows1252(manufacturerName(manufacturer)).c_str(), manufacturer);
    if (manufacturer == 0 || manufacturer == 255)
        std::fprintf(stderr,
                     "note: CV 8 = %d is no maker's ID; the decoder may not have answered "
                     "as it should\n",
                     manufacturer);
    int version = -1;
    if (readCv(7, version))
        std::printf("version: %d\n", version);
    else
        noteNotRead(7, "version");
    int configuration = 0;
    int high = 0;
    int low = 0;
    if (!readCv(29, configuration))
        noteNotRead(29, "address");
    else if ((configuration & 0x20) == 0 && readCv(1, low))
        std::printf("address: %d (short)\n", low);
    else if ((configuration & 0x20) != 0 && readCv(17, high) && readCv(18, low))
        std::printf("address: %d (long)\n", (high & 0x3F) * 256 + low);
    else
        noteNotRead((configuration & 0x20) ? 17 : 1, "address");
    printProduct(manufacturer, version);
    return 0;
}

int resetCommand(const CliRequest& request) {
    int manufacturer = 0;
    if (!readCv(8, manufacturer))
        return stationFailure();
    const std::vector<CvAssignment> writes = factoryResetWrites(manufacturer);
    if (!request.confirmed) {
        std::printf("%s\nNothing was written: give --yes to reset the decoder.\n",
                    utf8FromWindows1252(factoryResetQuestion(manufacturer, writes)).c_str());
        return 2;
    }
    if (!request.file.empty()) {
        DecoderFileContent content;
        const std::vector<CvProblem> problems = backupCvs(defaultBackupCvs(), content, nullptr);
        for (const CvProblem& problem : problems)
            std::fprintf(stderr, "CV %d: %s\n", problem.cv, problem.reason.c_str());
        const char* error = problems.empty() ? saveDecoderFile(request.file, content, nullptr,
                                                               namesCvList(request.file))
                                             : "not every CV could be read";
        if (error) {
            std::fprintf(stderr, "error: %s: %s; nothing was reset\n", request.file.c_str(), error);
            return 1;
        }
        std::printf("wrote %s: %zu CVs\n", request.file.c_str(), defaultBackupCvs().size());
    }
    if (runFactoryReset(writes) != 0)
        return stationFailure();
    std::printf("reset: wrote %s\n%s\n", assignmentsText(writes).c_str(), factoryResetDoneText);
    return 0;
}
