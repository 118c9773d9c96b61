#include "app/undo_command.h"

#include <string>

#include "foundation/message_box.h"
#include "model/wait_bar.h"
#include "stations/journal_undo.h"
#include "stations/station_manager.h"

std::vector<int> undoLastWrite(HWND owner) {
    if (!isStationOpen()) {
        const char* text = stationErrorText();
        showMessageBox(owner, text && *text ? text : "No Command Station setup", "Error");
        return {};
    }
    const std::vector<JournaledAction> actions = journaledActions(readJournal().lines);
    UndoPlan plan;
    if (!findUndo(actions, plan)) {
        showMessageBox(owner,
                       "Nothing to undo: the journal holds no write on the programming "
                       "track that is not yet undone.",
                       "Undo");
        return {};
    }
    // The message box shows "->" as an arrow.
    if (!askYesNo(owner, undoQuestion(plan, "->").c_str(), "Undo", DefaultAnswer::no))
        return {};
    UndoOutcome outcome;
    {
        WaitBar bar(owner, 1, "Undoing...");
        outcome = runUndo(plan);
    }
    if (!outcome.done) {
        std::string text;
        for (const std::string& line : outcome.lines)
            text += (text.empty() ? "" : "\n") + line;
        showMessageBox(owner, text.c_str(), "Error");
    }
    std::vector<int> written;
    for (const JournaledWrite& write : plan.takeBack)
        written.push_back(write.cv);
    return written;
}
