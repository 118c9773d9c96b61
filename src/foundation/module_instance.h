// The module whose resources (dialog templates, accelerators, icon) every window is built from.
#pragma once

#include <windows.h>

// The instance start-up was given; the executable's own module until then.
HINSTANCE moduleInstance();
void setModuleInstance(HINSTANCE instance);
