// The "Function Map Editor" tab: the output location grid laid out from its first check box,
// drawn on etched row lines inside an etched frame.
#pragma once

#include "model/cv_page.h"
#include "pages/function_map_rules.h"

class FunctionMapPage : public CvPage {
  public:
    FunctionMapPage(const char* templateName, WindowHandle parent);

  protected:
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;
    INT_PTR onPaint(HDC dc, PAINTSTRUCT* paint) override;

  private:
    void layOut();

    FunctionMapRules rules_;
};
