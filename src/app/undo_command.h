// Ctrl+Z on any page: the last write action on the programming track taken back, after the
// user's Yes, as the command line's undo does.
#pragma once

#include <windows.h>

#include <vector>

// The CVs written back; none when nothing was, or the user said No.
std::vector<int> undoLastWrite(HWND owner);
