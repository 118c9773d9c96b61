#include "stations/nce_station_driver.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "foundation/clock.h"
#include "stations/station_manager.h"

namespace {

constexpr uint32_t logCapacity = 4096;

NceOptionsPageFactory optionsPageFactory = nullptr;

} // namespace

KeptStationErrorText::KeptStationErrorText()
    : had_(stationErrorText() != nullptr), text_(had_ ? stationErrorText() : "") {}

KeptStationErrorText::~KeptStationErrorText() {
    setStationErrorText(had_ ? text_.c_str() : nullptr);
}

NceOptionsPageFactory setNceOptionsPageFactory(NceOptionsPageFactory factory) {
    NceOptionsPageFactory previous = optionsPageFactory;
    optionsPageFactory = factory;
    return previous;
}

NceStationDriver::NceStationDriver(const char* name, std::unique_ptr<SerialPort> port,
                                   TrafficLogStyle style, int defaultAnswerWaitSeconds)
    : CommandStationDriver(name), log_(new (std::nothrow) SerialLogWindow(logCapacity)),
      link_(std::move(port), log_.get(), style), defaultWait_(defaultAnswerWaitSeconds) {
    link_.setAnswerWaitMs(answerWaitMs());
}

NceStationDriver::~NceStationDriver() {
    if (link_.isOpen())
        link_.closePort();
}

TabPage* NceStationDriver::createOptionsPage(WindowHandle parent) {
    return optionsPageFactory ? optionsPageFactory(this, parent) : nullptr;
}

int32_t NceStationDriver::open(const char* configuration) {
    if (configuration && *configuration) {
        if (const char* bar = std::strchr(configuration, '|')) {
            link_.setPortName(bar + 1);
            // "BAUD" or "BAUD,RETRIES,WAIT": a configuration of older versions has the first alone.
            const std::string numbers(configuration, bar);
            char* end = nullptr;
            link_.setBaudIndex(std::strtol(numbers.c_str(), &end, 10) == 19200);
            int retries = defaultReadRetries;
            int wait = 0;
            if (*end == ',') {
                retries = static_cast<int>(std::strtol(end + 1, &end, 10));
                if (*end == ',')
                    wait = static_cast<int>(std::strtol(end + 1, &end, 10));
            }
            setReadRetries(retries);
            setAnswerWaitSeconds(wait);
        }
    }
    int32_t result = link_.openPort();
    opened(result);
    return result;
}

std::string NceStationDriver::getConfig() {
    std::string numbers = std::to_string(link_.baudRate());
    if (readRetries_ != defaultReadRetries || answerWaitSeconds_ != 0)
        numbers += "," + std::to_string(readRetries_) + "," + std::to_string(answerWaitSeconds_);
    return numbers + "|" + link_.portName();
}

void NceStationDriver::setReadRetries(int retries) {
    readRetries_ = retries < 0 ? 0 : retries > mostReadRetries ? mostReadRetries : retries;
}

void NceStationDriver::setAnswerWaitSeconds(int seconds) {
    answerWaitSeconds_ = seconds <= 0 || seconds == defaultWait_ ? 0
                         : seconds < shortestAnswerWaitSeconds   ? shortestAnswerWaitSeconds
                         : seconds > longestAnswerWaitSeconds    ? longestAnswerWaitSeconds
                                                                 : seconds;
    link_.setAnswerWaitMs(answerWaitMs());
}

void NceStationDriver::noteProgrammingCommand() {
    lastProgrammingMs_ = clockMilliseconds();
}

void NceStationDriver::idle() {
    if (link_.isOpen() && mayBeProgramming() &&
        clockMilliseconds() - lastProgrammingMs_ >= idleProgrammingMs)
        leaveProgramming();
}

void NceStationDriver::finishClose() {
    if (!keepLogOnClose_)
        show(0);
    link_.closePort();
}

void NceStationDriver::show(int flag) {
    if (log_)
        log_->show(flag);
}
