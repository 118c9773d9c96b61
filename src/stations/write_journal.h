// The journal of every CV write: a CSV line before the command goes to the station (what is
// about to be written) and one after its answer (what came of it), both naming the write's
// action, so a crash leaves the intent on record and no lock is held while the station works.
// One file per user, shared by the program and the command line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern const char journalHeader[];
// Results of a line. A failed write's result is "failed: " and the station's words.
extern const char journalSending[];   // "sending": the command is about to go out
extern const char journalDone[];      // "done"
extern const char journalLeftAlone[]; // an undo's CV whose value before was not known
extern const char journalNotVerifiedOnMain[];

// What an action is, for undo: writes are taken back, resets and undos are not.
extern const char journalWriteKind[]; // "write"
extern const char journalResetKind[]; // "reset"
extern const char journalUndoKind[];  // "undo"

// Where the writes go. Only the programming track today; programming on the main adds the
// address here.
std::string journalPlace();
extern const char programmingTrackPlace[]; // "programming track"

struct JournalLine {
    std::string time;   // UTC, ISO 8601 to the millisecond
    std::string action; // the same for every line of one action
    std::string kind = journalWriteKind;
    std::string undoes; // an undo: the action it takes back
    std::string source; // what the user did: "CV Editor: Write CV", "velquist-cli write", ...
    std::string station;
    std::string port;
    std::string place;
    int cv = 0;
    int before = -1; // -1: not known through this connection
    int value = 0;
    std::string result = journalSending;
};

std::string formatJournalLine(const JournalLine& line);
// One line without its end; false for anything that is not a journal line.
bool parseJournalLine(const std::string& text, JournalLine& line);

// Every write made while one lives belongs to one action; writes outside any are an action each.
// An action opened inside another belongs to the outer one.
class JournalAction {
  public:
    explicit JournalAction(const std::string& source, const char* kind = journalWriteKind,
                           const std::string& undoes = std::string());
    ~JournalAction();
    JournalAction(const JournalAction&) = delete;
    JournalAction& operator=(const JournalAction&) = delete;
};

// The station manager's hook around each write: the line before it is sent, then the same line
// with the result once the station answered (result 0 done, else failed with words).
JournalLine journalWriteStarting(int32_t cv, int before, int value);
void journalWriteEnded(JournalLine& line, int32_t result, const char* words);
// A line of the open action that goes with no write.
void journalNote(int32_t cv, int before, int value, const char* result);

// VELQUIST_JOURNAL, else the platform's place for it; empty when there is none.
std::string journalFilePath();
// Past this size the journal becomes journal.1.csv and a new one begins.
constexpr int64_t journalRotationSize = 4 * 1024 * 1024;

// Told once per run, when the journal cannot be written, why nothing is being journaled.
using JournalProblemHandler = void (*)(const std::string& text);
JournalProblemHandler setJournalProblemHandler(JournalProblemHandler handler);
// Forgets that the problem was told, and any open action; for tests.
void resetJournalState();

struct JournalContents {
    std::vector<JournalLine> lines;
    // What was passed over, for the user: a torn last line, lines that are not the journal's.
    std::vector<std::string> notes;
};
// The journal's last tailBytes at most, so a journal grown huge by hand costs no more to read.
JournalContents readJournal(size_t tailBytes = journalRotationSize + 64 * 1024);
