// The "Accessory Decoder" tab: CV 513 to CV 521 of a stationary decoder, its address in one box
// and its auxiliary activation as eight check boxes.
#pragma once

#include "model/cv_page.h"
#include "pages/accessory_rules.h"

class AccessoryPage : public CvPage {
  public:
    AccessoryPage(const char* templateName, WindowHandle parent);

  protected:
    INT_PTR onCommand(int id, int notification) override;

  private:
    AccessoryRules rules_;
};
