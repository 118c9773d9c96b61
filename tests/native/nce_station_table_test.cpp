#include <gtest/gtest.h>

#include "stations/command_station_driver.h"
#include "stations/nce_station_table.h"

// One row per kind of station the version answer can name, and the unknown default.
TEST(NceStationTable, WhatEachVersionCanDo) {
    using Track = NceTrackProgramming;
    using Main = NceMainProgramming;
    struct Case {
        NceVersion version;
        Track track;
        Main onMain;
        int32_t limit;
        bool singleOutput;
        const char* name;
    } cases[] = {
        {{4, 0, 2}, Track::ascii, Main::packets, 255, false, "Powerhouse Pro, EPROM 4.0.2"},
        {{6, 0, 0}, Track::ascii, Main::packets, 255, false, "Powerhouse Pro, EPROM 6.0.0"},
        {{6, 2, 1}, Track::binary, Main::packets, 255, false, "Powerhouse Pro, EPROM 6.2.1"},
        {{6, 2, 3}, Track::binary, Main::packets, noCvLimit, false, "Powerhouse Pro, EPROM 6.2.3"},
        {{7, 3, 3},
         Track::binary,
         Main::usbCommands,
         noCvLimit,
         true,
         "Power Cab 1.65 through the USB interface"},
        {{6, 3, 0},
         Track::binary,
         Main::usbCommands,
         noCvLimit,
         true,
         "Power Cab 1.28 through the USB interface"},
        {{7, 3, 2},
         Track::none,
         Main::usbCommands,
         255,
         false,
         "SB5 1.65 through the USB interface"},
        {{6, 3, 1}, Track::none, Main::usbCommands, 255, false, "SB3 through the USB interface"},
        {{7, 3, 6},
         Track::none,
         Main::none,
         255,
         false,
         "Powerhouse Pro through the USB interface"},
        {{8, 0, 0},
         Track::binary,
         Main::unknown,
         255,
         false,
         "NCE station of unknown version 8.0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const NceStationAbilities abilities = nceStationAbilities(c.version);
        EXPECT_EQ(abilities.track, c.track);
        EXPECT_EQ(abilities.onMain, c.onMain);
        EXPECT_EQ(abilities.highestSafeCv, c.limit);
        EXPECT_EQ(abilities.singleTrackOutput, c.singleOutput);
        EXPECT_EQ(abilities.usbInterface, c.version.minor == 3);
        EXPECT_EQ(abilities.known, c.onMain != Main::unknown);
        EXPECT_EQ(abilities.name, c.name);
    }
    EXPECT_EQ(nceVersionText({8, 0, 0}), "8.0.0 (unknown NCE station)");
}
