#include "pages/locomotive_page.h"

namespace {

bool arrowKeyDown() {
    for (int key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})
        if (GetKeyState(key) < 0)
            return true;
    return false;
}

} // namespace

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
    for (unsigned pair = 0; pair < radioPairCount; ++pair) {
        int stop = 0;
        int other = 0;
        radioPairTabStop(pair, &stop, &other);
        for (int id : {stop, other})
            SetWindowSubclass(GetDlgItem(window_, id), radioButtonProcedure, 0,
                              reinterpret_cast<DWORD_PTR>(this));
    }
    placeRadioTabStops();
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
        // The click Windows sends for the focus alone; an arrow key's is taken on arrival.
        if (!focusArriving_)
            chooseRadioButton(id);
        return 0;
    }
    const INT_PTR result = CvPage::onCommand(id, notification);
    // Read and Clear change the checks; the boxes a Read fills also come here, and under Wine
    // placing the stops for each of them cost some 10 ms per CV read.
    if (CvPageEngine::isEngineButton(id))
        placeRadioTabStops();
    return result;
}

LRESULT CALLBACK LocomotivePage::radioButtonProcedure(HWND button, UINT message, WPARAM wParam,
                                                      LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(button, radioButtonProcedure, 0);
    if (message != WM_SETFOCUS)
        return DefSubclassProc(button, message, wParam, lParam);
    auto* page = reinterpret_cast<LocomotivePage*>(data);
    page->focusArriving_ = true;
    const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
    page->focusArriving_ = false;
    if (arrowKeyDown() && SendMessageA(button, BM_GETCHECK, 0, 0) != BST_CHECKED)
        page->chooseRadioButton(GetDlgCtrlID(button));
    return result;
}

void LocomotivePage::chooseRadioButton(int id) {
    locomotiveRules_.radioButtonClicked(id);
    placeRadioTabStops();
}

void LocomotivePage::placeRadioTabStops() {
    for (unsigned pair = 0; pair < radioPairCount; ++pair) {
        int stop = 0;
        int other = 0;
        radioPairTabStop(pair, &stop, &other);
        for (int id : {stop, other}) {
            HWND button = GetDlgItem(window_, id);
            const LONG_PTR style = GetWindowLongPtrA(button, GWL_STYLE);
            const LONG_PTR placed = id == stop ? style | WS_TABSTOP : style & ~WS_TABSTOP;
            if (placed != style) // a change costs a round of messages
                SetWindowLongPtrA(button, GWL_STYLE, placed);
        }
    }
}
