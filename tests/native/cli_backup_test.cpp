#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "cli_arguments.h"
#include "cli_runner.h"
#include "decoder_backup.h"
#include "files/decoder_file_transfer.h"
#include "sim_station_process.h"
#include "station_fakes.h"
#include "stations/station_manager.h"

namespace {

bool parse(std::vector<const char*> words, CliRequest& request, std::string& error) {
    words.insert(words.begin(), "velquist-cli");
    return parseCliArguments(static_cast<int>(words.size()), words.data(), request, error);
}

std::vector<int> cvsOf(const CliRequest& request) {
    std::vector<int> cvs;
    for (const auto& entry : request.cvs)
        cvs.push_back(entry.first);
    return cvs;
}

TEST(CliBackupArguments, TakesAFileTextsAndAListOfCvs) {
    CliRequest backup;
    std::string error;
    ASSERT_TRUE(
        parse({"backup", "loco.vqd", "--name", "GP9", "--notes", "", "29,1-3,2"}, backup, error))
        << error;
    EXPECT_EQ(backup.file, "loco.vqd");
    EXPECT_EQ(backup.texts[0], "GP9");
    EXPECT_EQ(cvsOf(backup), (std::vector<int>{1, 2, 3, 29}));

    CliRequest byDefault;
    ASSERT_TRUE(parse({"backup", "loco.vqd"}, byDefault, error));
    EXPECT_EQ(cvsOf(byDefault).size(), 18u + 28 + 10 + 5);
    EXPECT_EQ(cvsOf(byDefault), defaultBackupCvs());

    CliRequest restore;
    ASSERT_TRUE(parse({"restore", "loco.vqd", "--verify"}, restore, error));
    EXPECT_TRUE(restore.verify);
    CliRequest help;
    ASSERT_TRUE(parse({"--help", "backup"}, help, error));
    EXPECT_EQ(help.command, CliRequest::Command::help);
}

// --help is help only as the first word; elsewhere it is a text or a misplaced option, and any
// option after the command is named as such rather than judged as a CV or a file.
TEST(CliArguments, HelpOnlyFirstAndOptionsOnlyBeforeTheCommand) {
    const struct {
        std::vector<const char*> words;
        const char* error; // empty: accepted
    } cases[] = {
        {{"--help"}, ""},
        {{"--help", "read", "1"}, ""},
        {{"backup", "f.vqd", "--notes", "--help"}, ""},
        {{"backup", "f.vqd", "--name", "--port"}, ""},
        {{"--port", "COM3", "--help"}, "unknown option '--help'"},
        {{"read", "1", "--help"}, "options go before the command: '--help'"},
        {{"read", "1", "--port", "COM3"}, "options go before the command: '--port'"},
        {{"write", "1=3", "--baud", "19200"}, "options go before the command: '--baud'"},
        {{"version", "--port", "COM3"}, "options go before the command: '--port'"},
        {{"backup", "--port", "COM3", "f.vqd"}, "options go before the command: '--port'"},
        {{"backup", "f.vqd", "--port", "COM3"}, "options go before the command: '--port'"},
        {{"restore", "f.vqd", "--baud", "9600"}, "options go before the command: '--baud'"},
        {{"show", "f.vqd", "--help"}, "options go before the command: '--help'"},
        {{"backup", "f.vqd", "--verify"}, "backup does not take '--verify'"},
        {{"read", "--1"}, "CV must be a number from 1 to 1024: '--1'"},
    };
    for (const auto& c : cases) {
        CliRequest request;
        std::string error;
        const bool accepted = parse(c.words, request, error);
        EXPECT_EQ(accepted, *c.error == '\0') << c.words.back();
        EXPECT_EQ(error, c.error) << c.words.back();
    }
    CliRequest notes;
    std::string error;
    ASSERT_TRUE(parse({"backup", "f.vqd", "--notes", "--help"}, notes, error));
    EXPECT_EQ(notes.command, CliRequest::Command::backup);
    EXPECT_EQ(notes.texts[2], "--help");
}

// A decoder whose reads fail for chosen CVs, with the link's own message for each.
class ScriptedDriver : public FakeDriver {
  public:
    ScriptedDriver() : FakeDriver("Scripted", makeStationTag('S', 'c', 'r', 'p')) {}
    int readCv(int32_t cv, uint8_t* value) override {
        reads.push_back(cv);
        auto failure = failures.find(cv);
        setStationErrorText(failure == failures.end() ? nullptr : failure->second.second);
        *value = static_cast<uint8_t>(cv + 100);
        return failure == failures.end() ? 0 : failure->second.first;
    }
    std::map<int, std::pair<int, const char*>> failures; // CV: result, words
    std::vector<int> reads;
};

TEST(DecoderBackup, AFailedCvStaysUnknownAndAStationThatStopsEndsTheBackup) {
    auto* driver = new ScriptedDriver();
    selectStation(0);
    // An answer without a value fails its CV alone; only silence ends the backup.
    driver->failures = {{2, {1, "NO ACKNOWLEDGE FROM DECODER"}},
                        {4, {1, "NO DATA RETURNED"}},
                        {5, {stationNoAnswer, "No answer"}}};
    DecoderFileContent content;
    const auto problems = backupCvs({1, 2, 3, 4, 5, 6}, content, nullptr);
    EXPECT_EQ(driver->reads, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(content.entries[0], 101);
    EXPECT_EQ(content.entries[1], unknownCvEntry);
    EXPECT_EQ(content.entries[2], 103);
    std::vector<std::string> reported;
    for (const auto& problem : problems)
        reported.push_back(std::to_string(problem.cv) + " " + problem.reason);
    EXPECT_EQ(reported, (std::vector<std::string>{"2 NO ACKNOWLEDGE FROM DECODER",
                                                  "4 NO DATA RETURNED", "5 No answer",
                                                  "6 not read: the station stopped answering"}));
    saveAndShutdownStations();
}

class CliBackupTest : public testing::Test {
  protected:
    CliBackupTest() {
        char pattern[] = "/tmp/velquist-cli-XXXXXX";
        folder_ = mkdtemp(pattern);
        file = folder_ + "/loco.vqd";
    }
    ~CliBackupTest() override { std::system(("rm -rf " + folder_).c_str()); }

    std::string file;

  private:
    std::string folder_;
};

TEST_F(CliBackupTest, BacksUpShowsAndRestoresWithoutTheReadOnlyCvs) {
    std::vector<std::string> restored;
    {
        SimStationProcess station;
        const std::string port = "--port " + station.device() + " ";
        ASSERT_EQ(runCli(port + "write 29=34 1=5").status, 0);
        CliRun backup =
            runCli(port + "backup " + file +
                   " --name 'GP9 #1' --owner Ann --notes \"$(printf 'two\\r\\nlines')\" 1,7-8,29");
        EXPECT_EQ(backup.status, 0) << backup.out;
        EXPECT_EQ(backup.out, "wrote " + file + ": 4 CVs\n");
    }
    CliRun show = runCli("show " + file);
    EXPECT_EQ(show.status, 0);
    EXPECT_EQ(show.out, "Decoder Name: GP9 #1\nOwner: Ann\nNotes: two\n       lines\n"
                        "1=5\n7=42\n8=11\n29=34\n");

    SimStationProcess fresh;
    CliRun restore = runCli("--port " + fresh.device() + " restore " + file + " --verify");
    EXPECT_EQ(restore.status, 0) << restore.out;
    EXPECT_EQ(restore.out, "1=5 (was 3)\n29=34 (was 6)\nwrote 2 CVs\n");
    EXPECT_EQ(fresh.receivedLines(), (std::vector<std::string>{"M", "R001", "P001 005", "R001",
                                                               "R029", "P029 034", "R029", "X"}));
}

// Through a Powerhouse Pro, CVs above 255 are read and written only when the user allowed it:
// without leave the command is refused whole and only the closing "X" reaches the station.
TEST_F(CliBackupTest, HighCvsAreWrittenOnlyWithLeave) {
    {
        SimStationProcess station;
        const std::string port = "--port " + station.device() + " ";
        ASSERT_EQ(runCli(port + "write 29=6 513=1").status, 1);
        ASSERT_EQ(runCli(port + "--allow-high-cvs write 513=1").status, 0);
        ASSERT_EQ(runCli(port + "--allow-high-cvs backup " + file + " 29,513").status, 0);
    }
    const std::string hazard = "error: CV 513 is above 255. On this station's programming track a "
                               "write above CV 255 can change another CV instead. NCE advises "
                               "programming such CVs on the main. Nothing was written; give "
                               "--allow-high-cvs before the command to write it anyway.\n";
    const struct {
        std::string arguments;
        int status;
        std::string out;
        std::vector<std::string> lines;
    } cases[] = {
        {"write 29=5 300=7", 1, "error: CV 300" + hazard.substr(hazard.find(" is above")), {"X"}},
        {"restore " + file, 1, hazard, {"X"}},
        {"--allow-high-cvs restore " + file,
         0,
         "29=6 (was 6)\n513=1\nwrote 2 CVs\n",
         {"M", "R029", "P029 006", "P513 001", "X"}},
        {"read 1 1024",
         1,
         "error: CV 1024 is above 255. On this station's programming track a read above CV 255 may "
         "read another CV instead (CV 1024 reaches CV 256). Nothing was read; give "
         "--allow-high-cvs before the command to read it anyway.\n",
         {"X"}},
        {"--allow-high-cvs read 1024", 0, "1024=0\n", {"M", "R1024", "X"}},
    };
    for (const auto& c : cases) {
        SimStationProcess station;
        CliRun run = runCli("--port " + station.device() + " " + c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(station.receivedLines(), c.lines);
    }
}

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A backup that read some CVs writes them with the rest unknown; one that read none leaves a
// good backup in its place untouched.
TEST_F(CliBackupTest, UnreadableCvsAreReportedAndAFileIsWrittenOnlyWhenSomeWereRead) {
    {
        SimStationProcess good;
        ASSERT_EQ(runCli("--port " + good.device() + " backup " + file + " 1-2").status, 0);
    }
    const std::string goodBackup = contentOf(file);
    {
        SimStationProcess station({"--fault", "no-decoder"});
        CliRun backup = runCli("--port " + station.device() + " backup " + file + " 1-2");
        EXPECT_EQ(backup.status, 1);
        EXPECT_EQ(backup.out, "CV 1: NO ACKNOWLEDGE FROM DECODER\nCV 2: NO ACKNOWLEDGE FROM "
                              "DECODER\nerror: " +
                                  file + ": not written: none of the 2 CVs could be read\n");
        EXPECT_EQ(contentOf(file), goodBackup);
        EXPECT_EQ(contentOf(savingPathFor(file)), "");
    }
    SimStationProcess patchy({"--fault", "no-decoder", "--fault-every", "2"});
    CliRun backup = runCli("--port " + patchy.device() + " backup " + file + " 1,7-8");
    EXPECT_EQ(backup.status, 1);
    EXPECT_NE(backup.out.find(": 2 of 3 CVs could not be read and are unknown in it\n"),
              std::string::npos)
        << backup.out;
    EXPECT_NE(contentOf(file), goodBackup);
}

// FILE is tried before the decoder is read: a folder that is not there, or a file marked
// read-only (which a save leaves alone), costs no station time and changes no file.
TEST_F(CliBackupTest, AFileThatCannotBeWrittenIsFoundBeforeReading) {
    std::ofstream(file) << "kept";
    chmod(file.c_str(), 0444);
    SimStationProcess station;
    for (const std::string& target : {file + ".d/loco.vqd", file}) {
        CliRun backup = runCli("--port " + station.device() + " backup " + target);
        EXPECT_EQ(backup.status, 1);
        EXPECT_EQ(backup.out, "error: " + target + ": Cannot write file\n");
    }
    EXPECT_TRUE(station.receivedLines().empty());
    EXPECT_EQ(contentOf(file), "kept");
}

// A name with accents goes in as UTF-8, lies in the file as Windows-1252, and comes out as it
// went in; one the file cannot hold is refused before the station is asked anything.
TEST_F(CliBackupTest, TextsGoInAndComeOutInUtf8AndLieInTheFileInWindows1252) {
    SimStationProcess station;
    const std::string port = "--port " + station.device() + " ";
    CliRun backup = runCli(port + "backup " + file +
                           " --name 'Güterzug Nº 5 – Köln' --owner 'Zoë' --notes 'ß€' 29");
    EXPECT_EQ(backup.status, 0) << backup.out;
    EXPECT_NE(contentOf(file).find("G\xFCterzug N\xBA 5 \x96 K\xF6ln"), std::string::npos);
    EXPECT_EQ(runCli("show " + file).out,
              "Decoder Name: Güterzug Nº 5 – Köln\nOwner: Zoë\nNotes: ß€\n29=6\n");

    const std::string before = contentOf(file);
    const std::vector<std::string> sent = station.receivedLines();
    CliRun refused = runCli(port + "backup " + file + " --name 'Ω-Lok' 29");
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out.rfind("velquist-cli: --name: 'Ω' is not in Windows-1252, the code "
                                "page of decoder files; usage:",
                                0),
              0u)
        << refused.out;
    EXPECT_EQ(contentOf(file), before);
    EXPECT_EQ(station.receivedLines(), sent);
}

TEST_F(CliBackupTest, BadFilesGetTheReadersMessageAndLeaveThePortAlone) {
    // Told apart by content, a text file is read as a CV list.
    std::ofstream(file) << "not a decoder file";
    const std::string notAnyKind = "Line 1: not a Velquist decoder file, nor a CV list beginning "
                                   "CV,value, nor a JMRI roster entry";
    const struct {
        std::string arguments;
        std::string out;
    } cases[] = {
        {"show " + file, "error: " + file + ": " + notAnyKind + "\n"},
        {"show " + file + ".missing", "error: " + file + ".missing: Cannot open file\n"},
        {"--port /dev/velquist-no-such-port restore " + file,
         "error: " + file + ": " + notAnyKind + "\n"},
    };
    for (const auto& c : cases) {
        CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.out, c.out);
    }
}

} // namespace

namespace {

// A backup against a station that misbehaves as real ones do: reads left unacknowledged now and
// then succeed when tried again, a late prompt after every answer takes no value's place, and a
// station that falls silent ends the backup within one answer wait with what was read kept.
TEST_F(CliBackupTest, RetriesLatePromptsAndASilentStation) {
    const std::string allRead = "1=3\n2=0\n3=0\n4=0\n5=0\n6=0\n7=42\n8=11\n";
    const struct {
        std::vector<std::string> station;
        std::string options;
        int status;
        std::string shown; // show FILE after the backup; empty: no file
    } cases[] = {
        {{"--answer-style", "real", "--flaky-reads", "3"}, "", 0, allRead},
        {{"--answer-style", "real", "--flaky-reads", "3"},
         "--retries 0 ",
         1,
         "1=3\n2=0\n4=0\n5=0\n7=42\n8=11\n"},
        {{"--answer-style", "real", "--late-prompt"}, "", 0, allRead},
        {{"--fault", "silent", "--fault-every", "5"}, "--wait 2 ", 1, "1=3\n2=0\n3=0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options + c.station.back());
        std::remove(file.c_str());
        SimStationProcess station(c.station);
        const auto start = std::chrono::steady_clock::now();
        CliRun backup =
            runCli("--port " + station.device() + " " + c.options + "backup " + file + " 1-8");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        EXPECT_EQ(backup.status, c.status) << backup.out;
        EXPECT_EQ(runCli("show " + file).out, "Decoder Name: \nOwner: \nNotes: \n" + c.shown);
    }
}

} // namespace
