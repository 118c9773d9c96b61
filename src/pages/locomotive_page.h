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
    LocomotiveRules locomotiveRules_;
};
