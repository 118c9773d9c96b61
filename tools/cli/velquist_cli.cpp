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
#include "files/file_access.h"
#include "foundation/windows_1252.h"
#include "stations/high_cv_warning.h"
#include "stations/main_track_target.h"
#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/station_advice.h"
#include "stations/station_finder.h"
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

// "CV 29, CV 1", or "none".
std::string cvNames(std::vector<std::pair<int, int>>::const_iterator first,
                    std::vector<std::pair<int, int>>::const_iterator last) {
    std::string names;
    for (auto entry = first; entry != last; ++entry)
        names += (names.empty() ? "CV " : ", CV ") + std::to_string(entry->first);
    return names.empty() ? "none" : names;
}

// A write of several CVs stops at the first that fails; the user must know where the decoder
// stands: what it holds now, and what was never sent.
int failedWrite(const CliRequest& request, size_t failed) {
    if (request.cvs.size() == 1)
        return fail();
    const char* text = stationErrorText();
    const auto& cvs = request.cvs;
    std::fprintf(stderr, "error: CV %d: %s\nwritten: %s\nfailed: CV %d\nnot tried: %s\n",
                 cvs[failed].first, text && *text ? text : "unknown station error",
                 cvNames(cvs.begin(), cvs.begin() + failed).c_str(), cvs[failed].first,
                 cvNames(cvs.begin() + failed + 1, cvs.end()).c_str());
    saveAndShutdownStations();
    return 1;
}

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
    const DecoderFileLoad load = loadDecoderFile(file, content, nullptr);
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
    if (const char* error = saveDecoderFile(file, content, nullptr, namesCvList(file))) {
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
    if (const char* error = saveFileBytes(request.output, {html.begin(), html.end()}, nullptr)) {
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

// A station whose programming track reaches other CVs above its limit: a command that would read
// or write one is refused whole, before anything is sent, unless the user allowed it.
bool refusesHighCvs(const CliRequest& request, const std::vector<int>& cvs, bool write) {
    if (request.allowHighCvs)
        return false;
    for (int cv : cvs) {
        if (needsHighCvConsent(cv)) {
            std::fprintf(stderr,
                         "error: %s Nothing was %s; give --allow-high-cvs before the "
                         "command to %s it anyway.\n",
                         (write ? highCvHazard(cv) : highCvReadHazard(cv)).c_str(),
                         write ? "written" : "read", write ? "write" : "read");
            saveAndShutdownStations();
            return true;
        }
    }
    return false;
}

// No one can answer a question here: the note says what the user must see to.
bool noteSingleTrack(const std::string& note) {
    std::fprintf(stderr, "note: %s\n", note.c_str());
    return true;
}

void noteUnopenedPorts(const StationSearchResult& result) {
    for (const std::string& port : result.cannotOpen)
        std::fprintf(stderr, "note: %s could not be opened: another program may be using it\n",
                     port.c_str());
}

int detect(const CliRequest& request) {
    const std::vector<std::string> ports =
        request.portGiven ? std::vector<std::string>{request.port} : serialPortNames();
    StationSearchCalls calls;
    calls.found = [](const FoundStation& station) {
        std::printf("%s\n", detectLine(station).c_str());
        std::fflush(stdout);
        return true;
    };
    const StationSearchResult result = findStations(ports, createSerialPort, calls);
    if (result.found.empty()) {
        std::fprintf(stderr, "%s\n", noStationFoundText(ports, result).c_str());
        return 1;
    }
    noteUnopenedPorts(result);
    return 0;
}

// --protocol auto: the station's version tells which command set programs it.
bool chooseProtocol(const CliRequest& request, bool& binary) {
    FoundStation station;
    const std::unique_ptr<SerialPort> port = createSerialPort();
    const char* speed = request.baudIndex ? "19200" : "9600";
    switch (probeStation(*port, request.port, request.baudIndex, &station)) {
    case StationProbe::answered:
        binary = driverTagFor(station) == NceBinaryDriver::tag;
        return true;
    case StationProbe::cannotOpen:
        std::fprintf(stderr, "error: Error opening port\n");
        return false;
    case StationProbe::silent:
        std::fprintf(stderr,
                     "error: no NCE station answered the version request on %s at %s baud; "
                     "velquist-cli detect looks on every port and speed\n",
                     request.port.c_str(), speed);
        return false;
    default:
        std::fprintf(stderr,
                     "error: something answered on %s at %s baud, but not as an NCE station "
                     "does; velquist-cli detect looks on every port and speed\n",
                     request.port.c_str(), speed);
        return false;
    }
}

// Each CV as it went out: the station took it, but nothing on the main can confirm the decoder
// holds it. The first refusal ends the run: the next CVs would go the same way.
int writeOnMain(const std::vector<std::pair<int, int>>& cvs) {
    for (const auto& [cv, value] : cvs) {
        if (stationWriteCv(cv, value) != 0)
            return fail();
        std::printf("%d=%d written on the main (not verified)\n", cv, value);
        std::fflush(stdout);
    }
    saveAndShutdownStations();
    return 0;
}

int run(const CliRequest& request) {
    DecoderFileContent restoring;
    const bool needsFile = request.command == CliRequest::Command::restore ||
                           request.command == CliRequest::Command::diff;
    if (needsFile && !loadFile(request.file, restoring))
        return 1;
    // Before the decoder is read, not after minutes of reading.
    const std::string& path = request.file;
    if (request.command == CliRequest::Command::backup &&
        (!canSaveDecoderFileAt(path) || isMarkedReadOnly(path))) {
        std::fprintf(stderr, "error: %s: %s\n", request.file.c_str(), cannotWriteFileText);
        return 1;
    }
    bool binary = request.binaryProtocol;
    if (request.autoProtocol && !chooseProtocol(request, binary))
        return 1;
    NceStationDriver* driver =
        binary ? static_cast<NceStationDriver*>(new NceBinaryDriver()) : new NceDriver();
    driver->setPortName(request.port.c_str());
    driver->setBaudIndex(request.baudIndex);
    if (request.readRetries >= 0)
        driver->setReadRetries(request.readRetries);
    driver->setAnswerWaitSeconds(request.answerWaitSeconds);
    setStationFrontEnd(StationFrontEnd::commandLine);
    setSingleTrackCheck(noteSingleTrack);
    selectStation(0);
    if (!isStationOpen())
        return fail();

    setMainTrackTarget(request.target);
    if (request.target.on != ProgramOn::track && request.command != CliRequest::Command::version) {
        std::vector<std::pair<int, int>> cvs = request.cvs;
        if (request.command == CliRequest::Command::restore) {
            cvs.clear();
            for (int cv : restoredCvs(restoring))
                cvs.push_back({cv, restoring.entries[cv - 1]});
        }
        return writeOnMain(cvs);
    }
    std::vector<int> reached;
    if (request.command == CliRequest::Command::restore)
        reached = restoredCvs(restoring);
    else
        for (const auto& entry : request.cvs)
            reached.push_back(entry.first);
    const bool writes = request.command == CliRequest::Command::restore ||
                        request.command == CliRequest::Command::write;
    if (refusesHighCvs(request, reached, writes))
        return 1;
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
    for (size_t i = 0; i < request.cvs.size(); ++i) {
        const auto [cv, value] = request.cvs[i];
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
                return failedWrite(request, i);
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
    if (request.command == CliRequest::Command::detect)
        return detect(request);
    return run(request);
}
