// The window handle type without windows.h: the same incomplete struct that <windows.h>
// declares, so WindowHandle and HWND are one type in the Windows build.
#pragma once

struct HWND__;
using WindowHandle = HWND__*;
