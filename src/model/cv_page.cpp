#include "model/cv_page.h"

#include "model/reading_on_main.h"

CvPage::CvPage(const char* templateName, WindowHandle parent)
    : TabPage(templateName, parent), Win32PageView(static_cast<const TabPage&>(*this)) {}

INT_PTR CvPage::onInitDialog(WPARAM, LPARAM) {
    rules_->fill();
    placeSeparator();
    disableReadingOnMain(window_, readButton);
    return 0;
}

INT_PTR CvPage::onDestroy(WPARAM, LPARAM) {
    rules_->keep();
    forgetBoxes();
    return 0;
}

INT_PTR CvPage::onCommand(int id, int notification) {
    if (CvPageEngine::isEngineButton(id))
        return rules_->command(id, notification);
    return TabPage::onCommand(id, notification);
}

// The line runs 8 pixels above the button row and 10 beyond its outer buttons.
void CvPage::placeSeparator() {
    RECT writeAll{};
    RECT read{};
    RECT page{};
    GetWindowRect(GetDlgItem(window_, writeAllButton), &writeAll);
    GetWindowRect(GetDlgItem(window_, readButton), &read);
    GetWindowRect(window_, &page);
    separatorRect_.left = read.left - page.left - 10;
    separatorRect_.top = (read.top < writeAll.top ? read.top : writeAll.top) - page.top - 8;
    separatorRect_.right = writeAll.right - page.left + 10;
}

INT_PTR CvPage::onPaint(HDC dc, PAINTSTRUCT*) {
    RECT line = separatorRect_;
    line.bottom = line.top + 2;
    DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
    return 1;
}
