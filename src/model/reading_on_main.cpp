#include "model/reading_on_main.h"

#include <commctrl.h>

#include "stations/main_track_target.h"

// A disabled button takes no mouse messages, so the tip belongs to the page, over the button.
void disableReadingOnMain(HWND page, int readButton) {
    HWND button = GetDlgItem(page, readButton);
    if (!programmingOnMain() || !button)
        return;
    EnableWindow(button, FALSE);
    // Owned by the page, the tip goes with it.
    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, page, nullptr, nullptr,
                               nullptr);
    if (!tip)
        return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = page;
    tool.uId = static_cast<UINT_PTR>(readButton);
    GetWindowRect(button, &tool.rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&tool.rect), 2);
    tool.lpszText = const_cast<char*>(nothingReadBackOnMain);
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
