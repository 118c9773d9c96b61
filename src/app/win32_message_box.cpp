#include "app/win32_message_box.h"

#include <windows.h>

void showWin32MessageBox(WindowHandle owner, const char* text, const char* caption) {
    MessageBoxA(owner, text, caption, MB_OK);
}

bool askWin32YesNo(WindowHandle owner, const char* text, const char* caption,
                   DefaultAnswer defaultAnswer) {
    const UINT button = defaultAnswer == DefaultAnswer::no ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return MessageBoxA(owner, text, caption, MB_YESNO | button) == IDYES;
}
