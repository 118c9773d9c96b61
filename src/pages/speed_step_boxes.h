// The speed table's 28 hidden step boxes, written lazily. Under Wine setting an edit box's text
// costs three trips to its server, and Force Inclination writes up to 28 boxes per mouse move.
// A text the page sets is held here and reaches its box as soon as anything sends that box a
// message (a read, a write), so every reader of the box still finds what the page set.
#pragma once

#include <windows.h>

#include <string>

#include "pages/speed_table_rules.h"

class SpeedStepBoxes {
  public:
    // Takes the messages of the page's step boxes.
    void attach(HWND page);
    // Hands every held text to its box and gives the boxes back their own procedure.
    void detach();
    bool holds(int controlId) const;
    const std::string& heldText(int controlId) const;
    // False when controlId is no attached step box: then the caller sets the box itself.
    bool hold(int controlId, const std::string& text);

  private:
    static LRESULT CALLBACK boxProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    static int indexOf(int controlId);
    void release(int index);

    HWND boxes_[speedStepCount] = {};
    std::string texts_[speedStepCount];
    bool held_[speedStepCount] = {};
};
