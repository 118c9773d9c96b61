// A tab page whose boxes are bound to CVs: the dialog side of the page engine. It fills the
// boxes when built, keeps their texts when destroyed, answers the four engine buttons and draws
// the etched line above them. Derived pages own their rules and attach them.
#pragma once

#include "app/tab_page.h"
#include "model/cv_page_engine.h"
#include "model/win32_page_view.h"

class CvPage : public TabPage, public Win32PageView {
  public:
    CvPage(const char* templateName, WindowHandle parent);

    const RECT& separatorRect() const { return separatorRect_; }

  protected:
    // The rules the page runs; derived constructors attach their own.
    void attachRules(CvPageEngine& rules) { rules_ = &rules; }

    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDestroy(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;
    INT_PTR onPaint(HDC dc, PAINTSTRUCT* paint) override;

  private:
    void placeSeparator();

    CvPageEngine* rules_ = nullptr;
    RECT separatorRect_ = {};
};
