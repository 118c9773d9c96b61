#include <gtest/gtest.h>

#include <map>

#include "station_fakes.h"
#include "stations/nce_binary_driver.h"
#include "stations/nce_driver.h"
#include "stations/station_finder.h"

namespace {

const std::string inUse = "in use";

// Ports by name, each answering AA at 9600 and at 19200 baud as its row says, or in use.
class PortsOnTheLine : public FakeSerialPort {
  public:
    using Answers = std::map<std::string, std::pair<std::string, std::string>>;
    PortsOnTheLine(std::shared_ptr<State> state, Answers answers)
        : FakeSerialPort(state), state_(std::move(state)), answers_(std::move(answers)) {
        state_->binary = true;
    }
    SerialOpenStep open(const char* name, uint32_t baudRate) override {
        const auto& answers = answers_[name];
        const std::string answer = baudRate == 9600 ? answers.first : answers.second;
        state_->openResult = answer == inUse ? serialCannotOpen : serialOpened;
        state_->respond = [answer](const std::string&) { return answer; };
        return FakeSerialPort::open(name, baudRate);
    }

  private:
    std::shared_ptr<State> state_;
    Answers answers_;
};

struct Search {
    StationSearchResult result;
    std::string tries;
    std::string found;
};

Search search(const PortsOnTheLine::Answers& answers, size_t stopAfterTries = 99) {
    std::vector<std::string> ports;
    for (const auto& entry : answers)
        ports.push_back(entry.first);
    Search run;
    size_t tries = 0;
    StationSearchCalls calls;
    calls.beforeTry = [&](const std::string& port, uint32_t baud) {
        run.tries += port + ":" + std::to_string(baud) + " ";
        return ++tries <= stopAfterTries;
    };
    calls.found = [&](const FoundStation& station) {
        run.found += detectLine(station) + "|";
        return true;
    };
    auto state = std::make_shared<FakeSerialPort::State>();
    run.result = findStations(
        ports, [&] { return std::make_unique<PortsOnTheLine>(state, answers); }, calls);
    return run;
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += name + " ";
    return text;
}

// Each port tried at 9600, then 19200 unless a station answered; only three small bytes are a
// version.
TEST(StationFinder, TriesEachPortAtBothSpeedsAndKnowsAStationByItsVersion) {
    struct Case {
        const char* why;
        PortsOnTheLine::Answers answers;
        const char* tries;
        const char* found;
        const char* cannotOpen;
        const char* strange;
    } cases[] = {
        {"silent ports",
         {{"COM1", {"", ""}}, {"COM2", {"", ""}}},
         "COM1:9600 COM1:19200 COM2:9600 COM2:19200 ",
         "",
         "",
         ""},
        {"noise at 9600, the station at 19200",
         {{"COM3", {"\xF0\x3F\xC8\x21\x99", {"\x06\x02\x01"}}}},
         "COM3:9600 COM3:19200 ",
         "COM3 19200 binary 6.2.1 Powerhouse Pro, EPROM 6.2.1|",
         "",
         "COM3 "},
        {"one byte, two bytes", {{"A", {"\x06", "\x06\x02"}}}, "A:9600 A:19200 ", "", "", "A "},
        {"text, and four bytes",
         {{"A", {"?\r\n", {"\x06\x02\x01\x00", 4}}}},
         "A:9600 A:19200 ",
         "",
         "",
         "A "},
        {"a port in use is tried once",
         {{"B", {inUse, inUse}}, {"C", {"\x07\x03\x02", ""}}},
         "B:9600 C:9600 ",
         "C 9600 none 7.3.2 SB5 1.65 through the USB interface|",
         "B ",
         ""},
        {"an old EPROM and an unknown version",
         {{"D", {{"\x06\x00\x00", 3}, ""}}, {"E", {{"\x08\x00\x00", 3}, ""}}},
         "D:9600 E:9600 ",
         "D 9600 ascii 6.0.0 Powerhouse Pro, EPROM 6.0.0|"
         "E 9600 binary 8.0.0 NCE station of unknown version 8.0.0|",
         "",
         ""},
    };
    for (const Case& c : cases) {
        const Search run = search(c.answers);
        EXPECT_EQ(run.tries, c.tries) << c.why;
        EXPECT_EQ(run.found, c.found) << c.why;
        EXPECT_EQ(joined(run.result.cannotOpen), c.cannotOpen) << c.why;
        EXPECT_EQ(joined(run.result.strangeAnswers), c.strange) << c.why;
        EXPECT_TRUE(run.result.complete) << c.why;
    }
}

// What the user reads: the question for a station found, and what was tried when none was.
TEST(StationFinder, TellsTheUserWhatWasFoundOrWhatToCheck) {
    const struct {
        std::string answer;
        StationTag driver;
        const char* question;
    } found[] = {
        {"\x06\x02\x01", NceBinaryDriver::tag,
         "Found an NCE Powerhouse Pro, EPROM 6.2.1, on COM3 at 9600 baud. It programs through "
         "the binary driver. Use it?"},
        {std::string("\x04\x00\x02", 3), NceDriver::tag,
         "Found an NCE Powerhouse Pro, EPROM 4.0.2, on COM3 at 9600 baud. It programs through "
         "the ascii driver. Use it?"},
        {std::string("\x08\x00\x00", 3), NceBinaryDriver::tag,
         "Found an NCE station of unknown version 8.0.0, on COM3 at 9600 baud. Its version is "
         "unknown, so it gets the binary driver's rules. Use it?"},
    };
    for (const auto& f : found) {
        const Search run = search({{"COM3", {f.answer, ""}}});
        ASSERT_EQ(run.result.found.size(), 1u) << f.question;
        EXPECT_EQ(foundStationQuestion(run.result.found[0]), f.question);
        EXPECT_EQ(driverTagFor(run.result.found[0]), f.driver) << f.question;
    }

    const Search none =
        search({{"COM1", {"", ""}}, {"COM2", {inUse, inUse}}, {"COM4", {"\x06", ""}}});
    EXPECT_EQ(noStationFoundText({"COM1", "COM2", "COM4"}, none.result),
              "No NCE station answered on COM1, COM2 and COM4 at 9600 or 19200 baud. COM2 could "
              "not be opened: another program may be using it. Something answered on COM4, but "
              "not as an NCE station does.\n\nCheck that the station is switched on, that the "
              "cable is plugged in at both ends, and for a USB interface that its driver is "
              "installed.");

    // Escape between tries ends the search at once.
    const Search stopped = search({{"COM1", {"", ""}}, {"COM2", {"\x06\x02\x01", ""}}}, 2);
    EXPECT_EQ(stopped.tries, "COM1:9600 COM1:19200 COM2:9600 ");
    EXPECT_EQ(stopped.found, "");
    EXPECT_FALSE(stopped.result.complete);
}

} // namespace
