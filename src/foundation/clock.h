// Elapsed time for deadlines. Tests replace the source so a deadline can pass without waiting.
#pragma once

#include <cstdint>

using ClockSource = uint64_t (*)();

// Milliseconds from an arbitrary start; never goes back.
uint64_t clockMilliseconds();
// Installs a source (none restores the real clock) and returns the previous one.
ClockSource setClockSource(ClockSource source);
