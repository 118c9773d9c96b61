#include "simulated_station.h"

#include "decimal_number.h"
#include "station_protocol.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

const char* const promptText = "COMMAND: ";
const char* const refusal = "?\r\n";
const char* const noDecoderText = "NO ACKNOWLEDGE FROM DECODER\r\n";
// A real station's words.
const char* const noFeedbackWords = "NO FEEDBACK DETECTED";
const char* const notUnderstoodWords = "COMMAND NOT UNDERSTOOD ****";
const char* const valueOver255Text = "300";
// Longer than any answer buffer of the driver, short enough that a version answer stays within
// the 1024 bytes the driver waits for one answer.
const std::size_t noiseLength = 900;
template <typename Value> struct NamedValue {
    const char* name;
    Value value;
};

// The value a command-line name stands for in a table of them; false when none.
template <typename Value, std::size_t count>
bool lookUpName(const NamedValue<Value> (&table)[count], const std::string& name, Value& value) {
    for (const auto& entry : table) {
        if (name == entry.name) {
            value = entry.value;
            return true;
        }
    }
    return false;
}

const NamedValue<StationFault> faultNames[] = {
    {"no-decoder", StationFault::NoDecoder},
    {"silent", StationFault::Silent},
    {"doubled-prompt-letter", StationFault::DoubledPromptLetter},
    {"value-over-255", StationFault::ValueOver255},
    {"nul-bytes", StationFault::NulBytes},
    {"overlong", StationFault::Overlong},
    {"chatter", StationFault::Chatter},
    {"not-understood", StationFault::NotUnderstood},
    {"short-circuit", StationFault::ShortCircuit},
    {"not-programming", StationFault::NotProgramming},
    {"truncated", StationFault::Truncated},
    {"stray-bytes", StationFault::StrayBytes},
};
const NamedValue<AnswerStyle> styleNames[] = {
    {"plain", AnswerStyle::Plain},
    {"real", AnswerStyle::Real},
    {"real-no-prompt", AnswerStyle::RealNoPrompt},
};

unsigned faultBit(StationFault fault) {
    return 1u << static_cast<unsigned>(fault);
}

// A freshly reset NCE mobile decoder, with its accessory half.
std::array<uint8_t, SimulatedStation::cvCount> factoryCvs() {
    std::array<uint8_t, SimulatedStation::cvCount> cvs{};
    auto set = [&cvs](int number, int value) { cvs[number - 1] = static_cast<uint8_t>(value); };
    const int decoderVersion = 42;
    const int nceManufacturerId = 11;
    set(1, 3);
    set(7, decoderVersion);
    set(8, nceManufacturerId);
    set(17, 192);
    set(18, 3);
    set(29, 6);
    // The NMRA default function-to-output mapping, CV 33 to CV 42.
    const int outputMap[] = {1, 2, 4, 8, 16, 4, 8, 16, 4, 8};
    for (int i = 0; i < 10; ++i) {
        set(33 + i, outputMap[i]);
    }
    set(66, 128);
    // A straight 28-step speed table, CV 67 to CV 94.
    for (int step = 1; step <= 28; ++step) {
        set(66 + step, static_cast<int>(std::lround(255.0 * step / 28)));
    }
    set(95, 128);
    set(513, 1);
    set(519, decoderVersion);
    set(520, nceManufacturerId);
    return cvs;
}

bool isCvNumber(int number) {
    return number >= 1 && number <= SimulatedStation::cvCount;
}

// "R" + CV number.
bool parseRead(const std::string& line, int& number) {
    std::size_t pos = 1;
    return parseDecimal(line, pos, number) && pos == line.size() && isCvNumber(number);
}

// "P" + CV number + space + value.
bool parseWrite(const std::string& line, int& number, int& value) {
    std::size_t pos = 1;
    if (!parseDecimal(line, pos, number) || pos == line.size() || line[pos] != ' ') {
        return false;
    }
    ++pos;
    return parseDecimal(line, pos, value) && pos == line.size() && isCvNumber(number) &&
           value <= 255;
}

char commandLetter(const std::string& line) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
}

// Letters only: no line end cuts the noise short, and without a colon the prompt cannot appear
// inside it.
std::string noiseText() {
    std::string noise;
    for (std::size_t i = 0; i < noiseLength; ++i) {
        noise += static_cast<char>('A' + i % 26);
    }
    return noise;
}

} // namespace

bool parseStationFault(const std::string& name, StationFault& fault) {
    return lookUpName(faultNames, name, fault);
}

bool parseAnswerStyle(const std::string& name, AnswerStyle& style) {
    return lookUpName(styleNames, name, style);
}

std::string stationFaultNames() {
    std::string names;
    for (const auto& entry : faultNames) {
        names += (names.empty() ? "" : ", ") + std::string(entry.name);
    }
    return names;
}

SimulatedStation::SimulatedStation() : cvs_(factoryCvs()) {}

void SimulatedStation::addFault(StationFault fault) {
    faults_ |= faultBit(fault);
}

bool SimulatedStation::hasFault(StationFault fault) const {
    return (faults_ & faultBit(fault)) != 0;
}

// Every nth answer takes the next configured fault in turn.
unsigned SimulatedStation::faultsForAnswer(long answer) const {
    if (faultEvery_ <= 0)
        return faults_;
    if (answer % faultEvery_ != 0 || faults_ == 0)
        return 0;
    std::vector<unsigned> bits;
    for (unsigned bit = 1; bit != 0; bit <<= 1)
        if (faults_ & bit)
            bits.push_back(bit);
    return bits[static_cast<std::size_t>(answer / faultEvery_ - 1) % bits.size()];
}

bool SimulatedStation::isDeaf(int number) const {
    return faulty(StationFault::NoDecoder) || deafCvs_.count(number) != 0;
}

bool SimulatedStation::takeFlakyRead() {
    ++reads_;
    lastReadFlaked_ = flakyEvery_ > 0 && reads_ % flakyEvery_ == 0 && !lastReadFlaked_;
    return lastReadFlaked_;
}

void SimulatedStation::startAnswer() {
    faultsNow_ = faultsForAnswer(++answers_);
}

bool SimulatedStation::faulty(StationFault fault) const {
    return (faultsNow_ & faultBit(fault)) != 0;
}

bool SimulatedStation::isProgrammingCommand(const std::string& line) {
    if (line.empty()) {
        return false;
    }
    const char letter = commandLetter(line);
    return letter == 'R' || letter == 'P';
}

StationReply SimulatedStation::answer(const std::string& line) {
    StationReply reply;
    if (line.empty()) {
        return reply;
    }
    startAnswer();
    if (faulty(StationFault::Silent)) {
        return reply;
    }
    if (faulty(StationFault::Chatter)) {
        reply.chatter = true;
        return reply;
    }
    const char letter = commandLetter(line);
    int number = 0;
    int value = 0;
    const std::string lineEnd = style_ == AnswerStyle::Plain ? "" : "\r\n";
    if (faulty(StationFault::NotUnderstood)) {
        reply.bytes = failure(notUnderstoodWords);
    } else if (line.size() == 1 && (letter == 'M' || letter == 'X')) {
        reply.bytes = lineEnd + prompt();
    } else if (line.size() == 1 && letter == 'V') {
        reply.bytes = lineEnd + noisePrefix() + versionText_ + "\r\n" + prompt();
    } else if (letter == 'R' && parseRead(line, number)) {
        reply.bytes = readAnswer(number, takeFlakyRead());
    } else if (letter == 'P' && parseWrite(line, number, value)) {
        reply = writeAnswer(number, value);
    } else if (style_ == AnswerStyle::Plain) {
        reply.bytes = refusal + prompt();
    } else {
        reply.bytes = failure(notUnderstoodWords);
    }
    return reply;
}

std::string SimulatedStation::prompt() const {
    if (faulty(StationFault::DoubledPromptLetter)) {
        return promptText[0] + std::string(promptText);
    }
    return promptText;
}

std::string SimulatedStation::failure(const char* words) const {
    return words + std::string("\r\n") + (style_ == AnswerStyle::RealNoPrompt ? "" : prompt());
}

std::string SimulatedStation::noisePrefix() const {
    return faulty(StationFault::Overlong) ? noiseText() : std::string();
}

std::string SimulatedStation::readAnswer(int number, bool flaky) const {
    std::string text = noisePrefix();
    const bool deaf = isDeaf(number) || flaky;
    if (deaf && style_ != AnswerStyle::Plain) {
        return text + failure(noFeedbackWords);
    }
    if (deaf) {
        return text + noDecoderText + prompt();
    }
    if (faulty(StationFault::NulBytes)) {
        text += std::string(2, '\0');
    }
    const std::string value = faulty(StationFault::ValueOver255)
                                  ? valueOver255Text
                                  : std::to_string(cv(reachedCv(number)));
    if (style_ == AnswerStyle::Plain) {
        return text + value + "\r\n" + prompt();
    }
    // Three digits between line ends, a blank after them.
    return text + "\r\n" + std::string(3 - std::min<std::size_t>(3, value.size()), '0') + value +
           " \r\n" + prompt();
}

StationReply SimulatedStation::writeAnswer(int number, int value) {
    StationReply reply;
    const bool deaf = isDeaf(number);
    if (deaf) {
        reply.bytes =
            style_ == AnswerStyle::Plain ? noDecoderText + prompt() : failure(noFeedbackWords);
        return reply;
    }
    // The decoder's version and manufacturer are burnt in: it accepts the write and keeps them.
    const int target = reachedCv(number);
    if (target != 7 && target != 8) {
        setCv(target, static_cast<uint8_t>(value));
        reply.wroteCv = true;
    }
    // An NCE decoder takes CV 30 = 2 as its factory reset.
    if (number == 30 && value == 2)
        cvs_ = factoryCvs();
    reply.bytes = (style_ == AnswerStyle::Plain ? "" : "\r\n") + prompt();
    return reply;
}

namespace {

const char versionCommand = '\xAA';

} // namespace

std::vector<std::string> AsciiProtocol::feed(const char* data, std::size_t size) {
    std::vector<std::string> commands;
    for (std::size_t i = 0; i < size; ++i) {
        const uint8_t byte = static_cast<uint8_t>(data[i]);
        if (binary_.empty() && splitter_.betweenLines() && MainTrackPackets::takes(byte)) {
            binary_ += data[i];
            continue;
        }
        if (!binary_.empty()) {
            binary_ += data[i];
            if (binary_.size() ==
                MainTrackPackets::commandLength(static_cast<uint8_t>(binary_[0]))) {
                commands.push_back(binary_);
                binary_.clear();
            }
            continue;
        }
        if (data[i] == versionCommand && splitter_.betweenLines()) {
            commands.emplace_back(1, versionCommand);
            continue;
        }
        for (std::string& line : splitter_.feed(data + i, 1))
            commands.push_back(std::move(line));
    }
    return commands;
}

StationReply AsciiProtocol::answer(const std::string& command) {
    const bool mainTrack =
        !command.empty() && MainTrackPackets::takes(static_cast<uint8_t>(command[0]));
    if (!mainTrack)
        mainTrack_.otherCommand();
    if (!mainTrack && (command.size() != 1 || command[0] != versionCommand))
        return station_.answer(command);
    StationReply reply;
    station_.startAnswer();
    if (station_.faulty(StationFault::Silent))
        return reply;
    if (mainTrack)
        return mainTrack_.answer(command);
    reply.bytes = versionAnswer_;
    return reply;
}
