// The "Version" tab: the picture, the product banner, the build date and version, and the train
// strip with its speed slider.
#pragma once

#include "app/tab_page.h"

class VersionPage : public TabPage {
  public:
    VersionPage(const char* templateName, WindowHandle parent);

  protected:
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDestroy(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onPaint(HDC dc, PAINTSTRUCT* paint) override;
    INT_PTR onHorizontalScroll(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onSysColorChange() override;

  private:
    // Page client pixels: around the picture, banner band and strip; and the band itself.
    RECT frame_{};
    RECT banner_{};
    HFONT bannerFont_ = nullptr;
    HBITMAP picture_ = nullptr;
};

// The page factory of the Version tab.
TabPage* createVersionPage(const char* templateName, WindowHandle parent);
