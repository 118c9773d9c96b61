#include "decoder_backup.h"

#include "files/decoder_file_transfer.h"
#include "files/file_access.h"
#include "model/cv_register_table.h"
#include "stations/high_cv_warning.h"
#include "stations/station_manager.h"

namespace {

// The result of the last read or write.
int lastResult = 0;

int note(int result) {
    lastResult = result;
    return result;
}

// The station never answered or the line is gone: every further command would cost another full
// wait. An answer without a value ("NO DATA RETURNED") fails that CV alone.
bool stationStopped() {
    const char* text = stationErrorText();
    return lastResult == stationNoAnswer || (text && std::string(text) == "ERROR SENDING DATA");
}

std::string failureReason() {
    const char* text = stationErrorText();
    return text && *text ? text : "unknown station error";
}

// Runs step for each CV until the station stops; the rest are reported not done.
std::vector<CvProblem> eachCv(const std::vector<int>& cvs, const CvProgress& progress,
                              const char* notDone,
                              const std::function<bool(int cv, std::string& reason)>& step) {
    std::vector<CvProblem> problems;
    lastResult = 0;
    for (size_t i = 0; i < cvs.size(); ++i) {
        if (progress)
            progress(i, cvs.size(), cvs[i]);
        std::string reason;
        if (step(cvs[i], reason))
            continue;
        problems.push_back({cvs[i], reason});
        if (!stationStopped())
            continue;
        for (size_t rest = i + 1; rest < cvs.size(); ++rest)
            problems.push_back({cvs[rest], notDone});
        break;
    }
    return problems;
}

} // namespace

std::vector<CvProblem> backupCvs(const std::vector<int>& cvs, DecoderFileContent& content,
                                 const CvProgress& progress) {
    return eachCv(cvs, progress, "not read: the station stopped answering",
                  [&](int cv, std::string& reason) {
                      uint8_t value = 0;
                      content.entries[cv - 1] = unknownCvEntry;
                      if (note(stationReadCv(cv, &value)) != 0) {
                          reason = failureReason();
                          return false;
                      }
                      content.entries[cv - 1] = value;
                      return true;
                  });
}

bool canSaveDecoderFileAt(const std::string& path) {
    const std::string saving = savingPathFor(path);
    std::unique_ptr<OutputFile> file = fileAccess().create(saving);
    if (!file)
        return false;
    const bool closed = file->close();
    file.reset();
    fileAccess().remove(saving);
    return closed;
}

std::vector<int> restoredCvs(const DecoderFileContent& content) {
    std::vector<int> cvs;
    for (int cv = 1; cv <= decoderFileCvCount; ++cv)
        if (content.entries[cv - 1] != unknownCvEntry && !cvIsReadOnly(cv))
            cvs.push_back(cv);
    return cvs;
}

std::vector<CvProblem> restoreCvs(const DecoderFileContent& content, bool verify, bool readFirst,
                                  const CvProgress& progress, size_t& written,
                                  const CvWritten& onWritten) {
    written = 0;
    return eachCv(restoredCvs(content), progress, "not written: the station stopped answering",
                  [&](int cv, std::string& reason) {
                      const int value = content.entries[cv - 1];
                      uint8_t was = 0;
                      // Above the station's limit a read would reach another CV: its value would be
                      // no "before".
                      const bool known =
                          readFirst && !needsHighCvConsent(cv) && stationReadCv(cv, &was) == 0;
                      if (note(stationWriteCv(cv, value)) != 0) {
                          reason = failureReason();
                          return false;
                      }
                      ++written;
                      if (onWritten)
                          onWritten(cv, value, known ? was : -1);
                      uint8_t read = 0;
                      if (!verify)
                          return true;
                      if (note(stationReadCv(cv, &read)) != 0) {
                          reason = "written, but reading it back failed: " + failureReason();
                          return false;
                      }
                      if (read == value)
                          return true;
                      reason =
                          "wrote " + std::to_string(value) + ", read back " + std::to_string(read);
                      return false;
                  });
}
