#include "stations/nce_station_driver.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t logCapacity = 4096;

NceOptionsPageFactory optionsPageFactory = nullptr;

} // namespace

NceOptionsPageFactory setNceOptionsPageFactory(NceOptionsPageFactory factory) {
    NceOptionsPageFactory previous = optionsPageFactory;
    optionsPageFactory = factory;
    return previous;
}

NceStationDriver::NceStationDriver(const char* name, std::unique_ptr<SerialPort> port,
                                   TrafficLogStyle style)
    : CommandStationDriver(name), log_(new (std::nothrow) SerialLogWindow(logCapacity)),
      link_(std::move(port), log_.get(), style) {}

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
            link_.setBaudIndex(std::strtol(std::string(configuration, bar).c_str(), nullptr, 10) ==
                               19200);
        }
    }
    int32_t result = link_.openPort();
    versionKnown_ = false;
    opened(result);
    return result;
}

std::string NceStationDriver::getConfig() {
    return std::to_string(link_.baudRate()) + "|" + link_.portName();
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
