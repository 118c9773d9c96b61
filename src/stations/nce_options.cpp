#include "stations/nce_options.h"

#include <cstdlib>
#include <cstring>

#include "stations/nce_station_driver.h"
#include "stations/station_manager.h"

int applyNceOptions(NceStationDriver& driver, const char* portText, int32_t baudIndex,
                    bool reconnectAnyway) {
    bool changed = false;
    // Case matters: a changed case may name another device on other systems.
    if (std::strcmp(portText, driver.portName()) != 0) {
        driver.setPortName(portText);
        changed = true;
    }
    if (baudIndex != driver.baudIndex()) {
        driver.setBaudIndex(baudIndex);
        changed = true;
    }
    if (!changed && !reconnectAnyway)
        return 0;
    // The user watching the traffic wants to see the reconnect, not lose the window to it.
    driver.setKeepLogOnClose(1);
    reconnectStation();
    driver.setKeepLogOnClose(0);
    return 1;
}

int prepareNceTest(NceStationDriver& driver, const char* portText, int32_t baudIndex) {
    // An open station gets the settings under the test's own progress bar.
    if (isStationOpen())
        return 0;
    return applyNceOptions(driver, portText, baudIndex, true);
}

void applyNceTimings(NceStationDriver& driver, const char* retriesText, const char* waitText) {
    char* end = nullptr;
    const long retries = std::strtol(retriesText, &end, 10);
    if (end != retriesText)
        driver.setReadRetries(static_cast<int>(retries));
    const long wait = std::strtol(waitText, &end, 10);
    if (end != waitText)
        driver.setAnswerWaitSeconds(wait < shortestAnswerWaitSeconds ? shortestAnswerWaitSeconds
                                                                     : static_cast<int>(wait));
}
