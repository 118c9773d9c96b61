#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "cli_arguments.h"
#include "cli_runner.h"
#include "decoder_backup.h"
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
    ASSERT_TRUE(parse({"backup", "--help"}, help, error));
    EXPECT_EQ(help.command, CliRequest::Command::help);
}

TEST(CliBackupArguments, RejectsBadInputWithAReason) {
    const std::vector<std::vector<const char*>> bad = {
        {"backup"},
        {"backup", "--name", "x"},
        {"backup", "f", "1-"},
        {"backup", "f", "5-3"},
        {"backup", "f", "0-4"},
        {"backup", "f", "1,,2"},
        {"backup", "f", "1", "2"},
        {"backup", "f", "--owner"},
        {"restore", "f", "--name", "x"},
        {"show"},
        {"show", "f", "--verify"},
        {"backup", "f", "1-1025"},
    };
    for (const auto& words : bad) {
        CliRequest request;
        std::string error;
        EXPECT_FALSE(parse(words, request, error)) << words.size();
        EXPECT_FALSE(error.empty());
    }
}

// A decoder whose reads fail for chosen CVs, with the link's own message for each.
class ScriptedDriver : public FakeDriver {
  public:
    ScriptedDriver() : FakeDriver("Scripted", makeStationTag('S', 'c', 'r', 'p')) {}
    int readCv(int32_t cv, uint8_t* value) override {
        reads.push_back(cv);
        auto failure = failures.find(cv);
        setStationErrorText(failure == failures.end() ? nullptr : failure->second);
        *value = static_cast<uint8_t>(cv + 100);
        return failure == failures.end() ? 0 : 1;
    }
    std::map<int, const char*> failures;
    std::vector<int> reads;
};

TEST(DecoderBackup, AFailedCvStaysUnknownAndAStationThatStopsEndsTheBackup) {
    auto* driver = new ScriptedDriver();
    selectStation(0);
    driver->failures = {{2, "NO ACKNOWLEDGE FROM DECODER"}, {4, "NO DATA RETURNED"}};
    DecoderFileContent content;
    const auto problems = backupCvs({1, 2, 3, 4, 5, 6}, content, nullptr);
    EXPECT_EQ(driver->reads, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(content.entries[0], 101);
    EXPECT_EQ(content.entries[1], unknownCvEntry);
    EXPECT_EQ(content.entries[2], 103);
    std::vector<std::string> reported;
    for (const auto& problem : problems)
        reported.push_back(std::to_string(problem.cv) + " " + problem.reason);
    EXPECT_EQ(reported,
              (std::vector<std::string>{"2 NO ACKNOWLEDGE FROM DECODER", "4 NO DATA RETURNED",
                                        "5 not read: the station stopped answering",
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
    EXPECT_EQ(restore.out, "wrote 2 CVs\n");
    EXPECT_EQ(fresh.receivedLines(),
              (std::vector<std::string>{"M", "P001 005", "R001", "P029 034", "R029", "X"}));
}

// Through a Powerhouse Pro, CVs above 255 are written only when the user allowed it: without
// leave the command is refused whole and only the closing "X" reaches the station.
TEST_F(CliBackupTest, HighCvsAreWrittenOnlyWithLeave) {
    {
        SimStationProcess station;
        const std::string port = "--port " + station.device() + " ";
        ASSERT_EQ(runCli(port + "write 29=6 513=1").status, 1);
        ASSERT_EQ(runCli(port + "--allow-high-cvs write 513=1").status, 0);
        ASSERT_EQ(runCli(port + "backup " + file + " 29,513").status, 0);
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
         "wrote 2 CVs\n",
         {"M", "P029 006", "P513 001", "X"}},
        {"read 1024", 0, "1024=0\n", {"M", "R1024", "X"}},
    };
    for (const auto& c : cases) {
        SimStationProcess station;
        CliRun run = runCli("--port " + station.device() + " " + c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(station.receivedLines(), c.lines);
    }
}

TEST_F(CliBackupTest, UnreadableCvsAreReportedAndTheFileStillWritten) {
    SimStationProcess station({"--fault", "no-decoder"});
    CliRun backup = runCli("--port " + station.device() + " backup " + file + " 1-2");
    EXPECT_EQ(backup.status, 1);
    EXPECT_EQ(backup.out, "CV 1: NO ACKNOWLEDGE FROM DECODER\nCV 2: NO ACKNOWLEDGE FROM "
                          "DECODER\nwrote " +
                              file + ": 2 of 2 CVs could not be read and are unknown in it\n");
    EXPECT_EQ(runCli("show " + file).out, "Decoder Name: \nOwner: \nNotes: \n");
}

TEST_F(CliBackupTest, BadFilesGetTheReadersMessageAndLeaveThePortAlone) {
    std::ofstream(file) << "not a decoder file";
    const struct {
        std::string arguments;
        std::string out;
    } cases[] = {
        {"show " + file, "error: " + file + ": Not a Velquist file\n"},
        {"show " + file + ".missing", "error: " + file + ".missing: Cannot open file\n"},
        {"--port /dev/velquist-no-such-port restore " + file,
         "error: " + file + ": Not a Velquist file\n"},
    };
    for (const auto& c : cases) {
        CliRun run = runCli(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.out, c.out);
    }
}

} // namespace
