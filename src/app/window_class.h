// Registration of the program's custom control classes.
#pragma once

#include <windows.h>

// Registers a child-control class of this module with the arrow cursor; 0 on success (a class
// already registered by an earlier start in the same process counts), else the system's error.
int registerControlClass(const char* name, WNDPROC procedure, HBRUSH background);
