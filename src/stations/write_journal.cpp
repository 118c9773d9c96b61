#include "stations/write_journal.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <random>

#include "files/journal_storage.h"
#include "stations/main_track_target.h"
#include "stations/station_manager.h"

const char journalHeader[] = "time,action,kind,undoes,source,station,port,place,cv,before,value,"
                             "result\n";
const char journalSending[] = "sending";
const char journalDone[] = "done";
const char journalLeftAlone[] = "left alone: value before not known";
const char journalNotVerifiedOnMain[] = "not verified on the main";
const char journalWriteKind[] = "write";
const char journalResetKind[] = "reset";
const char journalUndoKind[] = "undo";
const char programmingTrackPlace[] = "programming track";

namespace {

constexpr size_t fieldCount = 12;

struct OpenAction {
    std::string id;
    std::string kind;
    std::string undoes;
    std::string source;
};

int openDepth = 0;
OpenAction openAction;
bool problemTold = false;

void tellOnStderr(const std::string& text) {
    std::fprintf(stderr, "note: %s\n", text.c_str());
}

JournalProblemHandler problemHandler = tellOnStderr;

std::string nowText() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", std::gmtime(&seconds));
    char full[48];
    std::snprintf(full, sizeof full, "%s.%03dZ", text, static_cast<int>(millis));
    return full;
}

// Unique across the programs that share the journal: the time and a random part.
std::string newActionId() {
    static std::mt19937 random(std::random_device{}());
    using namespace std::chrono;
    char id[40];
    std::snprintf(id, sizeof id, "%llx-%06x",
                  static_cast<unsigned long long>(
                      duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count()),
                  static_cast<unsigned>(random() & 0xFFFFFF));
    return id;
}

std::string quoted(const std::string& field) {
    std::string text;
    bool quote = false;
    for (char c : field) {
        // A line is one record: a line break inside a station's words becomes a space.
        const char shown = c == '\r' || c == '\n' ? ' ' : c;
        quote = quote || shown == ',' || shown == '"';
        text += shown;
        if (shown == '"')
            text += '"';
    }
    return quote ? '"' + text + '"' : text;
}

bool splitFields(const std::string& text, std::vector<std::string>& fields) {
    fields.assign(1, std::string());
    bool inQuotes = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inQuotes && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"' && (inQuotes || fields.back().empty())) {
            inQuotes = !inQuotes;
        } else if (c == ',' && !inQuotes) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return !inQuotes && fields.size() == fieldCount;
}

bool parseInt(const std::string& text, int lowest, int highest, int& number) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    number = std::atoi(text.c_str());
    return number >= lowest && number <= highest;
}

std::string rotatedPath(const std::string& path) {
    const size_t dot = path.size() >= 4 && path.compare(path.size() - 4, 4, ".csv") == 0
                           ? path.size() - 4
                           : path.size();
    return path.substr(0, dot) + ".1" + path.substr(dot);
}

void append(const JournalLine& line) {
    const std::string path = journalFilePath();
    std::string error = "no folder for it is known (VELQUIST_JOURNAL names one)";
    const int64_t size =
        path.empty() ? -1
                     : journalStorage().append(path, journalHeader, formatJournalLine(line), error);
    if (size > journalRotationSize)
        journalStorage().rename(path, rotatedPath(path));
    if (size >= 0 || problemTold)
        return;
    problemTold = true;
    problemHandler("Nothing is being journaled: " + (path.empty() ? "" : path + ": ") + error);
}

JournalLine lineFor(int32_t cv, int before, int value) {
    JournalLine line;
    line.time = nowText();
    line.action = openAction.id;
    line.kind = openAction.kind;
    line.undoes = openAction.undoes;
    line.source = openAction.source;
    if (const CommandStationDriver* driver = activeStation()) {
        line.station = driver->name();
        line.port = driver->portName();
    }
    line.place = journalPlace();
    line.cv = cv;
    line.before = before;
    line.value = value & 0xFF;
    return line;
}

// A line outside any action is an action of its own.
JournalLine appendInAction(int32_t cv, int before, int value, const char* result) {
    const std::unique_ptr<JournalAction> single =
        openDepth == 0 ? std::make_unique<JournalAction>("write") : nullptr;
    JournalLine line = lineFor(cv, before, value);
    line.result = result;
    append(line);
    return line;
}

} // namespace

std::string journalPlace() {
    return writeDestinationText();
}

std::string formatJournalLine(const JournalLine& line) {
    const std::string fields[fieldCount] = {line.time,
                                            line.action,
                                            line.kind,
                                            line.undoes,
                                            line.source,
                                            line.station,
                                            line.port,
                                            line.place,
                                            std::to_string(line.cv),
                                            line.before < 0 ? std::string()
                                                            : std::to_string(line.before),
                                            std::to_string(line.value),
                                            line.result};
    std::string text;
    for (size_t i = 0; i < fieldCount; ++i)
        text += (i ? "," : "") + quoted(fields[i]);
    return text + '\n';
}

bool parseJournalLine(const std::string& text, JournalLine& line) {
    std::vector<std::string> fields;
    if (!splitFields(text, fields))
        return false;
    JournalLine parsed;
    parsed.time = fields[0];
    parsed.action = fields[1];
    parsed.kind = fields[2];
    parsed.undoes = fields[3];
    parsed.source = fields[4];
    parsed.station = fields[5];
    parsed.port = fields[6];
    parsed.place = fields[7];
    parsed.result = fields[11];
    if (parsed.action.empty() || parsed.result.empty() ||
        (parsed.kind != journalWriteKind && parsed.kind != journalResetKind &&
         parsed.kind != journalUndoKind) ||
        !parseInt(fields[8], 1, 1024, parsed.cv) || !parseInt(fields[10], 0, 255, parsed.value) ||
        !(fields[9].empty() || parseInt(fields[9], 0, 255, parsed.before)))
        return false;
    line = parsed;
    return true;
}

JournalAction::JournalAction(const std::string& source, const char* kind,
                             const std::string& undoes) {
    if (openDepth++ == 0)
        openAction = {newActionId(), kind, undoes, source};
}

JournalAction::~JournalAction() {
    if (--openDepth == 0)
        openAction = OpenAction();
}

JournalLine journalWriteStarting(int32_t cv, int before, int value) {
    return appendInAction(cv, before, value, journalSending);
}

void journalWriteEnded(JournalLine& line, int32_t result, const char* words) {
    line.time = nowText();
    if (result != 0)
        line.result = std::string("failed: ") + (words && *words ? words : "no reason given");
    else
        line.result = line.place == programmingTrackPlace ? journalDone : journalNotVerifiedOnMain;
    append(line);
}

void journalNote(int32_t cv, int before, int value, const char* result) {
    appendInAction(cv, before, value, result);
}

std::string journalFilePath() {
    const char* named = std::getenv("VELQUIST_JOURNAL");
    return named && *named ? named : platformJournalPath();
}

JournalProblemHandler setJournalProblemHandler(JournalProblemHandler handler) {
    JournalProblemHandler previous = problemHandler;
    problemHandler = handler ? handler : tellOnStderr;
    return previous;
}

void resetJournalState() {
    problemTold = false;
    openDepth = 0;
    openAction = OpenAction();
}

JournalContents readJournal(size_t tailBytes) {
    JournalContents contents;
    const std::string path = journalFilePath();
    const int64_t size = path.empty() ? -1 : journalStorage().size(path);
    if (size <= 0)
        return contents;
    const int64_t start =
        size > static_cast<int64_t>(tailBytes) ? size - static_cast<int64_t>(tailBytes) : 0;
    std::string bytes;
    if (!journalStorage().read(path, start, static_cast<size_t>(size - start), bytes)) {
        contents.notes.push_back("the journal " + path + " cannot be read");
        return contents;
    }
    size_t at = 0;
    if (start > 0) {
        // The first line read is most likely a part of one.
        at = bytes.find('\n');
        at = at == std::string::npos ? bytes.size() : at + 1;
        contents.notes.push_back("only the journal's last " +
                                 std::to_string(tailBytes / 1024 / 1024) + " MiB were read");
    }
    size_t unreadable = 0;
    const std::string header(journalHeader, sizeof journalHeader - 2);
    while (at < bytes.size()) {
        const size_t end = bytes.find('\n', at);
        if (end == std::string::npos) {
            contents.notes.push_back("the journal's last line was cut off and is passed over");
            break;
        }
        std::string text = bytes.substr(at, end - at);
        if (!text.empty() && text.back() == '\r')
            text.pop_back();
        at = end + 1;
        JournalLine line;
        if (parseJournalLine(text, line))
            contents.lines.push_back(line);
        else if (text != header && !text.empty())
            ++unreadable;
    }
    if (unreadable > 0)
        contents.notes.push_back(std::to_string(unreadable) +
                                 " lines of the journal are not journal lines and are passed over");
    return contents;
}
