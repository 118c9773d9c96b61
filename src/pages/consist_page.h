// The "Consist Editor" tab: the consist CVs, with CV 21 and CV 22 edited bit by bit.
#pragma once

#include "model/cv_page.h"
#include "pages/consist_rules.h"

class ConsistPage : public CvPage {
  public:
    ConsistPage(const char* templateName, WindowHandle parent);

  protected:
    INT_PTR onCommand(int id, int notification) override;

  private:
    ConsistRules rules_;
};
