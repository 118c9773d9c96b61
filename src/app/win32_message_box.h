// The message boxes the user sees: the Win32 handlers of the message box seam.
#pragma once

#include "foundation/message_box.h"

void showWin32MessageBox(WindowHandle owner, const char* text, const char* caption);
bool askWin32YesNo(WindowHandle owner, const char* text, const char* caption,
                   DefaultAnswer defaultAnswer);
