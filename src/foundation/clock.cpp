#include "foundation/clock.h"

#include <chrono>

namespace {

uint64_t steadyMilliseconds() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

ClockSource currentSource = steadyMilliseconds;

} // namespace

uint64_t clockMilliseconds() {
    return currentSource();
}

ClockSource setClockSource(ClockSource source) {
    ClockSource previous = currentSource;
    currentSource = source ? source : steadyMilliseconds;
    return previous;
}
