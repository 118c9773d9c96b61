// What the CV page engine and the pages' rules need of a page's window: the texts and checks of
// its controls by id, its error boxes, its wait bar, repainting and the cancel key. The Win32
// pages implement it over their dialog; tests implement it with a fake.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/wait_progress.h"

class CvPageView {
  public:
    virtual ~CvPageView() = default;

    // The whole text of a box; empty for a control the page does not have.
    virtual std::string boxText(int controlId) = 0;
    virtual void setBoxText(int controlId, const std::string& text) = 0;
    virtual bool isChecked(int controlId) = 0;
    virtual void setChecked(int controlId, bool checked) = 0;
    // A message box with the caption "Error" and an OK button, owned by the page.
    virtual void showError(const std::string& text) = 0;
    // A question with Yes and No, owned by the page, No the default; true only for Yes.
    virtual bool confirm(const std::string& text, const char* caption) = 0;
    // A wait bar centred over the page.
    virtual std::unique_ptr<WaitProgress> openWaitBar(uint32_t maximum, const char* message) = 0;
    // Repaints the main window while an action holds the message loop.
    virtual void repaintMainWindow() = 0;
    // Takes the first key press waiting for any window of the program off the queue, without
    // handling it; 0 when none waits.
    virtual int takeKeyPress() = 0;
    virtual void beep() = 0;
};
