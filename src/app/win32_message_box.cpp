#include "app/win32_message_box.h"

#include <windows.h>

#include <string>

void showWin32MessageBox(WindowHandle owner, const char* text, const char* caption) {
    MessageBoxA(owner, text, caption, MB_OK);
}

namespace {

// The ANSI code page has no arrow: a question writes it "->" and the box shows the character.
std::wstring shownText(const char* text) {
    const int size = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], size);
    wide.resize(wide.size() - 1);
    for (size_t at = wide.find(L"->"); at != std::wstring::npos; at = wide.find(L"->", at))
        wide.replace(at, 2, 1, L'\x2192');
    return wide;
}

} // namespace

bool askWin32YesNo(WindowHandle owner, const char* text, const char* caption,
                   DefaultAnswer defaultAnswer) {
    const UINT button = defaultAnswer == DefaultAnswer::no ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
    return MessageBoxW(owner, shownText(text).c_str(), shownText(caption).c_str(),
                       MB_YESNO | button) == IDYES;
}
