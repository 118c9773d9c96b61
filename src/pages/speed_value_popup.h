// The light-yellow popup that floats above the focused or dragged thumb and reads its value.
// One popup serves every thumb; it exists while at least one thumb does.
#pragma once

#include <windows.h>

#include <string>

extern HWND speedPopup;
extern HBRUSH popupBrush;
extern int popupUsers;
extern int popupCv;
extern int popupValue;

// A thumb comes and goes: the first creates the popup and its brush, the last destroys them.
void addPopupUser();
void removePopupUser();

// Shows the popup at a thumb, 29 pixels above it and centred on it, without taking the focus.
void showPopupAt(HWND thumb);
void hidePopup();
// After a move of the main window: back at the focused thumb, if one has the focus.
void showPopupAgain(HWND focused);
// What the popup reads now.
std::string currentPopupText();
