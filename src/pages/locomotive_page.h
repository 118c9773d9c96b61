// The "Locomotive Decoder" page: the engine's bound boxes plus the units combo box and the six
// radio pairs of CV 29, which the page's rules keep in step with the hidden boxes.
#pragma once

#include "model/cv_page.h"
#include "pages/locomotive_rules.h"

class LocomotivePage : public CvPage {
  public:
    LocomotivePage(const char* templateName, WindowHandle parent);

  protected:
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;

  private:
    // Watches the focus arriving at a radio button: Windows clicks an unchecked one that gets
    // the focus, which must change CV 29 only when an arrow key moved it there, not by Tab.
    static LRESULT CALLBACK radioButtonProcedure(HWND button, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR page);
    void chooseRadioButton(int id);
    // Gives each pair its one tab stop, after anything that may have changed the checks.
    void placeRadioTabStops();

    LocomotiveRules locomotiveRules_;
    bool focusArriving_ = false;
};
