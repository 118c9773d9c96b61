// The thumb of a speed table slider: its height above the slider's bottom is the step's value.
// It is dragged with the mouse or moved with the keys, and reports each value to the page.
#include "pages/speed_table_graph.h"

#include "pages/speed_table_page.h"
#include "pages/speed_table_rules.h"
#include "pages/speed_value_popup.h"

PtrList* thumbRegistry = nullptr;
HWND focusedThumb = nullptr;
unsigned keyRepeat = 0;

namespace {

ThumbState* thumbState(HWND thumb) {
    return reinterpret_cast<ThumbState*>(GetWindowLongPtrA(thumb, GWLP_USERDATA));
}

// The thumb's top edge inside its slider, from the two window rectangles.
int topInSlider(HWND thumb) {
    RECT thumbRect{};
    RECT sliderRect{};
    GetWindowRect(thumb, &thumbRect);
    GetWindowRect(GetParent(thumb), &sliderRect);
    return thumbRect.top - sliderRect.top;
}

void registerThumb(HWND thumb, const CREATESTRUCTA* creation) {
    addPopupUser();
    auto* state =
        static_cast<ThumbState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ThumbState)));
    if (!state)
        return;
    if (!thumbRegistry)
        thumbRegistry = new PtrList();
    SetWindowLongPtrA(thumb, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
    state->position = topInSlider(thumb);
    state->step = static_cast<int>(reinterpret_cast<INT_PTR>(creation->lpCreateParams));
    state->window = thumb;
    thumbRegistry->pushFront(state);
}

void unregisterThumb(HWND thumb) {
    removePopupUser();
    if (focusedThumb == thumb)
        focusedThumb = nullptr;
    ThumbState* state = thumbState(thumb);
    if (!state)
        return;
    SetWindowLongPtrA(thumb, GWLP_USERDATA, 0);
    if (thumbRegistry) {
        thumbRegistry->remove(state);
        if (thumbRegistry->size() == 0) {
            delete thumbRegistry;
            thumbRegistry = nullptr;
        }
    }
    HeapFree(GetProcessHeap(), 0, state);
}

void showPopupWithValue(HWND thumb, const ThumbState& state) {
    popupValue = static_cast<int>(thumbValueAt(state.position));
    popupCv = state.step + firstSpeedCv - 1;
    showPopupAt(thumb);
}

// Under Wine every window move is a round trip to its server, and Force Inclination moves up to
// 27 thumbs per mouse move: an unmoved thumb is left alone, and a moved one leaves the repaint of
// the places it left and entered to that one trip, without the messages nothing here answers.
void placeThumb(HWND thumb, ThumbState& state, int position) {
    if (position == state.position)
        return;
    state.position = position;
    SetWindowPos(thumb, nullptr, 0, position, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_NOSENDCHANGING);
}

// A value the user set: the thumb, the popup, then the page.
void userMovedThumb(HWND thumb, ThumbState& state, int position) {
    placeThumb(thumb, state, position);
    showPopupWithValue(thumb, state);
    setSpeedStep(state.step, static_cast<unsigned>(popupValue));
}

void changeFocus(HWND thumb, ThumbState* state, bool gained) {
    if (state)
        state->focused = gained ? 1 : 0;
    InvalidateRect(thumb, nullptr, TRUE);
    if (gained) {
        focusedThumb = thumb;
        if (state)
            showPopupWithValue(thumb, *state);
    } else {
        focusedThumb = nullptr;
        hidePopup();
    }
}

void paintThumb(HWND thumb, const ThumbState* state) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(thumb, &paint);
    RECT client{};
    GetClientRect(thumb, &client);
    const bool pressed = state && (state->focused || state->dragging);
    DrawEdge(dc, &client, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    EndPaint(thumb, &paint);
}

int matchesStep(void* step, void* element) {
    return static_cast<ThumbState*>(element)->step == *static_cast<int*>(step);
}

void focusStep(int step) {
    if (step < 1 || step > speedStepCount || !thumbRegistry)
        return;
    auto* found = static_cast<ThumbState*>(thumbRegistry->find(matchesStep, &step));
    if (found && found->window)
        SetFocus(found->window);
}

void keyDown(HWND thumb, ThumbState& state, WPARAM key, LPARAM flags) {
    const bool repeated = (flags & (1L << 30)) != 0;
    const int s = static_cast<int>(keyRepeatStep(repeated, &keyRepeat));
    int value = static_cast<int>(thumbValueAt(state.position));
    switch (key) {
    case VK_UP:
    case VK_PRIOR:
        value = value + s > 255 ? 255 : value + s;
        break;
    case VK_DOWN:
    case VK_NEXT:
        value = value - s < 0 ? 0 : value - s;
        break;
    case VK_LEFT:
        focusStep(state.step - 1);
        return;
    case VK_RIGHT:
        focusStep(state.step + 1);
        return;
    default:
        return;
    }
    userMovedThumb(thumb, state, thumbPositionForValue(value));
}

void mouseMove(HWND thumb, ThumbState& state, WPARAM keys, LPARAM where) {
    if (!(keys & MK_LBUTTON))
        return;
    const long y = static_cast<short>(HIWORD(where));
    userMovedThumb(
        thumb, state,
        clampThumbPosition(static_cast<long>(topInSlider(thumb)) + y - state.grabOffset));
}

} // namespace

LRESULT CALLBACK thumbWindowProcedure(HWND thumb, UINT message, WPARAM wParam, LPARAM lParam) {
    ThumbState* state = thumbState(thumb);
    switch (message) {
    case WM_CREATE:
        registerThumb(thumb, reinterpret_cast<const CREATESTRUCTA*>(lParam));
        return 0;
    case WM_DESTROY:
        unregisterThumb(thumb);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        changeFocus(thumb, state, message == WM_SETFOCUS);
        return 0;
    case WM_PAINT:
        paintThumb(thumb, state);
        return 0;
    case WM_MOUSEACTIVATE:
        SetFocus(thumb);
        return MA_ACTIVATE;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        break;
    }
    if (!state)
        return DefWindowProcA(thumb, message, wParam, lParam);
    switch (message) {
    case WM_KEYDOWN:
        keyDown(thumb, *state, wParam, lParam);
        return 0;
    case WM_MOUSEMOVE:
        mouseMove(thumb, *state, wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        state->grabOffset = HIWORD(lParam);
        state->dragging = 1;
        SetCapture(thumb);
        showPopupWithValue(thumb, *state);
        return 0;
    case WM_LBUTTONUP:
        state->dragging = 0;
        ReleaseCapture();
        return 0;
    case sliderSetValue: {
        placeThumb(thumb, *state, thumbPositionForValue(static_cast<int>(wParam)));
        if (state->step != 0 && lParam == 1)
            setSpeedStep(state->step, thumbValueAt(state->position));
        return 0;
    }
    default:
        return DefWindowProcA(thumb, message, wParam, lParam);
    }
}
