// The program's run from start to exit: checks, the main window, the command station and the
// message loop, then shutdown in order.
#pragma once

#include <windows.h>

// Returns the exit code. Uses whatever message box, pause and settings handlers are installed.
int runVelquist(HINSTANCE instance, int showCommand);
