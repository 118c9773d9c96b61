// The command line of velquist-cli, checked in full before the port is touched.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "stations/main_track_target.h"

// COM1 on Windows, /dev/ttyS0 elsewhere.
extern const char cliDefaultPort[];

struct CliRequest {
    enum class Command {
        read,
        write,
        version,
        detect,
        backup,
        restore,
        show,
        convert,
        sheet,
        help,
        identify,
        reset,
        history,
        undo,
        diff
    };

    std::string port = cliDefaultPort;
    // detect looks on every port unless one was named.
    bool portGiven = false;
    int baudIndex = 0;
    // NCE's binary command set (Powerhouse Pro 2006 and later, Power Cab) instead of ASCII.
    bool binaryProtocol = false;
    // Ask the station's version first and take the driver it programs through.
    bool autoProtocol = false;
    Command command = Command::version;
    // CV numbers to read or back up, or (CV, value) pairs to write, in the order given.
    std::vector<std::pair<int, int>> cvs;
    // backup, restore, show, convert, sheet and diff: the decoder file, CV list or roster entry;
    // reset: the file it backs the decoder up into first, if any.
    std::string file;
    // convert: the file written; sheet: the page written, or none for standard output.
    std::string output;
    // backup: decoder name, owner and notes, in the file's order, already in Windows-1252.
    std::string texts[3];
    // restore: read every written CV back.
    bool verify = false;
    // read, write, backup and restore: reach CVs above the station's safe limit too.
    bool allowHighCvs = false;
    // How often a read the decoder did not acknowledge is tried again; -1: the default.
    int readRetries = -1;
    // Seconds an answer may take; 0: the driver's default.
    int answerWaitSeconds = 0;
    // --on-main and --on-main-accessory: write and restore go to this decoder on the main.
    MainTrackTarget target;
    // write and restore: read each CV just before writing it, for the journal and the output.
    bool readFirst = true;
    // reset: the user said yes; without it the reset is only described.
    bool confirmed = false;
    // history: how many actions.
    int last = 10;
};

// identify, reset, history, undo and diff, from the word after the command on; false with a
// reason on a mistake, and also for any other command (with an empty reason).
bool parseJournalCommand(const std::string& command, int at, int argc, const char* const* argv,
                         CliRequest& request, std::string& error);

extern const char cliUsage[];
extern const char cliHelp[];

// Every CV the locomotive, speed table, function map and consist pages bind, in CV order.
std::vector<int> defaultBackupCvs();

// Parses argv[1..argc-1]; on a mistake returns false with a one-line reason in error.
bool parseCliArguments(int argc, const char* const* argv, CliRequest& request, std::string& error);
