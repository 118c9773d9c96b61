#include "stations/nce_driver.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "foundation/pause.h"
#include "stations/station_advice.h"
#include "stations/station_manager.h"

namespace {

constexpr int32_t programmingMode = 1;
constexpr int32_t mainMode = 2;
// The station needs time to leave programming mode before the line goes quiet.
constexpr unsigned closePauseMs = 250;
// The programming track needs a second after the station accepted M before the first CV command.
constexpr unsigned programmingSettleMs = 1000;
// The station's answer to a CV command when no decoder acknowledged it.
const char noFeedbackWords[] = "NO FEEDBACK DETECTED";

// Room for a whole answer: a value may follow any number of blanks up to the answer's limit.
constexpr size_t answerCapacity = 1025;

const char* const blanks = " \t\r\n";

// The first line of an answer that holds more than blanks, cut out in place; none if there is
// none. The station may frame any answer in line ends and blanks; a NUL byte in it is noise.
const char* firstWordyLine(char* answer, size_t length) {
    if (std::strlen(answer) < length)
        return "ERROR INVALID DATA";
    char* line = answer + std::strspn(answer, blanks);
    if (*line == '\0')
        return nullptr;
    line[std::strcspn(line, "\r\n")] = '\0';
    size_t end = std::strlen(line);
    while (end > 0 && std::strchr(blanks, line[end - 1]))
        line[--end] = '\0';
    return line;
}

// A CV command's answer without its prompt: the station never finished answering, or said
// what went wrong.
int judgeFailure(int awaited) {
    if (awaited != answerRefused)
        return stationNoAnswer;
    const char* words = stationErrorText();
    return words && std::strcmp(words, noFeedbackWords) == 0 ? decoderNoAcknowledge : 1;
}

} // namespace

NceDriver::NceDriver() : NceDriver(createSerialPort()) {}

NceDriver::NceDriver(std::unique_ptr<SerialPort> port)
    : NceStationDriver("NCE Corporation - Powerhouse Pro", std::move(port), TrafficLogStyle::text,
                       readTimeoutConstantMs / 1000) {}

NceTestTexts NceDriver::testTexts() const {
    return {"Communication with PowerHouse Pro OK", "NCE Powerhouse Pro",
            "Cannot communicate with PowerHouse Pro"};
}

void NceDriver::opened(int32_t result) {
    if (result != 0)
        stationMode_ = 0;
}

int NceDriver::close() {
    link_.sendText("X\r\n", 3);
    pauseFor(closePauseMs);
    finishClose();
    stationMode_ = 0;
    return 0;
}

int NceDriver::sendCommand(const char* line) {
    size_t length = std::strlen(line);
    if (link_.sendText(line, length) == length)
        return 0;
    setStationErrorText("ERROR SENDING DATA");
    return 1;
}

void NceDriver::leaveProgramming() {
    KeptStationErrorText kept;
    enterMode(mainMode);
}

int NceDriver::enterMode(int32_t mode) {
    if (stationMode_ == mode)
        return 0;
    if (sendCommand(mode == programmingMode ? "M\r\n" : "X\r\n") != 0) {
        stationMode_ = 0;
        return 1;
    }
    if (int result = link_.awaitPrompt(nullptr, 0)) {
        stationMode_ = 0;
        // The station's own refusal says more than ours would.
        if (result == answerRefused)
            return 1;
        const std::string failed =
            mode == programmingMode ? "ERROR ENTERING PROGRAM MODE" : "ERROR ENTERING MAIN MODE";
        setStationErrorText((failed +
                             ": the station did not answer. Is it switched on, and are "
                             "port and speed right? Else " +
                             findStationAdvice() + ".")
                                .c_str());
        return stationNoAnswer;
    }
    stationMode_ = mode;
    if (mode == programmingMode)
        pauseFor(programmingSettleMs);
    return 0;
}

int NceDriver::startCvCommand(const char* line) {
    // A refused switch leaves its message and the command goes out anyway: the command's own
    // answer decides. A station that did not answer at all would not answer the command either.
    if (enterMode(programmingMode) == stationNoAnswer)
        return stationNoAnswer;
    noteProgrammingCommand();
    return sendCommand(line);
}

int NceDriver::readCv(int32_t cv, uint8_t* value) {
    *value = 0;
    setStationErrorText(nullptr);
    char command[24];
    std::snprintf(command, sizeof command, "%s%03ld%s", "R", static_cast<long>(cv), "\r\n");
    if (int started = startCvCommand(command))
        return started;
    char answer[answerCapacity];
    size_t length = 0;
    const int awaited = link_.awaitPrompt(answer, sizeof answer, &length);
    noteProgrammingCommand();
    if (awaited != 0)
        return judgeFailure(awaited);

    const char* digits = answer + std::strspn(answer, blanks);
    if (!std::isdigit(static_cast<unsigned char>(*digits)) || std::strlen(answer) < length) {
        const char* line = firstWordyLine(answer, length);
        setStationErrorText(line ? line : "NO DATA RETURNED");
        return 1;
    }
    long number = 0;
    for (int i = 0; i < 5 && std::isdigit(static_cast<unsigned char>(digits[i])); ++i)
        number = number * 10 + (digits[i] - '0');
    if (number > 255) {
        setStationErrorText("ERROR INVALID DATA");
        return 1;
    }
    *value = static_cast<uint8_t>(number);
    return 0;
}

int NceDriver::writeCv(int32_t cv, int value) {
    setStationErrorText(nullptr);
    char command[24];
    std::snprintf(command, sizeof command, "%s%03ld %03d%s", "P", static_cast<long>(cv),
                  value & 0xFF, "\r\n");
    if (int started = startCvCommand(command))
        return started;
    char answer[answerCapacity];
    size_t length = 0;
    const int awaited = link_.awaitPrompt(answer, sizeof answer, &length);
    noteProgrammingCommand();
    if (awaited != 0) {
        if (awaited != answerRefused)
            setStationErrorText("ERROR SENDING DATA");
        return judgeFailure(awaited);
    }
    // A write carried out is answered with the prompt, perhaps after line ends; a line of words
    // before it is the station's complaint, and the decoder does not hold the value.
    if (const char* line = firstWordyLine(answer, length)) {
        setStationErrorText(line);
        return 1;
    }
    return 0;
}

int NceDriver::getVersion(StationVersionInfo* info) {
    setStationErrorText(nullptr);
    info->marker = 1;
    info->text[0] = '\0';
    int result = enterMode(mainMode);
    if (result == 0)
        result = sendCommand("V\r\n");
    if (result == 0 && link_.awaitPrompt(info->text, sizeof info->text) != 0)
        result = 1;
    if (result == 0) { // the station may start its answer with line ends
        const size_t lead = std::strspn(info->text, blanks);
        std::memmove(info->text, info->text + lead, std::strlen(info->text + lead) + 1);
    }
    const char* error = stationErrorText();
    versionText_ = result == 0 ? info->text : (error ? error : "");
    return result;
}
