// The program's run from start to exit: checks, the main window, the command station and the
// message loop, then shutdown in order.
#pragma once

#include <windows.h>

#include "app/start_file_rules.h"

// Returns the exit code. Uses whatever message box, pause and settings handlers are installed.
// A start file is loaded as Load/Save's "Load" loads it, with the window on that page.
int runVelquist(HINSTANCE instance, int showCommand, const StartFile& startFile = {});
