// The speed table graph: the slider and thumb window classes, their per-window records, the
// registry of live thumbs and the messages the page sends the sliders.
#pragma once

#include <windows.h>

#include "foundation/ptr_list.h"

// Page to slider: WM_USER sets the value (wParam, a signed int; lParam 1 to report it back
// through setSpeedStep); the next two hide the popup and bring it back, around a window move.
enum : UINT {
    sliderSetValue = WM_USER,
    sliderHidePopup = WM_USER + 1,
    sliderShowPopup = WM_USER + 2,
};

// Slider k carries the control id 1400 + k, so tools outside the program can find it.
constexpr int firstSliderId = 1401;
constexpr int sliderWidth = 19;
constexpr int sliderHeight = 265;
constexpr int thumbHeight = 10;

struct SlideState {
    RECT groove;
    HWND thumb;
};

struct ThumbState {
    int position;   // top edge in the slider: 0 is value 255, 255 is value 0
    int grabOffset; // where in the thumb the left button went down
    int step;       // 1 to 28; 0 reports nothing to the page
    int focused;
    int dragging;
    HWND window;
};

// The live thumbs; exists only while at least one thumb does.
extern PtrList* thumbRegistry;
extern HWND focusedThumb;
// Counts repeats of a held arrow key, shared by all thumbs.
extern unsigned keyRepeat;

// Registers "Orvale_DCC_SpeedTableSlide_Window" and then "Orvale_DCC_SpeedTableThumb_Window";
// 0 on success, else the system's error code.
int registerSpeedTableClasses();

LRESULT CALLBACK thumbWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
