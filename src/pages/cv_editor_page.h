// The "CV Editor" page: one CV read or written at a time. The dialog only hands its
// notifications to the editor's rules, which outlive the page through their module state.
#pragma once

#include "app/tab_page.h"
#include "model/win32_page_view.h"
#include "pages/cv_editor_rules.h"

class CvEditorPage : public TabPage, public Win32PageView {
  public:
    CvEditorPage(const char* templateName, WindowHandle parent);

  protected:
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDestroy(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;

  private:
    CvEditorRules rules_;
};
