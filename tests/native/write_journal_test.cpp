#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "files/journal_storage.h"
#include "stations/factory_reset.h"
#include "stations/journal_undo.h"

namespace {

// Points the journal at a file of its own for as long as it lives.
class JournalFile {
  public:
    explicit JournalFile(const std::string& name) : path_(testing::TempDir() + name) {
        const char* previous = std::getenv("VELQUIST_JOURNAL");
        previous_ = previous ? previous : "";
        setenv("VELQUIST_JOURNAL", path_.c_str(), 1);
        std::remove(path_.c_str());
        resetJournalState();
    }
    ~JournalFile() {
        setenv("VELQUIST_JOURNAL", previous_.c_str(), 1);
        resetJournalState();
    }
    void add(const std::string& bytes) const { std::ofstream(path_, std::ios::app) << bytes; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string previous_;
};

std::string line(const std::string& action, const char* kind, const std::string& undoes, int cv,
                 int before, int value, const std::string& result) {
    JournalLine entry;
    entry.time = "t";
    entry.action = action;
    entry.kind = kind;
    entry.undoes = undoes;
    entry.source = "s";
    entry.place = programmingTrackPlace;
    entry.cv = cv;
    entry.before = before;
    entry.value = value;
    entry.result = result;
    return formatJournalLine(entry);
}

TEST(WriteJournal, LinesRoundTripAndNonsenseIsPassedOver) {
    JournalFile file("journal_round_trip.csv");
    JournalLine failed;
    {
        JournalAction action("CV Editor: Write CV");
        failed = journalWriteStarting(29, 6, 34);
        journalWriteEnded(failed, 1, "NO ACKNOWLEDGE, \"FROM\" DECODER\r\n");
    }
    file.add(journalHeader); // a second writer that found the file empty too
    file.add("nonsense\n1,2,3\n" + line("a", "write", "", 1025, 0, 1, "done") +
             line("a", "write", "", 1, 256, 1, "done") + line("a", "jump", "", 1, 0, 1, "done"));
    file.add(line("b", "write", "", 3, -1, 5, "sending").substr(0, 20)); // torn by a crash
    const JournalContents contents = readJournal();
    ASSERT_EQ(contents.lines.size(), 2u);
    EXPECT_EQ(contents.lines[0].result, journalSending);
    EXPECT_EQ(contents.lines[1].result, "failed: NO ACKNOWLEDGE, \"FROM\" DECODER  ");
    EXPECT_EQ(contents.lines[1].action, contents.lines[0].action);
    EXPECT_EQ(contents.lines[1].source, "CV Editor: Write CV");
    EXPECT_EQ(contents.lines[1].before, 6);
    EXPECT_EQ(contents.notes,
              (std::vector<std::string>{"the journal's last line was cut off and is passed over",
                                        "5 lines of the journal are not journal lines and are "
                                        "passed over"}));
}

// Two writers at once: every line arrives whole. Then past the size limit the journal moves to
// journal.1.csv and a new one begins with its header.
TEST(WriteJournal, TwoWritersKeepEveryLineWholeAndTheFileIsRotated) {
    JournalFile file("journal_writers.csv");
    auto writer = [] {
        JournalAction action("writer");
        for (int i = 0; i < 500; ++i)
            journalNote(1 + i % 1024, i % 256, 255 - i % 256, journalDone);
    };
    // The program and the command line are two processes.
    const pid_t other = fork();
    if (other == 0) {
        writer();
        _exit(0);
    }
    writer();
    waitpid(other, nullptr, 0);
    EXPECT_EQ(readJournal().lines.size(), 1000u);
    EXPECT_TRUE(readJournal().notes.empty());

    file.add(std::string(journalRotationSize, '#') + "\n");
    journalNote(1, 2, 3, journalDone);
    journalNote(4, 5, 6, journalDone);
    const std::string rotated = testing::TempDir() + "journal_writers.1.csv";
    struct stat kept {};
    EXPECT_EQ(stat(rotated.c_str(), &kept), 0);
    EXPECT_GT(kept.st_size, journalRotationSize);
    std::ifstream current(file.path());
    std::stringstream text;
    text << current.rdbuf();
    EXPECT_EQ(text.str().substr(0, std::strlen(journalHeader)), journalHeader);
    EXPECT_EQ(readJournal().lines.size(), 1u);
    std::remove(rotated.c_str());
}

std::vector<std::string> toldProblems;

TEST(WriteJournal, AJournalThatCannotBeWrittenIsToldOnce) {
    JournalFile file("journal_blocker/journal.csv");
    std::ofstream(testing::TempDir() + "journal_blocker") << "a file where the folder would be";
    JournalProblemHandler previous =
        setJournalProblemHandler([](const std::string& text) { toldProblems.push_back(text); });
    JournalLine written = journalWriteStarting(1, -1, 3);
    journalWriteEnded(written, 0, nullptr);
    setJournalProblemHandler(previous);
    ASSERT_EQ(toldProblems.size(), 1u);
    EXPECT_EQ(toldProblems[0].rfind("Nothing is being journaled: " + file.path() + ": ", 0), 0u);
    std::remove((testing::TempDir() + "journal_blocker").c_str());
}

// Undo takes back the newest write action on the programming track with a CV not yet taken back.
TEST(JournalUndo, FindsTheActionToTakeBack) {
    const struct {
        const char* what;
        std::vector<std::string> lines;
        std::string action; // empty: nothing to undo
        std::vector<int> takeBack;
        std::vector<int> unknown;
    } cases[] = {
        {"empty journal", {}, "", {}, {}},
        {"a failed write changed nothing",
         {line("a", "write", "", 3, 1, 5, "sending"), line("a", "write", "", 3, 1, 5, "failed: x")},
         "",
         {},
         {}},
        {"a crash after sending may have changed the CV; a reset is no target",
         {line("a", "write", "", 3, 1, 5, "sending"), line("r", "reset", "", 8, 11, 8, "done")},
         "a",
         {3},
         {}},
        {"a CV written twice goes back to its first value; an unknown one is left alone",
         {line("a", "write", "", 3, 1, 5, "done"), line("a", "write", "", 4, -1, 7, "done"),
          line("a", "write", "", 3, 5, 9, "done")},
         "a",
         {3},
         {4}},
        {"an action taken back whole is passed over, undos are never a target",
         {line("a", "write", "", 3, 1, 5, "done"), line("b", "write", "", 4, 2, 6, "done"),
          line("b", "write", "", 5, -1, 6, "done"), line("u", "undo", "b", 4, 6, 2, "done"),
          line("u", "undo", "b", 5, -1, 6, journalLeftAlone)},
         "a",
         {3},
         {}},
    };
    for (const auto& c : cases) {
        std::vector<JournalLine> lines;
        for (const std::string& text : c.lines) {
            lines.emplace_back();
            ASSERT_TRUE(parseJournalLine(text.substr(0, text.size() - 1), lines.back())) << text;
        }
        const std::vector<JournaledAction> actions = journaledActions(lines);
        UndoPlan plan;
        EXPECT_EQ(findUndo(actions, plan), !c.action.empty()) << c.what;
        EXPECT_EQ(plan.action ? plan.action->id : "", c.action) << c.what;
        std::vector<int> takeBack, unknown;
        for (const JournaledWrite& write : plan.takeBack)
            takeBack.push_back(write.cv);
        for (const JournaledWrite& write : plan.unknown)
            unknown.push_back(write.cv);
        EXPECT_EQ(takeBack, c.takeBack) << c.what;
        EXPECT_EQ(unknown, c.unknown) << c.what;
        if (c.what == cases[3].what) {
            EXPECT_EQ(plan.takeBack[0].value, 9);
            EXPECT_EQ(undoQuestion(plan, "->"),
                      "Undo the last write: CV 3 1->9, CV 4 not known before, left alone?");
        }
    }
}

TEST(FactoryReset, EachMakerHasItsOwnWrites) {
    const struct {
        int id;
        std::string writes;
    } cases[] = {
        {11, "CV 30 = 2"},   {99, "CV 8 = 33"},
        {143, "CV 125 = 1"}, {113, "CV 49 = 128, CV 50 = 255, CV 56 = 113"},
        {151, "CV 8 = 8"},   {0, "CV 8 = 8"},
        {255, "CV 8 = 8"},   {256 + 11, "CV 30 = 2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(assignmentsText(factoryResetWrites(c.id)), c.writes) << c.id;
    EXPECT_EQ(factoryResetQuestion(145, factoryResetWrites(145)),
              "Reset the Zimo Elecktronik decoder (ID 145) to its factory settings by writing "
              "CV 8 = 8?\n\nEvery setting returns to the maker's, and the address to 3.");
}

} // namespace
