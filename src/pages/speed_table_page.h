// The "Speed Table Editor" page: 28 hidden boxes bound to CV 67 to CV 94, drawn and edited as a
// graph of 28 sliders, with the three table actions and the two options.
#pragma once

#include "model/cv_page.h"
#include "pages/speed_step_boxes.h"
#include "pages/speed_table_rules.h"

// The open page and its sliders (entry k - 1 for step k); null while no page is open.
extern HWND speedPageWindow;
extern HWND speedSlides[speedStepCount];

// The graph reports a value the user set at a step; acts only while the page is open.
void setSpeedStep(int step, unsigned value);

class SpeedTablePage : public CvPage, private SpeedSliders {
  public:
    SpeedTablePage(const char* templateName, WindowHandle parent);

    std::string boxText(int controlId) override;
    void setBoxText(int controlId, const std::string& text) override;

  protected:
    ~SpeedTablePage() override;
    INT_PTR onInitDialog(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onDestroy(WPARAM wParam, LPARAM lParam) override;
    INT_PTR onCommand(int id, int notification) override;
    INT_PTR onPaint(HDC dc, PAINTSTRUCT* paint) override;
    INT_PTR onEnterSizeMove() override;
    INT_PTR onExitSizeMove() override;

  private:
    friend void setSpeedStep(int step, unsigned value);

    void moveSlider(int step, long value, bool notify) override;
    void createSliders(int x0);
    void placeLevelMarks(int x0, int clientWidth);

    SpeedStepBoxes stepBoxes_;
    SpeedTableRules rules_;
    HPEN markPen_ = nullptr;
    RECT frame_ = {};
    POINT levelMarks_[6][2] = {};
};

TabPage* createSpeedTablePage(const char* templateName, WindowHandle parent);
