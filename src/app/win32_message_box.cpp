#include "app/win32_message_box.h"

#include <windows.h>

void showWin32MessageBox(WindowHandle owner, const char* text, const char* caption) {
    MessageBoxA(owner, text, caption, MB_OK);
}

bool askWin32YesNo(WindowHandle owner, const char* text, const char* caption) {
    return MessageBoxA(owner, text, caption, MB_YESNO) == IDYES;
}
