#include "pages/locomotive_page.h"

LocomotivePage::LocomotivePage(const char* templateName, WindowHandle parent)
    : CvPage(templateName, parent), locomotiveRules_(*this) {
    attachRules(locomotiveRules_);
}

INT_PTR LocomotivePage::onInitDialog(WPARAM wParam, LPARAM lParam) {
    CvPage::onInitDialog(wParam, lParam);
    HWND units = GetDlgItem(window_, momentumUnitsCombo);
    SendMessageA(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Raw value"));
    SendMessageA(units, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Milliseconds per speed step"));
    SendMessageA(units, CB_SETCURSEL, static_cast<WPARAM>(momentumDisplayMode), 0);
    return 0;
}

INT_PTR LocomotivePage::onCommand(int id, int notification) {
    if (id == momentumUnitsCombo) {
        if (notification != CBN_SELCHANGE)
            return 0;
        locomotiveRules_.changeMomentumUnits(
            static_cast<int>(SendDlgItemMessageA(window_, id, CB_GETCURSEL, 0, 0)));
        return 1;
    }
    unsigned bit = 0;
    bool set = false;
    if (radioButtonEffect(id, &bit, &set)) {
        locomotiveRules_.radioButtonClicked(id);
        return 0;
    }
    return CvPage::onCommand(id, notification);
}
