// How long one WM_MOUSEMOVE of a dragged speed table thumb takes to handle, in the worst case:
// Force Inclination on and all 27 other steps following. Prints the median in microseconds,
// for the handling alone and with the repaint it causes, beside the same drag without
// Force Inclination. Usage: velquist_speed_drag_bench.exe [MOVES]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/tab_page.h"
#include "pages/speed_table_graph.h"
#include "pages/speed_table_page.h"

namespace {

double medianOf(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

void pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

struct Figures {
    double handling;
    double withRepaint;
};

// Drags step 1 between 200 and 100 with every other step reset to 0 before each move, so
// with Force Inclination every move raises all 27 of them.
Figures measure(HWND page, int moves) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    HWND thumb = GetWindow(speedSlides[0], GW_CHILD);
    SendMessageA(thumb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 0));
    std::vector<double> handling;
    std::vector<double> total;
    for (int i = 0; i < moves; ++i) {
        for (int k = 2; k <= speedStepCount; ++k) {
            SetDlgItemTextA(page, speedStepBox(k), "0");
            SendMessageA(speedSlides[k - 1], sliderSetValue, 0, 0);
        }
        pump();
        RECT thumbRect{};
        RECT sliderRect{};
        GetWindowRect(thumb, &thumbRect);
        GetWindowRect(speedSlides[0], &sliderRect);
        const int target = 255 - (i % 2 ? 100 : 200);
        const int y = target - (thumbRect.top - sliderRect.top);
        LARGE_INTEGER start;
        LARGE_INTEGER handled;
        LARGE_INTEGER painted;
        QueryPerformanceCounter(&start);
        SendMessageA(thumb, WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(5, static_cast<WORD>(static_cast<short>(y))));
        QueryPerformanceCounter(&handled);
        RedrawWindow(page, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        QueryPerformanceCounter(&painted);
        const double unit = 1e6 / static_cast<double>(frequency.QuadPart);
        handling.push_back(static_cast<double>(handled.QuadPart - start.QuadPart) * unit);
        total.push_back(static_cast<double>(painted.QuadPart - start.QuadPart) * unit);
    }
    SendMessageA(thumb, WM_LBUTTONUP, 0, 0);
    return {medianOf(handling), medianOf(total)};
}

} // namespace

int main(int argc, char** argv) {
    const int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    if (registerSpeedTableClasses() != 0)
        return 1;
    HWND parent = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 40, 60, 640, 420, nullptr,
                                  nullptr, nullptr, nullptr);
    TabPage* page = createSpeedTablePage("TAB_SPEED_TABLE", parent);
    if (page->createWindow() != 0)
        return 1;
    page->showPage();
    pump();

    forceInclination = 1;
    const Figures forced = measure(page->window(), moves);
    if (GetDlgItemInt(page->window(), speedStepBox(28), nullptr, FALSE) !=
        GetDlgItemInt(page->window(), speedStepBox(1), nullptr, FALSE))
        std::printf("warning: the neighbours did not follow\n");
    forceInclination = 0;
    const Figures plain = measure(page->window(), moves);
    std::printf("thumb drag, median of %d moves (microseconds):\n", moves);
    std::printf("  Force Inclination on (27 steps follow): %.0f handling, %.0f with repaint\n",
                forced.handling, forced.withRepaint);
    std::printf("  Force Inclination off:                  %.0f handling, %.0f with repaint\n",
                plain.handling, plain.withRepaint);
    page->destroyPage();
    DestroyWindow(parent);
    return 0;
}
