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
constexpr size_t readAnswerCapacity = 200;

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
    if (link_.awaitPrompt(nullptr, 0) != 0) {
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
    char answer[readAnswerCapacity];
    if (link_.awaitPrompt(answer, sizeof answer) != 0)
        return 1;

    if (!std::isdigit(static_cast<unsigned char>(answer[0]))) {
        answer[std::strcspn(answer, "\r")] = '\0';
        // An answer that starts with a NUL or a bare CR would otherwise leave no message at all.
        setStationErrorText(answer[0] ? answer : "ERROR INVALID DATA");
        return 1;
    }
    long number = 0;
    for (int i = 0; i < 5 && std::isdigit(static_cast<unsigned char>(answer[i])); ++i)
        number = number * 10 + (answer[i] - '0');
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
    char answer[readAnswerCapacity];
    if (link_.awaitPrompt(answer, sizeof answer) != 0) {
        setStationErrorText("ERROR SENDING DATA");
        return 1;
    }
    // A write carried out is answered with the bare prompt; a line before it is the station's
    // complaint ("NO ACKNOWLEDGE FROM DECODER"), and the decoder does not hold the value.
    char* line = answer + std::strspn(answer, "\r\n");
    size_t length = std::strcspn(line, "\r\n");
    if (length > 0 && line[length] != '\0') {
        line[length] = '\0';
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
    if (result == 0)
        result = link_.awaitPrompt(info->text, sizeof info->text);
    const char* error = stationErrorText();
    versionText_ = result == 0 ? info->text : (error ? error : "");
    return result;
}
