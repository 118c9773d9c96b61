#include "stations/nce_driver.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "foundation/pause.h"
#include "stations/station_manager.h"

namespace {

constexpr int32_t programmingMode = 1;
constexpr int32_t mainMode = 2;
// The station needs time to leave programming mode before the line goes quiet.
constexpr unsigned closePauseMs = 250;
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

} // namespace

NceDriver::NceDriver() : NceDriver(createSerialPort()) {}

NceDriver::NceDriver(std::unique_ptr<SerialPort> port)
    : NceStationDriver("NCE Corporation - Powerhouse Pro", std::move(port), TrafficLogStyle::text) {
}

NceTestTexts NceDriver::testTexts() const {
    return {"Communication with PowerHouse Pro OK", "NCE Powerhouse Pro",
            "Cannot communicate with PowerHouse Pro"};
}

void NceDriver::opened(int32_t result) {
    if (result != 0)
        stationMode_ = 0;
}

// X is the only way out of programming mode in this command set; a write on the main itself
// sends neither M nor X.
void NceDriver::leaveProgrammingMode() {
    if (stationMode_ == programmingMode)
        enterMode(mainMode);
}

int NceDriver::close() {
    link_.drainInput();
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

int NceDriver::enterMode(int32_t mode) {
    link_.drainInput();
    if (stationMode_ == mode)
        return 0;
    if (sendCommand(mode == programmingMode ? "M\r\n" : "X\r\n") != 0) {
        stationMode_ = 0;
        return 1;
    }
    if (int result = link_.awaitPrompt(nullptr, 0)) {
        // The station's own refusal says more than ours would.
        if (result != answerRefused)
            setStationErrorText(mode == programmingMode ? "ERROR ENTERING PROGRAM MODE"
                                                        : "ERROR ENTERING MAIN MODE");
        stationMode_ = 0;
        return 1;
    }
    stationMode_ = mode;
    return 0;
}

int NceDriver::readCv(int32_t cv, uint8_t* value) {
    *value = 0;
    setStationErrorText(nullptr);
    char command[24];
    std::snprintf(command, sizeof command, "%s%03ld%s", "R", static_cast<long>(cv), "\r\n");
    // A failed switch leaves its message; the read itself decides the result.
    enterMode(programmingMode);
    if (sendCommand(command) != 0)
        return 1;
    char answer[answerCapacity];
    size_t length = 0;
    if (link_.awaitPrompt(answer, sizeof answer, &length) != 0)
        return 1;

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
    enterMode(programmingMode);
    char command[24];
    std::snprintf(command, sizeof command, "%s%03ld %03d%s", "P", static_cast<long>(cv),
                  value & 0xFF, "\r\n");
    if (sendCommand(command) != 0)
        return 1;
    char answer[answerCapacity];
    size_t length = 0;
    if (int result = link_.awaitPrompt(answer, sizeof answer, &length)) {
        if (result != answerRefused)
            setStationErrorText("ERROR SENDING DATA");
        return 1;
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
