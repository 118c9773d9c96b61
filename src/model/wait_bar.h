// The progress window of every long operation: a bar and one line of text over the window that
// started it, with the hourglass cursor while it lasts. It runs no message loop of its own.
#pragma once

#include <windows.h>

#include <cstdint>

#include "model/wait_progress.h"

class WaitBar : public WaitProgress {
  public:
    // Builds and shows the window centred on owner; a non-empty message stays readable for a
    // moment before the work starts.
    WaitBar(HWND owner, uint32_t maximum, const char* message);
    WaitBar(const WaitBar&) = delete;
    WaitBar& operator=(const WaitBar&) = delete;
    // Closes: a bar not abandoned is shown full for a moment first.
    ~WaitBar() override;

    // Advances by one; a null message leaves the line as it was.
    void step(const char* message) override;
    void setMessage(const char* message) override { setPosition(position_, message); }
    // Positions beyond the maximum show a full bar.
    void setPosition(uint32_t position, const char* message) override;
    // The operation failed: close where the bar stands, without the final fill.
    void abandon() override { fillOnClose_ = false; }

    HWND window() const { return window_; }
    // What the operation repaints while it runs: the parent of the owner, or none.
    HWND repaintTarget() const { return repaintTarget_; }
    uint32_t position() const { return position_; }
    uint32_t maximum() const { return maximum_; }

  private:
    static INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    void centreOn(HWND owner);
    void comeToTop();

    HWND window_ = nullptr;
    // Found once: under Wine every search for a control is a request to its server, and the bar
    // is stepped once per CV.
    HWND progress_ = nullptr;
    HWND messageLine_ = nullptr;
    HWND repaintTarget_ = nullptr;
    uint32_t maximum_;
    uint32_t position_ = 0;
    HCURSOR savedCursor_ = nullptr;
    bool fillOnClose_ = true;
};
