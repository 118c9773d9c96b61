#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli_arguments.h"
#include "cli_runner.h"
#include "sim_station_process.h"
#include "stations/main_track_target.h"

namespace {

bool parse(std::vector<const char*> words, CliRequest& request, std::string& error) {
    words.insert(words.begin(), "velquist-cli");
    return parseCliArguments(static_cast<int>(words.size()), words.data(), request, error);
}

TEST(CliArguments, AcceptsTheThreeCommands) {
    CliRequest request;
    std::string error;
    ASSERT_TRUE(
        parse({"--port", "/dev/ttyUSB0", "--baud", "19200", "read", "1", "1024"}, request, error))
        << error;
    EXPECT_EQ(request.port, "/dev/ttyUSB0");
    EXPECT_EQ(request.baudIndex, 1);
    EXPECT_EQ(request.command, CliRequest::Command::read);
    EXPECT_EQ(request.cvs, (std::vector<std::pair<int, int>>{{1, 0}, {1024, 0}}));

    CliRequest writes;
    ASSERT_TRUE(parse({"write", "29=6", "3=255", "4=0"}, writes, error)) << error;
    EXPECT_EQ(writes.port, "/dev/ttyS0");
    EXPECT_EQ(writes.baudIndex, 0);
    EXPECT_EQ(writes.cvs, (std::vector<std::pair<int, int>>{{29, 6}, {3, 255}, {4, 0}}));

    CliRequest version;
    ASSERT_TRUE(parse({"version"}, version, error));
    EXPECT_EQ(version.command, CliRequest::Command::version);
    EXPECT_FALSE(version.binaryProtocol);

    const std::pair<const char*, bool> protocols[] = {{"binary", true}, {"ascii", false}};
    for (const auto& [protocol, binary] : protocols) {
        CliRequest chosen;
        ASSERT_TRUE(parse({"--protocol", protocol, "backup", "f.dcc"}, chosen, error)) << error;
        EXPECT_EQ(chosen.binaryProtocol, binary);
    }

    CliRequest detect;
    ASSERT_TRUE(parse({"--protocol", "auto", "detect"}, detect, error)) << error;
    EXPECT_EQ(detect.command, CliRequest::Command::detect);
    EXPECT_TRUE(detect.autoProtocol);
    EXPECT_FALSE(detect.portGiven);
}

TEST(CliArguments, RejectsBadInputWithAReason) {
    std::vector<std::vector<const char*>> bad = {
        {},
        {"read"},
        {"read", "0"},
        {"read", "1025"},
        {"read", "12x"},
        {"read", "-1"},
        {"read", "99999999999999999999"},
        {"write", "29"},
        {"write", "29=256"},
        {"write", "29=-1"},
        {"write", "=5"},
        {"--baud", "4800", "version"},
        {"--port"},
        {"--port", "", "version"},
        {"--speed", "9600", "version"},
        {"--protocol", "Binary", "version"},
        {"--protocol"},
        {"version", "extra"},
        {"erase", "1"},
    };
    for (const auto& words : bad) {
        CliRequest request;
        std::string error;
        EXPECT_FALSE(parse(words, request, error)) << (words.empty() ? "" : words[0]);
        EXPECT_FALSE(error.empty());
    }
}

// Which decoder on the main each address names, and the commands that would need to read it.
TEST(CliArguments, OnMainTakesAnAddressAndRefusesReading) {
    struct Case {
        std::vector<const char*> words;
        const char* target; // the decoder's name, or the error's start
    } cases[] = {
        {{"--on-main", "3", "write", "29=34"}, "locomotive 3"},
        {{"--on-main", "0003", "write", "29=34"}, "locomotive 0003 (long)"},
        {{"--on-main", "128", "restore", "f.dcc"}, "locomotive 128"},
        {{"--on-main-accessory", "2044", "write", "514=3"}, "accessory 2044"},
        {{"--on-main", "0", "write", "1=3"}, "--on-main: A locomotive address is 1 to 127"},
        {{"--on-main-accessory", "2045", "write", "1=3"},
         "--on-main-accessory: An accessory address is 1 to 2044"},
        {{"--on-main", "3", "--on-main-accessory", "5", "write", "1=3"},
         "one decoder on the main at a time"},
        {{"--on-main", "3", "read", "1"}, "nothing can be read back on the main: 'read'"},
        {{"--on-main", "3", "backup", "f.dcc"}, "nothing can be read back on the main: 'backup'"},
        {{"--on-main", "3", "detect"}, "nothing can be read back on the main: 'detect'"},
        {{"--on-main", "3", "restore", "f.dcc", "--verify"},
         "nothing can be read back on the main: 'restore --verify'"},
        {{"write", "1=3", "--on-main", "3"}, "options go before the command: '--on-main'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        CliRequest request;
        std::string error;
        if (parse(c.words, request, error))
            EXPECT_EQ(mainTrackTargetName(request.target), c.target);
        else
            EXPECT_EQ(error.rfind(c.target, 0), 0u) << error;
    }
}

// The reason names the real mistake, not what the misplaced word looked like to the command.
TEST(CliArguments, NamesOptionsAfterTheCommandMissingValuesAndTextsACvListCannotHold) {
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"read", "1", "--protocol", "binary"}, "options go before the command: '--protocol'"},
        {{"detect", "--port", "COM2"}, "options go before the command: '--port'"},
        {{"--port", "--baud", "9600", "version"}, "--port needs a value"},
        {{"backup", "f.csv", "--notes", "x"},
         "a CV list (f.csv) cannot hold --name, --owner or --notes: back up into a decoder file"},
    };
    for (const auto& [words, reason] : cases) {
        CliRequest request;
        std::string error;
        EXPECT_FALSE(parse(words, request, error)) << reason;
        EXPECT_EQ(error, reason);
    }
}

TEST(Cli, ReadsWritesAndAsksForTheVersion) {
    SimStationProcess station;
    std::string port = "--port " + station.device() + " ";
    CliRun write = runCli(port + "write 29=34 1=255");
    EXPECT_EQ(write.status, 0) << write.out;
    CliRun read = runCli(port + "--baud 19200 read 29 1 8");
    EXPECT_EQ(read.status, 0) << read.out;
    EXPECT_EQ(read.out, "29=34\n1=255\n8=11\n");
    CliRun version = runCli(port + "version");
    EXPECT_EQ(version.out, "NCE Powerhouse Pro simulator 1.0\n");
}

TEST(Cli, StopsAtTheFirstFailureAndLeavesThePortAloneOnBadArguments) {
    SimStationProcess station({"--fault", "no-decoder"});
    std::string port = "--port " + station.device() + " ";
    CliRun bad = runCli(port + "write 29=300");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("usage: velquist-cli"), std::string::npos);
    EXPECT_TRUE(station.receivedLines().empty());

    CliRun failed = runCli(port + "read 1 2");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "error: NO ACKNOWLEDGE FROM DECODER\n");
    EXPECT_EQ(station.receivedLines(), (std::vector<std::string>{"M", "R001", "X"}));

    // Where a write of several CVs stopped, and what it never sent.
    SimStationProcess deaf({"--no-feedback-cv", "3"});
    CliRun partly = runCli("--port " + deaf.device() + " write 29=6 3=5 4=1 5=2");
    EXPECT_EQ(partly.status, 1);
    EXPECT_EQ(partly.out, "29=6 (was 6)\nerror: CV 3: NO ACKNOWLEDGE FROM DECODER\nwritten: CV 29\n"
                          "failed: CV 3\nnot tried: CV 4, CV 5\n");

    CliRun missing = runCli("--port /dev/velquist-no-such-port read 1");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "error: Error opening port\n");
}

// On the main the ASCII station's decoder (short address 3) takes only what is addressed to it.
TEST(Cli, WritesOnTheMainOnlyToTheAddressedDecoder) {
    SimStationProcess station;
    std::string port = "--port " + station.device() + " ";
    CliRun written = runCli(port + "--on-main 3 write 5=200 6=9");
    EXPECT_EQ(written.status, 0) << written.out;
    EXPECT_EQ(written.out, "5=200 written on the main (not verified)\n"
                           "6=9 written on the main (not verified)\n");
    EXPECT_EQ(runCli(port + "--on-main 0003 write 5=7").status, 0);
    EXPECT_EQ(runCli(port + "read 5 6").out, "5=200\n6=9\n");
}

// Each command through the binary driver, against a Powerhouse Pro 6.2.1 and a Power Cab, and
// the failures that reach the user as this driver's own messages.
TEST(Cli, BinaryProtocolReadsWritesBacksUpAndRestores) {
    SimStationProcess station({"--protocol", "binary", "--system", "powerhouse-pro-6.2.1"});
    std::string port = "--protocol binary --port " + station.device() + " ";
    EXPECT_EQ(runCli(port + "version").out, "6.2.1 (Powerhouse Pro, EPROM 6.2.1)\n");
    EXPECT_EQ(station.receivedLines(), std::vector<std::string>{"AA"}); // no 9E, no 9F
    CliRun write = runCli(port + "write 29=34 1=255");
    EXPECT_EQ(write.status, 0) << write.out;
    EXPECT_EQ(runCli(port + "read 29 1 8").out, "29=34\n1=255\n8=11\n");
    const std::string file = testing::TempDir() + "binary_backup.dcc";
    CliRun backup = runCli(port + "backup " + file + " 1-8,29");
    EXPECT_EQ(backup.status, 0) << backup.out;
    runCli(port + "write 29=6");
    CliRun restore = runCli(port + "restore " + file + " --verify");
    EXPECT_EQ(restore.status, 0) << restore.out;
    EXPECT_EQ(runCli(port + "read 29").out, "29=34\n");
    std::remove(file.c_str());

    SimStationProcess shorted({"--protocol", "binary", "--fault", "short-circuit"});
    CliRun failed = runCli("--protocol binary --port " + shorted.device() + " read 1");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "error: Short circuit on the programming track\n");
    EXPECT_EQ(shorted.receivedLines(), (std::vector<std::string>{"AA", "9E", "9F"}));

    // What the station table says reaches the shell in its words: no question, a note on the
    // Power Cab's single track; the option to give for a station that programs through ASCII.
    const std::pair<const char*, const char*> systems[] = {
        {"power-cab-usb-7.3.3", "note: The Power Cab programs every locomotive on its track. Only "
                                "the locomotive to program should be on it.\n29=6\n"},
        {"powerhouse-pro-6.0.0", "error: This Powerhouse Pro (EPROM 6.0.0) programs decoders "
                                 "through the ASCII driver: give --protocol ascii\n"},
    };
    for (const auto& [system, out] : systems) {
        SimStationProcess other({"--protocol", "binary", "--system", system});
        EXPECT_EQ(runCli("--protocol binary --port " + other.device() + " read 29").out, out);
    }
}

// detect and --protocol auto against EPROMs that program through the binary and ASCII sets.
TEST(Cli, DetectsTheStationAndChoosesItsDriver) {
    const struct {
        std::vector<std::string> options;
        const char* found;
        std::vector<std::string> wire;
    } cases[] = {
        {{"--protocol", "binary", "--system", "powerhouse-pro-6.2.1"},
         " 9600 binary 6.2.1 Powerhouse Pro, EPROM 6.2.1\n",
         {"AA", "AA", "AA", "9E", "A9 00 08", "9F"}},
        {{"--system", "powerhouse-pro-6.0.0"},
         " 9600 ascii 6.0.0 Powerhouse Pro, EPROM 6.0.0\n",
         {"AA", "AA", "M", "R008", "X"}},
    };
    for (const auto& c : cases) {
        SimStationProcess station(c.options);
        const std::string port = "--port " + station.device() + " ";
        EXPECT_EQ(runCli(port + "detect").out, station.device() + c.found);
        EXPECT_EQ(runCli(port + "--protocol auto read 8").out, "8=11\n");
        EXPECT_EQ(station.receivedLines(), c.wire) << c.found;
    }
    CliRun nothing = runCli("--port /dev/velquist-no-such-port detect");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.out.find("no-such-port could not be opened"), std::string::npos);
}

// Every command ends with the message of its command on a line that chatters instead of
// answering ("CO" every millisecond: each wait ends at the byte limit).
TEST(Cli, EveryCommandEndsOnAChatteringLine) {
    SimStationProcess station({"--fault", "chatter", "--chatter-ms", "1"});
    std::string port = "--port " + station.device() + " ";
    const std::string hint = ": the station did not answer. Is it switched on, and are port and "
                             "speed right? Else run velquist-cli detect.\n";
    const std::pair<const char*, std::string> cases[] = {
        {"read 1", "error: ERROR ENTERING PROGRAM MODE" + hint},
        {"write 1=3", "error: ERROR ENTERING PROGRAM MODE" + hint},
        {"version", "error: ERROR ENTERING MAIN MODE" + hint},
    };
    for (const auto& [command, out] : cases) {
        CliRun run = runCli(port + command);
        EXPECT_EQ(run.status, 1) << command;
        EXPECT_EQ(run.out, out) << command;
    }
}

// Identify, then the journal's way back: undo walks back one write action at a time, refuses when
// the decoder was changed behind the journal's back, and diff compares the decoder with a file.
TEST(Cli, IdentifiesUndoesAndComparesAgainstTheSimulatedStation) {
    const std::string journal = testing::TempDir() + "cli_undo_journal.csv";
    std::remove(journal.c_str());
    setenv("VELQUIST_JOURNAL", journal.c_str(), 1);
    SimStationProcess station;
    const std::string port = "--port " + station.device() + " ";
    const std::string file = testing::TempDir() + "cli_diff.csv";
    std::FILE* csv = std::fopen(file.c_str(), "w");
    std::fputs("CV,value\n1,3\n3,9\n29,6\n300,1\n", csv);
    std::fclose(csv);
    const struct {
        std::string arguments;
        int status;
        std::string out;
    } steps[] = {
        {"identify", 0, "manufacturer: NCE Corporation (11)\nversion: 42\naddress: 3 (short)\n"},
        {"undo", 1,
         "error: nothing to undo: the journal " + journal +
             " holds no write on the programming track that is not yet undone\n"},
        {"write 8=8", 2,
         "velquist-cli: writing CV 8 resets most decoders to their factory "
         "settings: use `velquist-cli reset`; "},
        {"write 3=5 4=6", 0, "3=5 (was 0)\n4=6 (was 0)\n"},
        {"write 3=9 --no-read-first", 0, "3=9\n"},
        {"diff " + file, 1, "CV 300: not read (above the station's CV limit of 255)\n"},
        {"undo", 0, "undo: CV 3: left alone, its value before was not known\n"},
        {"undo", 1,
         "undo: error: not undone: the decoder no longer holds what velquist-cli write "
         "wrote: CV 3 holds 9, not 5\n"},
        {"write 29=34", 0, "29=34 (was 6)\n"},
        {"undo", 0, "undo: 29=6 (was 34)\n"},
        {"reset", 2,
         "Reset the NCE Corporation decoder (ID 11) to its factory settings by writing "
         "CV 30 = 2?\n\nEvery setting returns to the maker's, and the address to 3.\n"
         "Nothing was written: give --yes to reset the decoder.\n"},
        {"reset --backup " + file + " --yes", 0,
         "wrote " + file +
             ": 61 CVs\nreset: wrote CV 30 = 2\nSwitch the track power off and on, "
             "then Read.\n"},
        {"diff " + file, 1, "CV 3: file 9, decoder 0\n"}, // the backup, against the reset decoder
        {"undo", 1,
         "undo: error: not undone: the decoder no longer holds what velquist-cli write "
         "wrote: CV 3 holds 0, not 5, CV 4 holds 0, not 6\n"},
    };
    for (const auto& step : steps) {
        CliRun run = runCli((step.arguments == "write 8=8" ? "" : port) + step.arguments);
        EXPECT_EQ(run.status, step.status) << step.arguments << "\n" << run.out;
        // An undo's first line names the action with its time; the rest is what it did.
        std::string out = run.out;
        if (step.arguments == "undo" && out.compare(0, 6, "undo: ") == 0)
            out = "undo: " + out.substr(out.find('\n') + 1);
        EXPECT_EQ(out.substr(0, step.out.size()), step.out) << step.arguments;
    }
    std::remove(file.c_str());
    std::remove(journal.c_str());
}

} // namespace
