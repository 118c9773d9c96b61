#include "pages/speed_table_page.h"

#include <climits>

#include "foundation/module_instance.h"
#include "pages/speed_table_graph.h"

HWND speedPageWindow = nullptr;
HWND speedSlides[speedStepCount] = {};

namespace {

constexpr int graphWidth = speedStepCount * sliderWidth;
constexpr int graphTop = 10;
constexpr int frameBottom = 285;
// Rows through the thumbs of the values 255, 128 and 0.
constexpr int levelRows[3] = {14, 141, 269};

SpeedTablePage* openPage = nullptr;

int leadingValue(HWND page, int controlId) {
    char text[100] = {};
    GetDlgItemTextA(page, controlId, text, sizeof text);
    return speedBoxNumber(text);
}

} // namespace

void setSpeedStep(int step, unsigned value) {
    if (speedPageWindow && openPage)
        openPage->rules_.setSpeedStep(step, value);
}

SpeedTablePage::SpeedTablePage(const char* templateName, WindowHandle parent)
    : CvPage(templateName, parent), rules_(*this, *this) {
    attachRules(rules_);
}

SpeedTablePage::~SpeedTablePage() = default;

std::string SpeedTablePage::boxText(int controlId) {
    return stepBoxes_.holds(controlId) ? stepBoxes_.heldText(controlId)
                                       : CvPage::boxText(controlId);
}

void SpeedTablePage::setBoxText(int controlId, const std::string& text) {
    if (!stepBoxes_.hold(controlId, text))
        CvPage::setBoxText(controlId, text);
}

void SpeedTablePage::moveSlider(int step, long value, bool notify) {
    if (step < 1 || step > speedStepCount || !speedSlides[step - 1])
        return;
    // The thumb reads wParam as a signed int.
    const int clamped = value > INT_MAX   ? INT_MAX
                        : value < INT_MIN ? INT_MIN
                                          : static_cast<int>(value);
    SendMessageA(speedSlides[step - 1], sliderSetValue, static_cast<WPARAM>(clamped),
                 notify ? 1 : 0);
}

void SpeedTablePage::createSliders(int x0) {
    // The graph stands above the buttons, so Tab reaches its sliders first, step by step.
    HWND previous = HWND_TOP;
    for (int k = 1; k <= speedStepCount; ++k) {
        HWND slider = CreateWindowExA(
            WS_EX_CONTROLPARENT | WS_EX_NOPARENTNOTIFY, "Orvale_DCC_SpeedTableSlide_Window", "",
            WS_CHILD | WS_CLIPCHILDREN, x0 + sliderWidth * (k - 1), graphTop, sliderWidth,
            sliderHeight, window_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstSliderId + k - 1)), moduleInstance(),
            reinterpret_cast<LPVOID>(static_cast<INT_PTR>(k)));
        speedSlides[k - 1] = slider;
        // A slider that cannot be created is left out; its step keeps its box.
        if (!slider)
            continue;
        SetWindowPos(slider, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = slider;
        SendMessageA(slider, sliderSetValue,
                     static_cast<WPARAM>(leadingValue(window_, speedStepBox(k))), 0);
        ShowWindow(slider, SW_SHOWNORMAL);
    }
}

void SpeedTablePage::placeLevelMarks(int x0, int clientWidth) {
    for (int i = 0; i < 3; ++i) {
        const int y = levelRows[i];
        levelMarks_[2 * i][0] = {0, y};
        levelMarks_[2 * i][1] = {x0, y};
        levelMarks_[2 * i + 1][0] = {x0 + graphWidth, y};
        levelMarks_[2 * i + 1][1] = {clientWidth, y};
    }
}

INT_PTR SpeedTablePage::onInitDialog(WPARAM wParam, LPARAM lParam) {
    speedPageWindow = window_;
    openPage = this;
    stepBoxes_.attach(window_);
    RECT client{};
    GetClientRect(window_, &client);
    const int x0 = (client.right - graphWidth) / 2;
    createSliders(x0);
    placeLevelMarks(x0, client.right);
    markPen_ = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    frame_ = {0, 0, graphWidth, frameBottom};
    CheckDlgButton(window_, showCvCheck, showCvInPopup ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(window_, forceInclinationCheck, forceInclination ? BST_CHECKED : BST_UNCHECKED);
    return CvPage::onInitDialog(wParam, lParam);
}

INT_PTR SpeedTablePage::onDestroy(WPARAM wParam, LPARAM lParam) {
    stepBoxes_.detach();
    speedPageWindow = nullptr;
    openPage = nullptr;
    for (HWND& slider : speedSlides) {
        if (slider)
            DestroyWindow(slider);
        slider = nullptr;
    }
    CvPage::onDestroy(wParam, lParam);
    if (markPen_)
        DeleteObject(markPen_);
    markPen_ = nullptr;
    return 0;
}

INT_PTR SpeedTablePage::onCommand(int id, int notification) {
    if (SpeedTableRules::isTableControl(id))
        return rules_.tableCommand(id, notification);
    return CvPage::onCommand(id, notification);
}

INT_PTR SpeedTablePage::onPaint(HDC dc, PAINTSTRUCT* paint) {
    CvPage::onPaint(dc, paint);
    RECT frame = frame_;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_TOP);
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_BOTTOM);
    if (markPen_) {
        HGDIOBJ oldPen = SelectObject(dc, markPen_);
        for (const POINT* mark : levelMarks_)
            Polyline(dc, mark, 2);
        SelectObject(dc, oldPen);
    }
    return 1;
}

INT_PTR SpeedTablePage::onEnterSizeMove() {
    if (speedSlides[0])
        SendMessageA(speedSlides[0], sliderHidePopup, 0, 0);
    return 0;
}

INT_PTR SpeedTablePage::onExitSizeMove() {
    if (speedSlides[0])
        SendMessageA(speedSlides[0], sliderShowPopup, 0, 0);
    return 0;
}

TabPage* createSpeedTablePage(const char* templateName, WindowHandle parent) {
    return new SpeedTablePage(templateName, parent);
}
