// history, undo and diff: the journal read back, the last write taken back, and the decoder
// compared with a file.
#include <cstdio>

#include "decoder_backup.h"
#include "decoder_commands.h"
#include "stations/high_cv_warning.h"
#include "stations/journal_undo.h"
#include "stations/station_manager.h"

namespace {

const char arrow[] = "\xE2\x86\x92"; // →, in UTF-8

std::vector<JournaledAction> journalActions() {
    const JournalContents contents = readJournal();
    for (const std::string& note : contents.notes)
        std::fprintf(stderr, "note: %s\n", note.c_str());
    return journaledActions(contents.lines);
}

} // namespace

std::string writtenText(int cv, int value, int was) {
    const std::string text = std::to_string(cv) + "=" + std::to_string(value);
    return was < 0 ? text : text + " (was " + std::to_string(was) + ")";
}

int stationFailure() {
    const char* text = stationErrorText();
    std::fprintf(stderr, "error: %s\n", text && *text ? text : "unknown station error");
    return 1;
}

int historyCommand(const CliRequest& request) {
    const std::vector<JournaledAction> actions = journalActions();
    if (actions.empty())
        std::printf("the journal %s holds no writes\n", journalFilePath().c_str());
    const size_t last = static_cast<size_t>(request.last);
    for (size_t i = actions.size() > last ? actions.size() - last : 0; i < actions.size(); ++i)
        std::printf("%s\n", describeAction(actions[i], arrow).c_str());
    return 0;
}

int undoCommand() {
    const std::vector<JournaledAction> actions = journalActions();
    UndoPlan plan;
    if (!findUndo(actions, plan)) {
        std::fprintf(stderr,
                     "error: nothing to undo: the journal %s holds no write on the "
                     "programming track that is not yet undone\n",
                     journalFilePath().c_str());
        return 1;
    }
    std::printf("undo: %s\n", describeAction(*plan.action, arrow).c_str());
    std::fflush(stdout);
    const UndoOutcome outcome = runUndo(plan);
    for (const std::string& line : outcome.lines)
        std::fprintf(outcome.done ? stdout : stderr, "%s%s\n",
                     outcome.done ? "" : "error: ", line.c_str());
    return outcome.done ? 0 : 1;
}

int diffCommand(const CliRequest& request, const DecoderFileContent& file) {
    std::vector<int> cvs;
    for (int cv = 1; cv <= decoderFileCvCount; ++cv)
        if (file.entries[cv - 1] != unknownCvEntry)
            cvs.push_back(cv);
    if (cvs.empty()) {
        std::fprintf(stderr, "note: %s knows no CV value: nothing to compare\n",
                     request.file.c_str());
        return 0;
    }
    std::vector<int> readable;
    std::vector<CvProblem> problems;
    for (int cv : cvs) {
        if (needsHighCvConsent(cv))
            problems.push_back(
                {cv, "above the station's CV limit of " + std::to_string(stationHighestSafeCv())});
        else
            readable.push_back(cv);
    }
    DecoderFileContent decoder;
    for (const CvProblem& problem : backupCvs(readable, decoder, nullptr))
        problems.push_back(problem);
    bool differs = !problems.empty();
    for (int cv : cvs) {
        const int inFile = file.entries[cv - 1];
        const int inDecoder = decoder.entries[cv - 1];
        for (const CvProblem& problem : problems)
            if (problem.cv == cv)
                std::printf("CV %d: not read (%s)\n", cv, problem.reason.c_str());
        if (inDecoder == unknownCvEntry || inDecoder == inFile)
            continue;
        std::printf("CV %d: file %d, decoder %d\n", cv, inFile, inDecoder);
        differs = true;
    }
    return differs ? 1 : 0;
}
