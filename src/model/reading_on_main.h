// The read buttons of the pages while a decoder on the main is chosen: greyed, with a tool tip
// saying why, as nothing can be read back on the main.
#pragma once

#include <windows.h>

void disableReadingOnMain(HWND page, int readButton);
