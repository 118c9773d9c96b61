// What the NCE options page does with its port and baud settings, kept free of windows: the page
// only reads its controls and calls these.
#pragma once

#include <cstdint>

class NceStationDriver;

// The port box text the page reads: at most 199 characters.
constexpr int portBoxCapacity = 200;
// The rates of the baud list, by index.
constexpr const char* baudRateTexts[] = {"9600", "19200"};
// The port names the box offers; any other may be typed.
constexpr const char* offeredPortNames[] = {"COM1", "COM2"};

// Gives the driver the page's port and baud index; an empty port becomes COM1. When either
// differs from the driver's, or when reconnectAnyway is set, the station is reconnected once so
// they take effect, with the log window kept open across it. Returns 1 when it reconnected.
int applyNceOptions(NceStationDriver& driver, const char* portText, int32_t baudIndex,
                    bool reconnectAnyway);

// Before a connection test: a station that is not open gets the page's settings and another
// attempt, so a port just typed is the one tested. Returns 1 when it reconnected.
int prepareNceTest(NceStationDriver& driver, const char* portText, int32_t baudIndex);

// Gives the driver the page's read retries and answer wait (seconds), each taken into its range;
// a box without a number leaves its setting as it was. Neither needs a reconnect.
void applyNceTimings(NceStationDriver& driver, const char* retriesText, const char* waitText);
