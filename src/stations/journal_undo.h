// The journal read back: its lines gathered into the actions the user took, the history of them,
// and undo, which writes back the values before the last write action on the programming track
// that is not yet taken back.
#pragma once

#include <string>
#include <vector>

#include "stations/write_journal.h"

struct JournaledWrite {
    int cv = 0;
    int before = -1; // -1: not known
    int value = 0;
    std::string result; // empty while only the line before the command is on record
};

struct JournaledAction {
    std::string id;
    std::string time;
    std::string kind;
    std::string undoes;
    std::string source;
    std::string place;
    std::vector<JournaledWrite> writes;
};

// The lines of each action together, the actions in the order they began.
std::vector<JournaledAction> journaledActions(const std::vector<JournalLine>& lines);

// One action as history shows it: its time, what did it, where, and each CV "N BEFORE→VALUE"
// with its result; arrow is the text between the two values.
std::string describeAction(const JournaledAction& action, const char* arrow);

struct UndoPlan {
    const JournaledAction* action = nullptr;
    // The CVs to write back, each with the value before and the value the action wrote.
    std::vector<JournaledWrite> takeBack;
    // The CVs whose value before the action is not known: named and left alone.
    std::vector<JournaledWrite> unknown;
};

// The most recent write action on the programming track with a CV not yet taken back; resets,
// undos and actions wholly taken back are passed over. False when there is none.
bool findUndo(const std::vector<JournaledAction>& actions, UndoPlan& plan);

// "Undo the last write: CV 3 5→10, CV 4 …?"
std::string undoQuestion(const UndoPlan& plan, const char* arrow);

struct UndoOutcome {
    bool done = false;
    // What was written back or why nothing was, one line each.
    std::vector<std::string> lines;
};

// Reads each CV first and writes nothing when the decoder no longer holds what the action wrote;
// else writes back the values before as an undo of the action.
UndoOutcome runUndo(const UndoPlan& plan);
