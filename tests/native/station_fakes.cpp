#include "station_fakes.h"

#include <cstdio>
#include <cstring>

#include "binary_station.h"
#include "stations/station_manager.h"

SerialOpenStep FakeSerialPort::open(const char* name, uint32_t baudRate) {
    state_->openedName = name;
    state_->openedBaud = baudRate;
    state_->open = state_->openResult == serialOpened;
    return state_->openResult;
}

size_t FakeSerialPort::read(uint8_t* buffer, size_t count, unsigned waitMs) {
    state_->lastWaitMs = waitMs;
    FakeClock::now() += state_->readMs;
    size_t n = 0;
    while (n < count && !state_->incoming.empty()) {
        buffer[n++] = state_->incoming.front();
        state_->incoming.pop_front();
    }
    for (; n < count && !state_->chatter.empty(); ++state_->chatterSent)
        buffer[n++] =
            static_cast<uint8_t>(state_->chatter[state_->chatterSent % state_->chatter.size()]);
    if (n == 0)
        ++state_->timeouts;
    return n;
}

size_t FakeSerialPort::write(const uint8_t* data, size_t count) {
    size_t accepted = count < state_->writeLimit ? count : state_->writeLimit;
    std::string text(reinterpret_cast<const char*>(data), accepted);
    state_->written += text;
    state_->pendingLine += text;
    for (;;) {
        const std::string& pending = state_->pendingLine;
        size_t end = pending.find("\r\n");
        size_t ending = 2;
        // Binary commands start with a byte no command line starts with.
        if (state_->binary || (!pending.empty() && static_cast<uint8_t>(pending[0]) >= 0x80)) {
            end = pending.empty() ? 1 : binaryCommandLength(static_cast<uint8_t>(pending[0]));
            ending = 0;
        }
        if (end == std::string::npos || end > pending.size())
            break;
        std::string line = state_->pendingLine.substr(0, end);
        state_->pendingLine.erase(0, end + ending);
        if (state_->respond) {
            std::string answer = state_->respond(line);
            state_->incoming.insert(state_->incoming.end(), answer.begin(), answer.end());
        }
    }
    return accepted;
}

std::string hexText(const std::string& bytes) {
    std::string text;
    for (unsigned char byte : bytes) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%s%02X", text.empty() ? "" : " ", byte);
        text += pair;
    }
    return text;
}

std::string byteString(std::initializer_list<int> list) {
    std::string text;
    for (int byte : list)
        text += static_cast<char>(byte);
    return text;
}

std::string promptOnly(const std::string&) {
    return "COMMAND: ";
}

RecordedPauses::RecordedPauses()
    : previous_(setPauseHandler([](unsigned ms) { list().push_back(ms); })) {
    list().clear();
}
RecordedPauses::~RecordedPauses() {
    setPauseHandler(previous_);
}
std::vector<unsigned>& RecordedPauses::list() {
    static std::vector<unsigned> pauses;
    return pauses;
}

FakeClock::FakeClock() : previous_(setClockSource([] { return now(); })) {
    now() = 0;
}
FakeClock::~FakeClock() {
    setClockSource(previous_);
}
uint64_t& FakeClock::now() {
    static uint64_t milliseconds = 0;
    return milliseconds;
}

RecordedMessages::RecordedMessages()
    : previous_(setMessageBoxHandler([](WindowHandle owner, const char* text, const char* caption) {
          list().push_back({owner, text ? text : "", caption ? caption : ""});
      })) {
    list().clear();
}
RecordedMessages::~RecordedMessages() {
    setMessageBoxHandler(previous_);
}
TestStationList::TestStationList(SettingsStore& store, StationConstructor construct)
    : previousStore_(setSettingsStore(&store)),
      previousConstructor_(setStationConstructor(construct)) {}
TestStationList::~TestStationList() {
    saveAndShutdownStations();
    setStationConstructor(previousConstructor_);
    setSettingsStore(previousStore_);
}

std::vector<RecordedMessages::Message>& RecordedMessages::list() {
    static std::vector<Message> messages;
    return messages;
}

int32_t FakeDriver::open(const char* configuration) {
    calls.push_back(std::string("open:") + (configuration ? configuration : "(none)"));
    if (openResult != 0)
        setStationErrorText("fake open failed");
    return openResult;
}

int FakeDriver::close() {
    calls.push_back("close");
    return 0;
}

int FakeDriver::readCv(int32_t, uint8_t* value) {
    *value = readResult == 0 ? readValue : 0;
    setStationErrorText(readResult == 0 ? nullptr : "fake read failed");
    return readResult;
}

int FakeDriver::writeCv(int32_t, int) {
    setStationErrorText(nullptr);
    return readResult;
}

int FakeDriver::getVersion(StationVersionInfo* info) {
    info->marker = 1;
    std::strcpy(info->text, "fake 1.0");
    return 0;
}
