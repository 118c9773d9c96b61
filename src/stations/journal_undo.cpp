#include "stations/journal_undo.h"

#include <algorithm>
#include <map>
#include <set>

#include "stations/station_manager.h"

namespace {

// A write that may have changed the decoder: done, or sent with no answer on record (the program
// ended before it came).
bool mayHaveChanged(const JournaledWrite& write) {
    return write.result.empty() || write.result == journalDone;
}

std::string failureWords() {
    const char* text = stationErrorText();
    return text && *text ? text : "unknown station error";
}

std::string valueText(int value) {
    return value < 0 ? "?" : std::to_string(value);
}

} // namespace

std::vector<JournaledAction> journaledActions(const std::vector<JournalLine>& lines) {
    std::vector<JournaledAction> actions;
    std::map<std::string, size_t> positions;
    for (const JournalLine& line : lines) {
        auto [at, isNew] = positions.emplace(line.action, actions.size());
        if (isNew)
            actions.push_back(
                {line.action, line.time, line.kind, line.undoes, line.source, line.place, {}});
        std::vector<JournaledWrite>& writes = actions[at->second].writes;
        if (line.result == journalSending) {
            writes.push_back({line.cv, line.before, line.value, ""});
            continue;
        }
        // The answer goes with the last write of its CV still waiting for one.
        auto waiting = std::find_if(writes.rbegin(), writes.rend(), [&](const JournaledWrite& w) {
            return w.cv == line.cv && w.result.empty();
        });
        if (waiting != writes.rend())
            waiting->result = line.result;
        else
            writes.push_back({line.cv, line.before, line.value, line.result});
    }
    return actions;
}

std::string describeAction(const JournaledAction& action, const char* arrow) {
    std::string text = action.time + "  " + action.source + " (" + action.place + ")";
    const char* separator = ": ";
    for (const JournaledWrite& write : action.writes) {
        text += separator + ("CV " + std::to_string(write.cv) + " " + valueText(write.before) +
                             arrow + std::to_string(write.value));
        if (write.result != journalDone)
            text += " (" +
                    (write.result.empty() ? std::string("no answer on record") : write.result) +
                    ")";
        separator = ", ";
    }
    return text;
}

bool findUndo(const std::vector<JournaledAction>& actions, UndoPlan& plan) {
    // The CVs of each action that an undo already took back or named as left alone.
    std::set<std::pair<std::string, int>> handled;
    for (const JournaledAction& action : actions)
        if (action.kind == journalUndoKind)
            for (const JournaledWrite& write : action.writes)
                if (write.result == journalDone || write.result == journalLeftAlone)
                    handled.insert({action.undoes, write.cv});
    for (auto action = actions.rbegin(); action != actions.rend(); ++action) {
        if (action->kind != journalWriteKind || action->place != programmingTrackPlace)
            continue;
        plan = UndoPlan{&*action, {}, {}};
        std::set<int> seen;
        for (const JournaledWrite& write : action->writes) {
            if (!mayHaveChanged(write) || handled.count({action->id, write.cv}))
                continue;
            if (!seen.insert(write.cv).second) {
                // Written twice: back to the value before the first, from the value of the last.
                for (JournaledWrite& earlier : plan.takeBack)
                    earlier.value = earlier.cv == write.cv ? write.value : earlier.value;
                continue;
            }
            if (write.before < 0)
                plan.unknown.push_back(write);
            else
                plan.takeBack.push_back(write);
        }
        if (!plan.takeBack.empty() || !plan.unknown.empty())
            return true;
    }
    plan = UndoPlan();
    return false;
}

std::string undoQuestion(const UndoPlan& plan, const char* arrow) {
    std::string text = "Undo the last write: ";
    const char* separator = "";
    for (const JournaledWrite& write : plan.takeBack) {
        text += separator + ("CV " + std::to_string(write.cv) + " " + std::to_string(write.before) +
                             arrow + std::to_string(write.value));
        separator = ", ";
    }
    for (const JournaledWrite& write : plan.unknown) {
        text += separator + ("CV " + std::to_string(write.cv) + " not known before, left alone");
        separator = ", ";
    }
    return text + "?";
}

UndoOutcome runUndo(const UndoPlan& plan) {
    UndoOutcome outcome;
    std::vector<std::string> changed;
    for (const JournaledWrite& write : plan.takeBack) {
        uint8_t now = 0;
        if (stationReadCv(write.cv, &now) != 0) {
            outcome.lines.push_back("CV " + std::to_string(write.cv) + ": not read (" +
                                    failureWords() + "); nothing was written");
            return outcome;
        }
        if (now != write.value)
            changed.push_back("CV " + std::to_string(write.cv) + " holds " + std::to_string(now) +
                              ", not " + std::to_string(write.value));
    }
    if (!changed.empty()) {
        std::string text =
            "not undone: the decoder no longer holds what " + plan.action->source + " wrote: ";
        for (size_t i = 0; i < changed.size(); ++i)
            text += (i ? ", " : "") + changed[i];
        outcome.lines.push_back(text);
        return outcome;
    }
    JournalAction undo("undo of " + plan.action->source, journalUndoKind, plan.action->id);
    for (const JournaledWrite& write : plan.unknown) {
        journalNote(write.cv, -1, write.value, journalLeftAlone);
        outcome.lines.push_back("CV " + std::to_string(write.cv) +
                                ": left alone, its value before was not known");
    }
    for (const JournaledWrite& write : plan.takeBack) {
        if (stationWriteCv(write.cv, write.before) != 0) {
            outcome.lines.push_back("CV " + std::to_string(write.cv) + ": not written (" +
                                    failureWords() + ")");
            return outcome;
        }
        outcome.lines.push_back(std::to_string(write.cv) + "=" + std::to_string(write.before) +
                                " (was " + std::to_string(write.value) + ")");
    }
    outcome.done = true;
    return outcome;
}
