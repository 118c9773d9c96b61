#include "stations/nce_binary_driver.h"

#include <cstdio>
#include <string>

#include "foundation/pause.h"
#include "stations/station_advice.h"
#include "stations/station_manager.h"

namespace {

constexpr uint8_t enterProgrammingCommand = 0x9E;
constexpr uint8_t leaveProgrammingCommand = 0x9F;
constexpr uint8_t directWriteCommand = 0xA8;
constexpr uint8_t directReadCommand = 0xA9;
constexpr uint8_t versionCommand = 0xAA;
constexpr uint8_t doneAnswer = '!';
// A read answered FF then '3' found nothing to read.
constexpr uint8_t nothingReadValue = 0xFF;
constexpr uint8_t nothingReadCode = '3';
constexpr uint8_t shortCircuitCode = '3';
constexpr uint8_t notSupportedCode = '0';

// JMRI's deadline for direct mode and the mode and version commands; a real programming track
// answers a read within a second.
constexpr int defaultAnswerWaitSeconds = 10;
// A station sends an answer in one piece: its bytes follow each other within a millisecond or
// two, so a longer gap means the answer has ended.
constexpr unsigned answerGapMs = 200;
// The programming track needs a second after it is switched on before the first CV command.
constexpr unsigned programmingSettleMs = 1000;
// At close nothing depends on the answer to 9F; the wait lets the station finish first.
constexpr unsigned closeWaitMs = 1000;
// Enough of a wrong answer to show the user what came.
constexpr size_t shownAnswerCapacity = 48;

const char* const errorMeanings[] = {"command not supported", "address out of range",
                                     "cab or op code out of range", "CV or data out of range",
                                     "byte count out of range"};

// Which command a station refused: the same error byte means different things.
enum class Refused { enterProgramming, cvCommand, versionQuery };

bool isErrorCode(uint8_t byte) {
    return byte >= '0' && byte <= '4';
}

// What an ASCII-only station sends back ("COMMAND NOT UNDERSTOOD"): printable text with a word
// in it. Binary answers hold at most two letters in a row, even behind an accessory broadcast
// ("a5A", then a value and "!").
bool looksLikeText(const uint8_t* bytes, size_t length) {
    size_t run = 0;
    size_t longestRun = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t byte = bytes[i];
        if ((byte < 0x20 || byte > 0x7E) && byte != '\r' && byte != '\n')
            return false;
        const bool letter = (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
        run = letter ? run + 1 : 0;
        longestRun = run > longestRun ? run : longestRun;
    }
    return longestRun >= 3;
}

std::string hexBytes(const uint8_t* bytes, size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%s%02X", i ? " " : "", bytes[i]);
        text += pair;
    }
    return text;
}

std::string shownText(const uint8_t* bytes, size_t length) {
    std::string text;
    for (size_t i = 0; i < length; ++i)
        if (bytes[i] != '\r' && bytes[i] != '\n')
            text += static_cast<char>(bytes[i]);
        else if (!text.empty() && text.back() != ' ')
            text += ' ';
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

void setRefusal(uint8_t code, Refused command) {
    if (command == Refused::enterProgramming && code == shortCircuitCode) {
        setStationErrorText("Short circuit on the programming track");
        return;
    }
    if (command == Refused::enterProgramming && code == notSupportedCode) {
        setStationErrorText("The NCE station cannot enter programming mode (answer 0): it has no "
                            "programming track on this line");
        return;
    }
    if (command == Refused::cvCommand && code == notSupportedCode) {
        setStationErrorText("The NCE station was not in programming mode (answer 0)");
        return;
    }
    char text[100];
    std::snprintf(text, sizeof text, "The NCE station refused the command (answer %c: %s)", code,
                  errorMeanings[code - '0']);
    setStationErrorText(text);
}

std::string noAnswerText() {
    return "No answer from the NCE station: is it switched on, and are port and speed right? "
           "Else " +
           findStationAdvice() + ".";
}

void setNonsense(const uint8_t* answer, size_t length) {
    setStationErrorText(
        ("The NCE station's answer makes no sense: " + hexBytes(answer, length)).c_str());
}

} // namespace

NceBinaryDriver::NceBinaryDriver() : NceBinaryDriver(createSerialPort()) {}

NceBinaryDriver::NceBinaryDriver(std::unique_ptr<SerialPort> port)
    : NceStationDriver("NCE Corporation - Powerhouse Pro 2006+ / Power Cab (binary)",
                       std::move(port), TrafficLogStyle::hex, defaultAnswerWaitSeconds) {}

NceTestTexts NceBinaryDriver::testTexts() const {
    return {"Communication with the NCE station OK", "NCE",
            "Cannot communicate with the NCE station"};
}

// A new connection may lead to another station: nothing known of the last one holds.
void NceBinaryDriver::opened(int32_t) {
    sentEnter_ = false;
    singleTrackConfirmed_ = false;
    programming_ = false;
    versionKnown_ = false;
    versionAsked_ = false;
}

int NceBinaryDriver::close() {
    if (sentEnter_)
        leaveProgramming();
    finishClose();
    opened(0);
    return 0;
}

// 9F can crash an EPROM older than 2006, so only a station that was sent 9E gets it.
void NceBinaryDriver::leaveProgramming() {
    KeptStationErrorText kept;
    const uint8_t command = leaveProgrammingCommand;
    uint8_t answer = 0;
    exchange(&command, 1, &answer, 1, closeWaitMs);
    sentEnter_ = false;
    programming_ = false;
}

int NceBinaryDriver::exchange(const uint8_t* command, size_t length, uint8_t* answer,
                              size_t expected, unsigned waitMs) {
    // Whatever is waiting now answers nothing this driver asked: a late answer or line noise.
    link_.drainInput();
    if (link_.sendBytes(command, length) != length) {
        setStationErrorText("The command could not be sent to the NCE station");
        return 1;
    }
    const size_t received = link_.receiveAnswer(answer, expected, waitMs, answerGapMs);
    if (received == 0) {
        setStationErrorText(noAnswerText().c_str());
        return stationNoAnswer;
    }
    const size_t queued = link_.queuedBytes();
    if (queued == 0 && received == 1 && isErrorCode(answer[0]))
        return 2;
    if (queued == 0 && received == expected && !looksLikeText(answer, received))
        return 0;

    // A wrong answer: take in the rest of it to tell the user what came.
    uint8_t whole[shownAnswerCapacity];
    for (size_t i = 0; i < received; ++i)
        whole[i] = answer[i];
    const size_t total = received + link_.receiveAnswer(whole + received, sizeof whole - received,
                                                        answerGapMs, answerGapMs);
    if (looksLikeText(whole, total))
        setStationErrorText(("The station answered in text (\"" + shownText(whole, total) +
                             "\"), not in NCE's binary command set: it may need the driver "
                             "\"NCE Corporation - Powerhouse Pro\"")
                                .c_str());
    else if (received < expected)
        setStationErrorText(
            ("The NCE station's answer was cut short: " + hexBytes(whole, total)).c_str());
    else
        setStationErrorText(
            ("The NCE station answered with more bytes than expected: " + hexBytes(whole, total))
                .c_str());
    return 1;
}

int NceBinaryDriver::judgeAcknowledge(int exchanged, uint8_t answer, bool enteringProgramming) {
    const Refused command = enteringProgramming ? Refused::enterProgramming : Refused::cvCommand;
    if (exchanged == 0 && answer == doneAnswer)
        return 0;
    if (exchanged == 2) {
        setRefusal(answer, command);
        // The station left programming mode (a power cycle, say): the next command enters again.
        if (answer == notSupportedCode)
            programming_ = false;
    } else if (exchanged == 0) {
        setNonsense(&answer, 1);
    }
    return 1;
}

int NceBinaryDriver::checkStation() {
    if (!versionAsked_) {
        int asked = 0;
        {
            // A version answer cut short or refused leaves the station unknown: the binary rules
            // hold until it refuses a command.
            KeptStationErrorText kept;
            NceVersion version{};
            asked = queryVersion(&version);
        }
        if (asked == stationNoAnswer) {
            setStationErrorText(noAnswerText().c_str());
            return stationNoAnswer;
        }
    }
    if (!versionKnown_)
        return 0;
    const std::string refusal = binaryTrackRefusal(version_);
    if (!refusal.empty()) {
        setStationErrorText(refusal.c_str());
        return 1;
    }
    if (nceStationAbilities(version_).singleTrackOutput && !singleTrackConfirmed_) {
        if (!confirmSingleTrackProgramming()) {
            setStationErrorText("Nothing was programmed: the Power Cab would program every "
                                "locomotive on its track.");
            return 1;
        }
        singleTrackConfirmed_ = true;
    }
    return 0;
}

int NceBinaryDriver::enterProgrammingMode() {
    noteProgrammingCommand();
    if (programming_)
        return 0;
    if (const int checked = checkStation())
        return checked;
    sentEnter_ = true;
    const uint8_t command = enterProgrammingCommand;
    uint8_t answer = 0;
    const int exchanged = exchange(&command, 1, &answer, 1, answerWaitMs());
    if (exchanged == stationNoAnswer)
        return stationNoAnswer;
    if (judgeAcknowledge(exchanged, answer, true) != 0)
        return 1;
    programming_ = true;
    pauseFor(programmingSettleMs);
    return 0;
}

int NceBinaryDriver::readCv(int32_t cv, uint8_t* value) {
    *value = 0;
    setStationErrorText(nullptr);
    if (const int entered = enterProgrammingMode())
        return entered;
    const uint8_t command[] = {directReadCommand, static_cast<uint8_t>(cv >> 8),
                               static_cast<uint8_t>(cv)};
    uint8_t answer[2] = {};
    const int exchanged = exchange(command, sizeof command, answer, sizeof answer, answerWaitMs());
    noteProgrammingCommand();
    if (exchanged == 2)
        return judgeAcknowledge(exchanged, answer[0], false);
    if (exchanged != 0)
        return exchanged;
    if (answer[1] == doneAnswer) {
        *value = answer[0];
        return 0;
    }
    if (answer[0] == nothingReadValue && answer[1] == nothingReadCode) {
        setStationErrorText("Nothing could be read (answer FF 3): no decoder answered. Is the "
                            "locomotive on the programming track?");
        return decoderNoAcknowledge;
    }
    setNonsense(answer, sizeof answer);
    return 1;
}

int NceBinaryDriver::writeCv(int32_t cv, int value) {
    setStationErrorText(nullptr);
    if (const int entered = enterProgrammingMode())
        return entered;
    const uint8_t command[] = {directWriteCommand, static_cast<uint8_t>(cv >> 8),
                               static_cast<uint8_t>(cv), static_cast<uint8_t>(value)};
    uint8_t answer = 0;
    const int exchanged = exchange(command, sizeof command, &answer, 1, answerWaitMs());
    noteProgrammingCommand();
    return exchanged == stationNoAnswer ? stationNoAnswer
                                        : judgeAcknowledge(exchanged, answer, false);
}

int NceBinaryDriver::queryVersion(NceVersion* version) {
    versionAsked_ = true;
    const uint8_t command = versionCommand;
    uint8_t answer[3] = {};
    const int exchanged = exchange(&command, 1, answer, sizeof answer, answerWaitMs());
    if (exchanged == 2)
        setRefusal(answer[0], Refused::versionQuery);
    if (exchanged == stationNoAnswer)
        return stationNoAnswer;
    if (exchanged != 0)
        return 1;
    *version = {answer[0], answer[1], answer[2]};
    version_ = *version;
    versionKnown_ = true;
    return 0;
}

int NceBinaryDriver::getVersion(StationVersionInfo* info) {
    setStationErrorText(nullptr);
    info->marker = 1;
    info->text[0] = '\0';
    NceVersion version{};
    const int result = queryVersion(&version);
    if (result == 0)
        std::snprintf(info->text, sizeof info->text, "%s", nceVersionText(version).c_str());
    const char* error = stationErrorText();
    versionText_ = result == 0 ? info->text : (error ? error : "");
    return result;
}

int32_t NceBinaryDriver::highestSafeCv() {
    if (!versionKnown_ && !versionAsked_ && link_.isOpen()) {
        KeptStationErrorText kept;
        NceVersion version{};
        queryVersion(&version);
    }
    return versionKnown_ ? nceStationAbilities(version_).highestSafeCv : 255;
}

std::string NceBinaryDriver::programmingProblem() {
    return versionKnown_ ? binaryTrackRefusal(version_) : "";
}
