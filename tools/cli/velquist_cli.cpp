// velquist-cli: reads and writes decoder CVs, asks for the station's version, backs decoders up
// into decoder files or CV lists and back, converts between the kinds of file and prints
// decoder sheets, from a shell, through the same station manager, driver and files as the
// program.
#include <cstdio>
#include <string>

#include "cli_arguments.h"
#include "cli_platform.h"
#include "decoder_backup.h"
#include "decoder_commands.h"
#include "files/decoder_file_transfer.h"
#include "files/decoder_sheet.h"
#include "foundation/windows_1252.h"
#include "stations/high_cv_warning.h"
#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/station_manager.h"
#include "stations/write_journal.h"

namespace {

int fail() {
    const char* text = stationErrorText();
    std::fprintf(stderr, "error: %s\n", text && *text ? text : "unknown station error");
    saveAndShutdownStations();
    return 1;
}

// A progress line on standard error, only where someone watches it.
class ProgressLine {
  public:
    explicit ProgressLine(const char* verb) : shown_(progressLineShown()), verb_(verb) {}
    ~ProgressLine() { clear(); }
    CvProgress callback() {
        if (!shown_)
            return nullptr;
        return [this](size_t done, size_t total, int cv) {
            std::fprintf(stderr, "\r%s CV %d (%zu of %zu)\033[K", verb_, cv, done + 1, total);
        };
    }
    void clear() {
        if (shown_)
            std::fprintf(stderr, "\r\033[K");
        shown_ = false;
    }

  private:
    bool shown_;
    const char* verb_;
};

void reportProblems(const std::vector<CvProblem>& problems) {
    for (const CvProblem& problem : problems)
        std::fprintf(stderr, "CV %d: %s\n", problem.cv, problem.reason.c_str());
}

// Prints a file's text in UTF-8, continuation lines under the first so every line keeps its
// label.
void printText(const char* label, const std::string& text) {
    std::string shown = std::string(label) + ": ";
    const std::string indent(shown.size(), ' ');
    for (char c : utf8FromWindows1252(text)) {
        if (c == '\r')
            continue;
        shown += c;
        if (c == '\n')
            shown += indent;
    }
    std::printf("%s\n", shown.c_str());
}

bool loadFile(const std::string& file, DecoderFileContent& content) {
    const DecoderFileLoad load = loadDecoderFile(systemPath(file), content, nullptr);
    if (!load.error.empty()) {
        std::fprintf(stderr, "error: %s: %s\n", file.c_str(), load.error.c_str());
        return false;
    }
    if (load.skippedCvEntries > 0)
        std::fprintf(stderr, "note: %s: %s\n", file.c_str(),
                     skippedEntriesText(load.skippedCvEntries).c_str());
    return true;
}

// A decoder file, or a CV list when the name ends in .csv.
bool saveFile(const std::string& file, const DecoderFileContent& content) {
    if (const char* error =
            saveDecoderFile(systemPath(file), content, nullptr, namesCvList(file))) {
        std::fprintf(stderr, "error: %s: %s\n", file.c_str(), error);
        return false;
    }
    return true;
}

size_t knownCount(const DecoderFileContent& content) {
    size_t count = 0;
    for (int32_t entry : content.entries)
        count += entry != unknownCvEntry;
    return count;
}

int convert(const CliRequest& request) {
    DecoderFileContent content;
    if (!loadFile(request.file, content) || !saveFile(request.output, content))
        return 1;
    std::printf("wrote %s: %zu CVs\n", request.output.c_str(), knownCount(content));
    return 0;
}

int sheet(const CliRequest& request) {
    DecoderFileContent content;
    if (!loadFile(request.file, content))
        return 1;
    const std::string html = decoderSheetHtml(content);
    if (request.output.empty()) {
        std::fwrite(html.data(), 1, html.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (const char* error =
            saveFileBytes(systemPath(request.output), {html.begin(), html.end()}, nullptr)) {
        std::fprintf(stderr, "error: %s: %s\n", request.output.c_str(), error);
        return 1;
    }
    return 0;
}

int show(const std::string& file) {
    DecoderFileContent content;
    if (!loadFile(file, content))
        return 1;
    printText("Decoder Name", content.texts[decoderNameText]);
    printText("Owner", content.texts[ownerText]);
    printText("Notes", content.texts[notesText]);
    for (int cv = 1; cv <= decoderFileCvCount; ++cv)
        if (content.entries[cv - 1] != unknownCvEntry)
            std::printf("%d=%d\n", cv, content.entries[cv - 1]);
    return 0;
}

int backup(const CliRequest& request) {
    DecoderFileContent content;
    for (int i = 0; i < decoderTextCount; ++i)
        content.texts[i] = request.texts[i];
    std::vector<int> cvs;
    for (const auto& entry : request.cvs)
        cvs.push_back(entry.first);
    ProgressLine line("reading");
    const std::vector<CvProblem> problems = backupCvs(cvs, content, line.callback());
    line.clear();
    saveAndShutdownStations();
    reportProblems(problems);
    if (problems.size() == cvs.size()) {
        // Nothing learnt: a file that knows nothing must not take the place of a good one.
        std::fprintf(stderr, "error: %s: not written: none of the %zu CVs could be read\n",
                     request.file.c_str(), cvs.size());
        return 1;
    }
    if (!saveFile(request.file, content))
        return 1;
    if (problems.empty()) {
        std::printf("wrote %s: %zu CVs\n", request.file.c_str(), cvs.size());
        return 0;
    }
    std::fprintf(stderr, "wrote %s: %zu of %zu CVs could not be read and are unknown in it\n",
                 request.file.c_str(), problems.size(), cvs.size());
    return 1;
}

int restore(const CliRequest& request, const DecoderFileContent& content) {
    size_t written = 0;
    ProgressLine line(request.verify ? "writing and verifying" : "writing");
    std::vector<std::string> lines;
    std::vector<CvProblem> problems;
    {
        JournalAction action("velquist-cli restore");
        problems = restoreCvs(
            content, request.verify, request.readFirst, line.callback(), written,
            [&](int cv, int value, int was) { lines.push_back(writtenText(cv, value, was)); });
    }
    line.clear();
    for (const std::string& text : lines)
        std::printf("%s\n", text.c_str());
    saveAndShutdownStations();
    reportProblems(problems);
    std::printf("wrote %zu CVs\n", written);
    return problems.empty() ? 0 : 1;
}

// A station whose programming track writes some CVs to others: a command that would write one is
// refused whole, before anything is written, unless the user allowed it.
bool refusesHighCvs(const CliRequest& request, const std::vector<int>& cvs) {
    if (request.allowHighCvs)
        return false;
    for (int cv : cvs) {
        if (needsHighCvConsent(cv)) {
            std::fprintf(stderr,
                         "error: %s Nothing was written; give --allow-high-cvs before the "
                         "command to write it anyway.\n",
                         highCvHazard(cv).c_str());
            saveAndShutdownStations();
            return true;
        }
    }
    return false;
}

int run(const CliRequest& request) {
    DecoderFileContent restoring;
    const bool needsFile = request.command == CliRequest::Command::restore ||
                           request.command == CliRequest::Command::diff;
    if (needsFile && !loadFile(request.file, restoring))
        return 1;
    // Before the decoder is read, not after minutes of reading.
    const std::string path = systemPath(request.file);
    if (request.command == CliRequest::Command::backup &&
        (!canSaveDecoderFileAt(path) || isMarkedReadOnly(path))) {
        std::fprintf(stderr, "error: %s: %s\n", request.file.c_str(), cannotWriteFileText);
        return 1;
    }
    NceStationDriver* driver = request.binaryProtocol
                                   ? static_cast<NceStationDriver*>(new NceBinaryDriver())
                                   : new NceDriver();
    driver->setPortName(request.port.c_str());
    driver->setBaudIndex(request.baudIndex);
    selectStation(0);
    if (!isStationOpen())
        return fail();

    if (request.command == CliRequest::Command::backup)
        return backup(request);
    int status = -1;
    if (request.command == CliRequest::Command::identify)
        status = identifyCommand();
    else if (request.command == CliRequest::Command::reset)
        status = resetCommand(request);
    else if (request.command == CliRequest::Command::undo)
        status = undoCommand();
    else if (request.command == CliRequest::Command::diff)
        status = diffCommand(request, restoring);
    if (status >= 0) {
        saveAndShutdownStations();
        return status;
    }
    std::vector<int> written;
    if (request.command == CliRequest::Command::restore)
        written = restoredCvs(restoring);
    else if (request.command == CliRequest::Command::write)
        for (const auto& entry : request.cvs)
            written.push_back(entry.first);
    if (refusesHighCvs(request, written))
        return 1;
    if (request.command == CliRequest::Command::restore)
        return restore(request, restoring);
    if (request.command == CliRequest::Command::version) {
        StationVersionInfo info{};
        if (stationGetVersion(&info) != 0)
            return fail();
        std::string text = info.text;
        text.erase(text.find_last_not_of("\r\n") + 1);
        std::printf("%s\n", text.c_str());
    }
    JournalAction writing("velquist-cli write");
    for (const auto& [cv, value] : request.cvs) {
        uint8_t read = 0;
        if (request.command == CliRequest::Command::read) {
            if (stationReadCv(cv, &read) != 0)
                return fail();
            std::printf("%d=%d\n", cv, read);
        } else {
            // Read first, so the journal and the user know what the write replaces.
            const bool known =
                request.readFirst && !needsHighCvConsent(cv) && stationReadCv(cv, &read) == 0;
            if (stationWriteCv(cv, value) != 0)
                return fail();
            std::printf("%s\n", writtenText(cv, value, known ? read : -1).c_str());
        }
        std::fflush(stdout);
    }
    saveAndShutdownStations();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = utf8Arguments(argc, argv);
    std::vector<const char*> words;
    for (const std::string& argument : arguments)
        words.push_back(argument.c_str());
    CliRequest request;
    std::string error;
    if (!parseCliArguments(static_cast<int>(words.size()), words.data(), request, error)) {
        std::fprintf(stderr, "velquist-cli: %s; %s\n", error.c_str(), cliUsage);
        return 2;
    }
    if (request.command == CliRequest::Command::help) {
        std::printf("%s", cliHelp);
        return 0;
    }
    if (request.command == CliRequest::Command::show)
        return show(request.file);
    if (request.command == CliRequest::Command::convert)
        return convert(request);
    if (request.command == CliRequest::Command::sheet)
        return sheet(request);
    if (request.command == CliRequest::Command::history)
        return historyCommand(request);
    return run(request);
}
