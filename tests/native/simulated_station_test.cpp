#include "line_splitter.h"
#include "sim_station_process.h"
#include "simulated_station.h"
#include "state_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const std::string prompt = "COMMAND: ";

std::array<uint8_t, SimulatedStation::cvCount> allCvs(const SimulatedStation& station) {
    std::array<uint8_t, SimulatedStation::cvCount> cvs{};
    for (int number = 1; number <= SimulatedStation::cvCount; ++number) {
        cvs[number - 1] = station.cv(number);
    }
    return cvs;
}

std::string makeTempDir() {
    std::string pattern = testing::TempDir() + "sim_station_XXXXXX";
    const char* made = mkdtemp(&pattern[0]);
    EXPECT_NE(made, nullptr);
    return pattern;
}

TEST(SimulatedStationTest, AnswersTheDriverCommands) {
    SimulatedStation station;
    EXPECT_EQ(station.answer("M").bytes, prompt);
    EXPECT_EQ(station.answer("X").bytes, prompt);
    EXPECT_EQ(station.answer("R029").bytes, "6\r\n" + prompt);
    EXPECT_EQ(station.answer("R001").bytes, "3\r\n" + prompt);
    EXPECT_EQ(station.answer("V").bytes, "NCE Powerhouse Pro simulator 1.0\r\n" + prompt);

    const StationReply write = station.answer("P029 038");
    EXPECT_EQ(write.bytes, prompt);
    EXPECT_TRUE(write.wroteCv);
    EXPECT_EQ(station.answer("R029").bytes, "38\r\n" + prompt);

    // Unpadded numbers, four-digit CVs and lower-case letters are understood as well.
    EXPECT_EQ(station.answer("p1024 255").bytes, prompt);
    EXPECT_EQ(station.answer("r1024").bytes, "255\r\n" + prompt);
    EXPECT_EQ(station.answer("P5 7").bytes, prompt);
    EXPECT_EQ(station.answer("R005").bytes, "7\r\n" + prompt);
    EXPECT_EQ(station.answer("m").bytes, prompt);

    station.setVersionText("Test station 2.5");
    EXPECT_EQ(station.answer("v").bytes, "Test station 2.5\r\n" + prompt);
}

TEST(SimulatedStationTest, StartsWithFactoryValues) {
    SimulatedStation station;
    EXPECT_EQ(station.cv(1), 3);
    EXPECT_EQ(station.cv(7), 42);
    EXPECT_EQ(station.cv(8), 11);
    EXPECT_EQ(station.cv(17), 192);
    EXPECT_EQ(station.cv(18), 3);
    EXPECT_EQ(station.cv(29), 6);
    const int outputMap[] = {1, 2, 4, 8, 16, 4, 8, 16, 4, 8};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(station.cv(33 + i), outputMap[i]) << "CV " << 33 + i;
    }
    EXPECT_EQ(station.cv(66), 128);
    EXPECT_EQ(station.cv(67), 9);
    EXPECT_EQ(station.cv(94), 255);
    for (int number = 68; number <= 94; ++number) {
        EXPECT_GT(station.cv(number), station.cv(number - 1)) << "CV " << number;
    }
    EXPECT_EQ(station.cv(95), 128);
    EXPECT_EQ(station.cv(513), 1);
    EXPECT_EQ(station.cv(519), 42);
    EXPECT_EQ(station.cv(520), 11);
    EXPECT_EQ(station.cv(1024), 0);
}

TEST(SimulatedStationTest, VersionAndManufacturerCannotBeWritten) {
    SimulatedStation station;
    for (const char* line : {"P007 001", "P008 099"}) {
        const StationReply reply = station.answer(line);
        EXPECT_EQ(reply.bytes, prompt) << line;
        EXPECT_FALSE(reply.wroteCv) << line;
    }
    EXPECT_EQ(station.answer("R007").bytes, "42\r\n" + prompt);
    EXPECT_EQ(station.answer("R008").bytes, "11\r\n" + prompt);
}

TEST(SimulatedStationTest, RefusesBadCommandsWithoutChangingAnything) {
    SimulatedStation station;
    const auto before = allCvs(station);
    // clang-format off
    const std::vector<std::string> lines = {
        "R000", "R1025", "R", "R029x", "R 029", "R0000029",
        "P000 001", "P1025 001", "P001 256", "P001 999999", "P001 1000000",
        "P029", "P029 ", "P029  006", "P029 006 ", "P029x006", "P-01 006",
        "Q", "MX", "V1", " M", "?", std::string(1, '\0')};
    // clang-format on
    for (const std::string& line : lines) {
        const StationReply reply = station.answer(line);
        EXPECT_EQ(reply.bytes, "?\r\n" + prompt) << "line: " << line;
        EXPECT_FALSE(reply.wroteCv) << "line: " << line;
    }
    EXPECT_EQ(allCvs(station), before);
}

TEST(SimulatedStationTest, OnlyReadsAndWritesAreProgrammingCommands) {
    EXPECT_TRUE(SimulatedStation::isProgrammingCommand("R029"));
    EXPECT_TRUE(SimulatedStation::isProgrammingCommand("p029 006"));
    EXPECT_FALSE(SimulatedStation::isProgrammingCommand("M"));
    EXPECT_FALSE(SimulatedStation::isProgrammingCommand("V"));
    EXPECT_FALSE(SimulatedStation::isProgrammingCommand(""));
}

TEST(LineSplitterTest, JoinsSplitReadsAndSeparatesJoinedLines) {
    LineSplitter splitter;
    EXPECT_TRUE(splitter.feed("R0", 2).empty());
    EXPECT_TRUE(splitter.feed("29", 2).empty());
    const std::string burst = "\r\nM\r\nP029 006\nX\rV\r\n\r\n\n";
    const auto lines = splitter.feed(burst.data(), burst.size());
    EXPECT_EQ(lines, (std::vector<std::string>{"R029", "M", "P029 006", "X", "V"}));
}

TEST(LineSplitterTest, OverlongLineIsCutAndStillRefused) {
    // Cutting the digits off the end of this line must not turn it into a write of 0.
    LineSplitter splitter;
    const std::string line = "P029 " + std::string(400, '0') + "6\r\n";
    const auto lines = splitter.feed(line.data(), line.size());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), LineSplitter::maxLineLength);
    SimulatedStation station;
    EXPECT_EQ(station.answer(lines[0]).bytes, "?\r\n" + prompt);
    EXPECT_EQ(station.cv(29), 6);

    const auto next = splitter.feed("R029\r\n", 6);
    EXPECT_EQ(next, std::vector<std::string>{"R029"});
}

// Every name the usage text offers parses, each to a fault of its own.
TEST(StationFaultTest, ParsesEveryNameItOffers) {
    std::set<StationFault> seen;
    std::stringstream names(stationFaultNames());
    for (std::string name; std::getline(names >> std::ws, name, ',');) {
        StationFault fault{};
        EXPECT_TRUE(parseStationFault(name.c_str(), fault)) << name;
        seen.insert(fault);
    }
    EXPECT_EQ(seen.size(), 12u);
    StationFault fault{};
    EXPECT_FALSE(parseStationFault("Silent", fault));
    EXPECT_FALSE(parseStationFault("", fault));
}

TEST(StationFaultTest, NoDecoderFailsReadsAndWrites) {
    SimulatedStation station;
    station.addFault(StationFault::NoDecoder);
    const std::string failure = "NO ACKNOWLEDGE FROM DECODER\r\n" + prompt;
    EXPECT_EQ(station.answer("R029").bytes, failure);
    const StationReply write = station.answer("P029 038");
    EXPECT_EQ(write.bytes, failure);
    EXPECT_FALSE(write.wroteCv);
    EXPECT_EQ(station.cv(29), 6);
    EXPECT_EQ(station.answer("M").bytes, prompt);
    EXPECT_EQ(station.answer("R2000").bytes, "?\r\n" + prompt);
}

// What a real station sends, line by line, in each answer style.
TEST(SimulatedStationTest, AnswersInTheStyleOfARealStation) {
    const std::string cnu = "COMMAND NOT UNDERSTOOD ****\r\n";
    const std::string nfd = "NO FEEDBACK DETECTED\r\n";
    struct Case {
        AnswerStyle style;
        const char* line;
        std::string bytes;
    } cases[] = {
        {AnswerStyle::Real, "M", "\r\n" + prompt},
        {AnswerStyle::Real, "R029", "\r\n006 \r\n" + prompt},
        {AnswerStyle::Real, "R067", "\r\n009 \r\n" + prompt},
        {AnswerStyle::Real, "P029 034", "\r\n" + prompt},
        {AnswerStyle::Real, "V", "\r\nNCE Powerhouse Pro simulator 1.0\r\n" + prompt},
        {AnswerStyle::Real, "Q", cnu + prompt},
        {AnswerStyle::Real, "R300", nfd + prompt}, // the deaf CV
        {AnswerStyle::Real, "P300 001", nfd + prompt},
        {AnswerStyle::RealNoPrompt, "Q", cnu},
        {AnswerStyle::RealNoPrompt, "R300", nfd},
        {AnswerStyle::RealNoPrompt, "R001", "\r\n003 \r\n" + prompt},
        {AnswerStyle::Plain, "R300", "NO ACKNOWLEDGE FROM DECODER\r\n" + prompt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SimulatedStation station;
        station.setAnswerStyle(c.style);
        station.addDeafCv(300);
        EXPECT_EQ(station.answer(c.line).bytes, c.bytes);
    }
    SimulatedStation station;
    station.setAnswerStyle(AnswerStyle::Real);
    station.addFault(StationFault::NoDecoder);
    EXPECT_EQ(station.answer("R001").bytes, nfd + prompt);
    EXPECT_FALSE(station.answer("P029 034").wroteCv);
    station.addFault(StationFault::NotUnderstood);
    for (const char* line : {"M", "R029", "P029 038", "V"})
        EXPECT_EQ(station.answer(line).bytes, cnu + prompt) << line;
    EXPECT_EQ(station.cv(29), 6);
    AnswerStyle style{};
    EXPECT_TRUE(parseAnswerStyle("real-no-prompt", style));
    EXPECT_EQ(style, AnswerStyle::RealNoPrompt);
    EXPECT_FALSE(parseAnswerStyle("Real", style));
}

TEST(StationFaultTest, SilentStationNeitherAnswersNorActs) {
    SimulatedStation station;
    station.addFault(StationFault::Silent);
    for (const char* line : {"M", "R029", "V", "Q"}) {
        EXPECT_EQ(station.answer(line).bytes, "") << line;
    }
    EXPECT_FALSE(station.answer("P029 038").wroteCv);
    EXPECT_EQ(station.cv(29), 6);
}

TEST(StationFaultTest, DoubledPromptLetterAffectsEveryPrompt) {
    SimulatedStation station;
    station.addFault(StationFault::DoubledPromptLetter);
    const std::string doubled = "C" + prompt;
    EXPECT_EQ(station.answer("M").bytes, doubled);
    EXPECT_EQ(station.answer("R029").bytes, "6\r\n" + doubled);
    EXPECT_EQ(station.answer("P029 038").bytes, doubled);
    EXPECT_EQ(station.answer("Q").bytes, "?\r\n" + doubled);
}

TEST(StationFaultTest, ValueOver255AndNulBytesGarbleReadAnswers) {
    SimulatedStation over;
    over.addFault(StationFault::ValueOver255);
    EXPECT_EQ(over.answer("R029").bytes, "300\r\n" + prompt);
    EXPECT_EQ(over.answer("P029 038").bytes, prompt);
    EXPECT_EQ(over.cv(29), 38);

    SimulatedStation nul;
    nul.addFault(StationFault::NulBytes);
    EXPECT_EQ(nul.answer("R029").bytes, std::string("\0\0", 2) + "6\r\n" + prompt);
    EXPECT_EQ(nul.answer("V").bytes, "NCE Powerhouse Pro simulator 1.0\r\n" + prompt);
}

TEST(StationFaultTest, OverlongPrecedesReadAndVersionAnswersWithNoise) {
    SimulatedStation station;
    station.addFault(StationFault::Overlong);
    const std::pair<const char*, std::string> cases[] = {
        {"R029", "6\r\n" + prompt},
        {"V", "NCE Powerhouse Pro simulator 1.0\r\n" + prompt},
    };
    for (const auto& [command, answer] : cases) {
        const std::string reply = station.answer(command).bytes;
        ASSERT_EQ(reply.size(), 900 + answer.size());
        EXPECT_EQ(reply.substr(900), answer);
        const std::string noise = reply.substr(0, 900);
        // The noise must hold neither the prompt nor a line end, or a reader would stop early.
        EXPECT_EQ(noise.find(prompt), std::string::npos);
        EXPECT_EQ(noise.find_first_of("\r\n:"), std::string::npos);
        for (const char c : noise) {
            ASSERT_TRUE(c >= 0x21 && c < 0x7f);
        }
    }
    EXPECT_EQ(station.answer("M").bytes, prompt);
    EXPECT_EQ(station.answer("P029 038").bytes, prompt);
}

TEST(StateFileTest, RoundTripsTheWholeTable) {
    const std::string dir = makeTempDir();
    const std::string path = dir + "/cvs.txt";
    SimulatedStation written;
    written.setCv(1, 77);
    written.setCv(7, 9);
    written.setCv(1024, 255);
    written.setCv(29, 0);
    std::string error;
    ASSERT_TRUE(saveStateFile(path, written, error)) << error;
    std::ifstream temporary(path + ".tmp");
    EXPECT_FALSE(temporary.good()) << "the temporary file was left behind";

    SimulatedStation loaded;
    loaded.setCv(500, 1);
    ASSERT_TRUE(loadStateFile(path, loaded, error)) << error;
    EXPECT_EQ(allCvs(loaded), allCvs(written));
    std::remove(path.c_str());
    rmdir(dir.c_str());
}

TEST(StateFileTest, SkipsMalformedLinesAndAcceptsAMissingFile) {
    const std::string dir = makeTempDir();
    const std::string path = dir + "/cvs.txt";
    {
        std::ofstream out(path);
        out << "29=38\r\n"
            << "garbage\n"
            << "1=256\n"
            << "0=5\n"
            << "1025=5\n"
            << "2=5x\n"
            << "=5\n"
            << "3=\n"
            << "4=-1\n"
            << "5 = 9\n"
            << "0000017=1\n"
            << "19=0000001\n"
            << "\n"
            << "67=200";
    }
    SimulatedStation station;
    const auto factory = allCvs(station);
    std::string error;
    ASSERT_TRUE(loadStateFile(path, station, error)) << error;
    auto expected = factory;
    expected[29 - 1] = 38;
    expected[67 - 1] = 200;
    EXPECT_EQ(allCvs(station), expected);

    SimulatedStation untouched;
    EXPECT_TRUE(loadStateFile(dir + "/missing.txt", untouched, error)) << error;
    EXPECT_EQ(allCvs(untouched), factory);
    // A directory in the way cannot be read or replaced; both must say so.
    EXPECT_FALSE(loadStateFile(dir, untouched, error));
    EXPECT_FALSE(saveStateFile(dir, untouched, error));
    std::remove(path.c_str());
    rmdir(dir.c_str());
}

// Reads from fd until the text ends with the prompt or the deadline passes.
TEST(StationFaultTest, ChatterReplacesEveryAnswerAndChangesNothing) {
    SimulatedStation station;
    station.addFault(StationFault::Chatter);
    for (const char* line : {"M", "R029", "P029 038", "V"}) {
        const StationReply reply = station.answer(line);
        EXPECT_TRUE(reply.chatter) << line;
        EXPECT_EQ(reply.bytes, "") << line;
        EXPECT_FALSE(reply.wroteCv) << line;
    }
    EXPECT_EQ(station.cv(29), 6);
}

// With several faults hitting every third answer, they take turns and the rest are sound.
TEST(StationFaultTest, FaultsEveryNthAnswerTakeTurns) {
    SimulatedStation station;
    station.addFault(StationFault::NoDecoder);
    station.addFault(StationFault::ValueOver255);
    station.addFault(StationFault::Chatter);
    station.setFaultEvery(3);
    const std::string sound = "6\r\n" + prompt;
    const std::string expected[] = {
        sound, sound, "NO ACKNOWLEDGE FROM DECODER\r\n" + prompt,
        sound, sound, "300\r\n" + prompt,
        sound, sound, "", // chatter
        sound, sound, "NO ACKNOWLEDGE FROM DECODER\r\n" + prompt,
    };
    for (const std::string& answer : expected) {
        const StationReply reply = station.answer("R029");
        EXPECT_EQ(reply.bytes, answer);
        EXPECT_EQ(reply.chatter, answer.empty());
    }
}

std::string readAnswer(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string text;
    while (text.size() < prompt.size() ||
           text.compare(text.size() - prompt.size(), prompt.size(), prompt) != 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd pfd{fd, POLLIN, 0};
        if (left.count() <= 0 || poll(&pfd, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buffer[256];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0) {
            break;
        }
        text.append(buffer, static_cast<size_t>(count));
    }
    return text;
}

TEST(SimulatedStationProcessTest, ServesClientsOnItsPseudoTerminalAndCleansUp) {
    const std::string dir = makeTempDir();
    const std::string linkPath = dir + "/com1";
    SimStationProcess station({"--link", linkPath});
    const std::string device = station.device();
    ASSERT_EQ(device.rfind("/dev/", 0), 0u) << "first line: " << device;

    // Through the device, then through the link after closing it: clients come and go.
    for (const std::string& path : {device, linkPath}) {
        const int fd = open(path.c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0) << path;
        // The native port claims exclusive use; the claim must not outlive this client.
        ASSERT_EQ(ioctl(fd, TIOCEXCL), 0);
        ASSERT_EQ(write(fd, "R029\r\n", 6), 6);
        EXPECT_EQ(readAnswer(fd), "6\r\n" + prompt) << path;
#ifdef TIOCGEXCL
        int exclusive = -1;
        ASSERT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 0) << "a non-root client could not reopen " << path;
#endif
        close(fd);
    }

    int reads = 0;
    for (const std::string& line : station.receivedLines()) {
        reads += line == "R029";
    }
    EXPECT_EQ(reads, 2);

    const int status = station.stop();
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 0);
    struct stat info {};
    EXPECT_NE(lstat(linkPath.c_str(), &info), 0) << "the link was left behind";
    rmdir(dir.c_str());
}

} // namespace
