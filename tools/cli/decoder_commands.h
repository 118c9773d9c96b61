// The commands that know the decoder and keep its values: identify, reset, history, undo and
// diff. Each runs on an open station (history needs none) and returns the exit status; the
// caller shuts the station down.
#pragma once

#include <string>

#include "cli_arguments.h"
#include "files/decoder_file_format.h"

// "29=34 (was 6)", or "29=34" when the value before is not known (was below 0).
std::string writtenText(int cv, int value, int was);
// Prints the station's words for a failure; returns 1.
int stationFailure();

int identifyCommand();
int resetCommand(const CliRequest& request);
int historyCommand(const CliRequest& request);
int undoCommand();
int diffCommand(const CliRequest& request, const DecoderFileContent& file);
