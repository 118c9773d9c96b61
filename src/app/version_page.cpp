#include "app/version_page.h"

#include <cstdio>
#include <string>

#include "app/animation_window.h"
#include "app/build_info.h"
#include "foundation/module_instance.h"
#include "resources/resource_ids.h"

namespace {

constexpr int bannerPointSize = 28;
constexpr int frameMargin = 2;

RECT rectInPage(HWND page, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(page, id), &rect);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

VersionPage::VersionPage(const char* templateName, WindowHandle parent)
    : TabPage(templateName, parent) {}

INT_PTR VersionPage::onInitDialog(WPARAM, LPARAM) {
    LOGFONTA font{};
    HDC screen = GetDC(window_);
    font.lfHeight = -MulDiv(bannerPointSize, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(window_, screen);
    font.lfWeight = FW_BOLD;
    bannerFont_ = CreateFontIndirectA(&font);
    picture_ = LoadBitmapA(moduleInstance(), "ABOUT_BITMAP");
    SendDlgItemMessageA(window_, IDC_VERSION_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                        reinterpret_cast<LPARAM>(picture_));

    HWND strip = GetDlgItem(window_, IDC_TRAIN_STRIP);
    const LRESULT highest = SendMessageA(strip, animationHighestSpeed, 0, 0);
    const LRESULT speed = SendMessageA(strip, animationGetSpeed, 0, 0);
    SendDlgItemMessageA(window_, IDC_TRAIN_SPEED, TBM_SETRANGEMIN, FALSE, 0);
    SendDlgItemMessageA(window_, IDC_TRAIN_SPEED, TBM_SETRANGEMAX, FALSE, highest);
    SendDlgItemMessageA(window_, IDC_TRAIN_SPEED, TBM_SETPOS, TRUE, speed);

    char text[64];
    std::snprintf(text, sizeof text, "version %s:%s", buildNumber, buildText().c_str());
    SetDlgItemTextA(window_, IDC_VERSION_BUILD, text);
    SetDlgItemTextA(window_, IDC_VERSION_DATE, buildDate);

    const RECT stripRect = rectInPage(window_, IDC_TRAIN_STRIP);
    const RECT picture = rectInPage(window_, IDC_VERSION_PICTURE);
    frame_ = {stripRect.left - frameMargin, picture.top - frameMargin,
              stripRect.right + frameMargin, stripRect.bottom + frameMargin};
    banner_ = {stripRect.left, picture.bottom, stripRect.right, stripRect.top};
    return 0;
}

INT_PTR VersionPage::onDestroy(WPARAM, LPARAM) {
    DeleteObject(bannerFont_);
    bannerFont_ = nullptr;
    SendDlgItemMessageA(window_, IDC_VERSION_PICTURE, STM_SETIMAGE, IMAGE_BITMAP, 0);
    DeleteObject(picture_);
    picture_ = nullptr;
    return 1;
}

INT_PTR VersionPage::onPaint(HDC dc, PAINTSTRUCT*) {
    FillRect(dc, &banner_, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawEdge(dc, &frame_, EDGE_SUNKEN, BF_RECT);
    const COLORREF background = SetBkColor(dc, RGB(255, 255, 255));
    HGDIOBJ font = SelectObject(dc, bannerFont_);
    DrawTextA(dc, productName, -1, &banner_, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    SelectObject(dc, font);
    SetBkColor(dc, background);
    return 1;
}

INT_PTR VersionPage::onHorizontalScroll(WPARAM wParam, LPARAM) {
    // Releasing the slider reports TB_ENDTRACK after the move that already set the speed.
    if (LOWORD(wParam) > TB_BOTTOM)
        return 0;
    const LRESULT speed = SendDlgItemMessageA(window_, IDC_TRAIN_SPEED, TBM_GETPOS, 0, 0);
    SendDlgItemMessageA(window_, IDC_TRAIN_STRIP, animationSetSpeed, 0, speed);
    return 1;
}

INT_PTR VersionPage::onSysColorChange() {
    SendDlgItemMessageA(window_, IDC_TRAIN_SPEED, WM_SYSCOLORCHANGE, 0, 0);
    return 1;
}

TabPage* createVersionPage(const char* templateName, WindowHandle parent) {
    return new VersionPage(templateName, parent);
}
