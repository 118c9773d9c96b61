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
    PortsOnTheLine(std::shared_ptr<State> state, const Answers& answers)
        : FakeSerialPort(state), state_(std::move(state)), answers_(answers) {}
    SerialOpenStep open(const char* name, uint32_t baudRate) override {
        const auto& [slow, fast] = answers_.at(name);
        const std::string answer = baudRate == 9600 ? slow : fast;
        state_->binary = true;
        state_->openResult = answer == inUse ? serialCannotOpen : serialOpened;
        state_->respond = [answer](const std::string&) { return answer; };
        return FakeSerialPort::open(name, baudRate);
    }

  private:
    std::shared_ptr<State> state_;
    const Answers& answers_;
};

struct Search {
    StationSearchResult result;
    std::string story; // "COM3:9600 COM3:19200 => COM3 19200 binary ... | strange COM3"
};

Search search(const PortsOnTheLine::Answers& answers, size_t stopAfterTries = 99) {
    std::vector<std::string> ports;
    for (const auto& entry : answers)
        ports.push_back(entry.first);
    Search run;
    StationSearchCalls calls;
    calls.beforeTry = [&](const std::string& port, uint32_t baud) {
        run.story += port + ":" + std::to_string(baud) + " ";
        return stopAfterTries-- > 0;
    };
    calls.found = [&](const FoundStation& station) {
        run.story += "=> " + detectLine(station) + " ";
        return true;
    };
    auto state = std::make_shared<FakeSerialPort::State>();
    run.result = findStations(
        ports, [&] { return std::make_unique<PortsOnTheLine>(state, answers); }, calls);
    for (const std::string& port : run.result.cannotOpen)
        run.story += "| in use " + port + " ";
    for (const std::string& port : run.result.strangeAnswers)
        run.story += "| strange " + port + " ";
    return run;
}

// 9600, then 19200 unless a station answered; only three small bytes are a version.
TEST(StationFinder, TriesEachPortAtBothSpeedsAndKnowsAStationByItsVersion) {
    const std::pair<PortsOnTheLine::Answers, const char*> cases[] = {
        {{{"COM1", {"", ""}}, {"COM2", {"", ""}}}, "COM1:9600 COM1:19200 COM2:9600 COM2:19200 "},
        {{{"COM3", {"\xF0\x3F\xC8\x21\x99", {"\x06\x02\x01"}}}}, // noise, then the station
         "COM3:9600 COM3:19200 => COM3 19200 binary 6.2.1 Powerhouse Pro, EPROM 6.2.1 "
         "| strange COM3 "},
        {{{"A", {"\x06", "\x06\x02"}}}, "A:9600 A:19200 | strange A "},
        {{{"A", {"?\r\n", {"\x06\x02\x01\x00", 4}}}}, "A:9600 A:19200 | strange A "},
        {{{"B", {inUse, inUse}}, {"C", {"\x07\x03\x02", ""}}},
         "B:9600 C:9600 => C 9600 none 7.3.2 SB5 1.65 through the USB interface | in use B "},
        {{{"D", {{"\x06\x00\x00", 3}, ""}}, {"E", {{"\x08\x00\x00", 3}, ""}}},
         "D:9600 => D 9600 ascii 6.0.0 Powerhouse Pro, EPROM 6.0.0 "
         "E:9600 => E 9600 binary 8.0.0 NCE station of unknown version 8.0.0 "},
    };
    for (const auto& [answers, story] : cases)
        EXPECT_EQ(search(answers).story, story);
    // Escape between tries ends the search at once.
    const Search stopped = search({{"COM1", {"", ""}}, {"COM2", {"\x06\x02\x01", ""}}}, 2);
    EXPECT_EQ(stopped.story, "COM1:9600 COM1:19200 COM2:9600 ");
    EXPECT_FALSE(stopped.result.complete);
}

// What the user reads: the question for a station found, and what was tried when none was.
TEST(StationFinder, TellsTheUserWhatWasFoundOrWhatToCheck) {
    const struct {
        std::string answer;
        StationTag driver;
        const char* question;
    } found[] = {
        {std::string("\x04\x00\x02", 3), NceDriver::tag,
         "Found an NCE Powerhouse Pro, EPROM 4.0.2, on COM3 at 9600 baud. It programs through "
         "the ASCII driver. Use it?"},
        {std::string("\x08\x00\x00", 3), NceBinaryDriver::tag,
         "Found an NCE station of unknown version 8.0.0, on COM3 at 9600 baud. Its version is "
         "unknown, so it gets the binary driver's rules. Use it?"},
    };
    for (const auto& f : found) {
        const FoundStation station = search({{"COM3", {f.answer, ""}}}).result.found.at(0);
        EXPECT_EQ(foundStationQuestion(station), f.question);
        EXPECT_EQ(driverTagFor(station), f.driver) << f.question;
    }

    const Search none =
        search({{"COM1", {"", ""}}, {"COM2", {inUse, inUse}}, {"COM4", {"\x06", ""}}});
    EXPECT_EQ(noStationFoundText({"COM1", "COM2", "COM4"}, none.result),
              "No NCE station answered on COM1, COM2 and COM4 at 9600 or 19200 baud. COM2 could "
              "not be opened: another program may be using it. Something answered on COM4, but "
              "not as an NCE station does.\n\nCheck that the station is switched on, that the "
              "cable is plugged in at both ends, and for a USB interface that its driver is "
              "installed.");
}

} // namespace
