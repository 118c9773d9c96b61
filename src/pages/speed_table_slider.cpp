// The slider of the speed table graph: a sunken groove holding one thumb; and the registration
// of both classes.
#include "pages/speed_table_graph.h"

#include "app/window_class.h"
#include "foundation/module_instance.h"
#include "pages/speed_value_popup.h"

namespace {

SlideState* slideState(HWND slider) {
    return reinterpret_cast<SlideState*>(GetWindowLongPtrA(slider, GWLP_USERDATA));
}

void createSlide(HWND slider, const CREATESTRUCTA* creation) {
    auto* state =
        static_cast<SlideState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SlideState)));
    if (!state)
        return;
    SetWindowLongPtrA(slider, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    RECT client{};
    GetClientRect(slider, &client);
    // The thumb starts at the bottom, value 0; it carries the slider's step.
    state->thumb = CreateWindowExA(0, "Orvale_DCC_SpeedTableThumb_Window", "",
                                   WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                                   client.bottom - thumbHeight, client.right, thumbHeight, slider,
                                   nullptr, moduleInstance(), creation->lpCreateParams);
    const int h = client.right / 2 - 1;
    state->groove = {client.left + h, client.top, client.right - h, client.bottom};
}

void destroySlide(HWND slider) {
    SlideState* state = slideState(slider);
    if (!state)
        return;
    if (state->thumb)
        DestroyWindow(state->thumb);
    SetWindowLongPtrA(slider, GWLP_USERDATA, 0);
    HeapFree(GetProcessHeap(), 0, state);
}

void paintSlide(HWND slider) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(slider, &paint);
    if (SlideState* state = slideState(slider))
        DrawEdge(dc, &state->groove, EDGE_SUNKEN, BF_RECT);
    EndPaint(slider, &paint);
}

LRESULT CALLBACK slideWindowProcedure(HWND slider, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        createSlide(slider, reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return 0;
    case WM_DESTROY:
        destroySlide(slider);
        return 0;
    case WM_PAINT:
        paintSlide(slider);
        return 0;
    case sliderSetValue:
        if (SlideState* state = slideState(slider))
            SendMessageA(state->thumb, message, wParam, lParam);
        return 0;
    case sliderHidePopup:
        hidePopup();
        return 1;
    case sliderShowPopup:
        showPopupAgain(focusedThumb);
        return 1;
    default:
        return DefWindowProcA(slider, message, wParam, lParam);
    }
}

} // namespace

// The controls sit on a tab page, so they take the tab control's background.
int registerSpeedTableClasses() {
    WNDCLASSEXA tabClass{};
    tabClass.cbSize = sizeof tabClass;
    HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    if (GetClassInfoExA(moduleInstance(), "SysTabControl32", &tabClass))
        background = tabClass.hbrBackground;
    int result =
        registerControlClass("Orvale_DCC_SpeedTableSlide_Window", slideWindowProcedure, background);
    if (result == 0)
        result = registerControlClass("Orvale_DCC_SpeedTableThumb_Window", thumbWindowProcedure,
                                      background);
    return result;
}
