#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "cli_arguments.h"
#include "cli_runner.h"
#include "sim_station_process.h"

namespace {

bool parse(std::vector<const char*> words, CliRequest& request, std::string& error) {
    words.insert(words.begin(), "velquist-cli");
    return parseCliArguments(static_cast<int>(words.size()), words.data(), request, error);
}

TEST(CliFilesArguments, ConvertTakesTwoFilesAndSheetAnOutput) {
    const struct {
        std::vector<const char*> words;
        bool ok;
        const char* output;
    } cases[] = {
        {{"convert", "in.xml", "out.csv"}, true, "out.csv"},
        {{"sheet", "in.vqd"}, true, ""},
        {{"sheet", "in.vqd", "-o", "out.html"}, true, "out.html"},
        {{"convert", "in.xml"}, false, ""},
        {{"convert", "in.xml", "a", "b"}, false, ""},
        {{"convert", "in.xml", "--verify"}, false, ""},
        {{"sheet", "in.vqd", "-o"}, false, ""},
        {{"sheet", "in.vqd", "-o", "a", "-o", "b"}, false, ""},
        {{"sheet", "in.vqd", "out.html"}, false, ""},
        {{"show", "in.vqd", "-o", "out.html"}, false, ""},
    };
    for (const auto& c : cases) {
        CliRequest request;
        std::string error;
        EXPECT_EQ(parse(c.words, request, error), c.ok) << c.words[0] << " " << error;
        if (c.ok) {
            EXPECT_EQ(request.file, c.words[1]);
            EXPECT_EQ(request.output, c.output);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
}

class CliFilesTest : public testing::Test {
  protected:
    CliFilesTest() {
        char pattern[] = "/tmp/velquist-cli-files-XXXXXX";
        folder = mkdtemp(pattern);
    }
    ~CliFilesTest() override { std::system(("rm -rf " + folder).c_str()); }

    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(folder + "/" + name, std::ios::binary) << text;
        return folder + "/" + name;
    }
    std::string contents(const std::string& name) {
        std::ifstream file(folder + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }

    std::string folder;
};

TEST_F(CliFilesTest, ShowsConvertsAndPrintsEveryKind) {
    const std::string roster =
        write("roster.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<locomotive-config>"
                            "<locomotive id=\"GP9\" owner=\"Jos\xC3\xA9\" comment=\"a&#10;b\">"
                            "<values><CVvalue name=\"29\" value=\"34\"/><CVvalue name=\"1\" "
                            "value=\"3\"/><CVvalue name=\"16.3.257\" value=\"3\"/></values>"
                            "</locomotive></locomotive-config>\n");
    const std::string note = "note: " + roster +
                             ": 1 CV entry was skipped: indexed CVs, named like 16.3.257, are "
                             "not loaded from roster entries\n";
    const struct {
        std::string arguments;
        int status;
        std::string out;
    } steps[] = {
        {"show " + roster, 0,
         note + "Decoder Name: GP9\nOwner: Jos\xC3\xA9\nNotes: a\n       b\n1=3\n29=34\n"},
        {"convert " + roster + " " + folder + "/gp9.vqd", 0,
         note + "wrote " + folder + "/gp9.vqd: 2 CVs\n"},
        {"convert " + folder + "/gp9.vqd " + folder + "/gp9.CSV", 0,
         "wrote " + folder + "/gp9.CSV: 2 CVs\n"},
        {"show " + folder + "/gp9.CSV", 0, "Decoder Name: \nOwner: \nNotes: \n1=3\n29=34\n"},
        {"convert " + folder + "/gp9.CSV " + folder + "/back.vqd", 0,
         "wrote " + folder + "/back.vqd: 2 CVs\n"},
        {"sheet " + folder + "/gp9.vqd -o " + folder + "/gp9.html", 0, ""},
        {"convert " + write("bad.csv", "CV,value\n29,300\n") + " " + folder + "/none.vqd", 1,
         "error: " + folder +
             "/bad.csv: Line 2: the value '300' of CV 29 is not a number from 0 "
             "to 255\n"},
        {"sheet " + write("empty", ""), 1, "error: " + folder + "/empty: The file is empty\n"},
        {"convert " + roster + " " + folder + "/no/such/folder.csv", 1,
         note + "error: " + folder + "/no/such/folder.csv: Cannot write file\n"},
    };
    for (const auto& step : steps) {
        const CliRun run = runCli(step.arguments);
        EXPECT_EQ(run.status, step.status) << step.arguments;
        EXPECT_EQ(run.out, step.out) << step.arguments;
    }
    EXPECT_EQ(contents("gp9.CSV"), "CV,value\r\n1,3\r\n29,34\r\n");
    EXPECT_EQ(contents("back.vqd").size(), 4151u);
    EXPECT_EQ(access((folder + "/none.vqd").c_str(), F_OK), -1);
    const std::string sheet = contents("gp9.html");
    EXPECT_EQ(sheet.compare(0, 15, "<!DOCTYPE html>"), 0);
    EXPECT_NE(sheet.find("Jos\xC3\xA9"), std::string::npos);
    EXPECT_EQ(runCli("sheet " + folder + "/gp9.vqd").out, sheet);
}

TEST_F(CliFilesTest, BackupWritesACvListWhenTheNameEndsInCsvAndRestoreTakesOne) {
    {
        SimStationProcess station;
        const std::string port = "--port " + station.device() + " ";
        ASSERT_EQ(runCli(port + "write 29=34 1=5").status, 0);
        const CliRun backup = runCli(port + "backup " + folder + "/loco.csv 29,1");
        EXPECT_EQ(backup.status, 0) << backup.out;
    }
    EXPECT_EQ(contents("loco.csv"), "CV,value\r\n1,5\r\n29,34\r\n");
    SimStationProcess fresh;
    const CliRun restore =
        runCli("--port " + fresh.device() + " restore " +
               write("jmri.csv", "\"CV, value\"\n1 , 7\n29,6,Config\n") + " --verify");
    EXPECT_EQ(restore.status, 0) << restore.out;
    EXPECT_EQ(fresh.receivedLines(), (std::vector<std::string>{"M", "R001", "P001 007", "R001",
                                                               "R029", "P029 006", "R029", "X"}));
}

} // namespace
