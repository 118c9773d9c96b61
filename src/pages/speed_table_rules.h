// The speed table page's rules over its 28 bound CVs (CV 67 to CV 94): the table arithmetic,
// the value/position rules of the graph's thumbs, Force Inclination and the three table actions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/cv_page_engine.h"

constexpr int speedStepCount = 28;
constexpr int firstSpeedCv = 67;

// Controls of the speed table page beyond the engine's buttons.
enum : int {
    firstSpeedBox = 1270, // step k has box 1269 + k
    defaultTableButton = 1298,
    forceInclinationCheck = 1299,
    buildFromRightButton = 1300,
    showCvCheck = 1302,
    zeroTableButton = 1305,
};

inline int speedStepBox(int step) {
    return firstSpeedBox + step - 1;
}

// Module state of the page: the two options outlive every page object but not the program.
extern int forceInclination;
extern int showCvInPopup;
void resetSpeedTablePageState();

// Table arithmetic.
uint32_t defaultTableValue(int step);
// A straight line from 0 at step 0 up to the given value at step 28.
uint32_t buildFromRightValue(int step, uint32_t lastValue);
// A box text as the page reads it for the graph: the leading number, empty or wordy gives 0.
int32_t speedBoxNumber(const std::string& text);

// Thumb geometry: a thumb's position is its top edge in its slider, 0 (value 255) to 255
// (value 0); values outside 0..255 are clamped first.
int thumbPositionForValue(long value);
int clampThumbPosition(long position);
inline unsigned thumbValueAt(int position) {
    return static_cast<unsigned>(255 - position);
}

// The step an arrow key moves a thumb by. A fresh press restarts the count; held down, the key
// gives steps of 1, 1, 1, 1, 3, 3, 3, 6, 6, 6 and 10 from then on.
unsigned keyRepeatStep(bool repeated, unsigned* keyRepeat);

// The popup's text for a step's CV and value.
std::string speedPopupText(int cv, int value, bool showCv);

// The steps Force Inclination levels to a value set at one step: walking left, every step whose
// box is not empty and above the value; walking right, every step below it, an empty box
// counting as 0. Texts are the boxes of steps 1 to 28.
std::vector<int> inclinationSteps(const std::vector<std::string>& texts, int step, uint32_t value);

// What the rules need of the graph: moving a step's slider to a value. With notify the slider
// reports the value it shows back through setSpeedStep, as if the user had set it.
class SpeedSliders {
  public:
    virtual ~SpeedSliders() = default;
    virtual void moveSlider(int step, long value, bool notify) = 0;
};

class SpeedTableRules : public CvPageEngine {
  public:
    SpeedTableRules(CvPageView& view, SpeedSliders& sliders);

    // The user set a step's value on the graph.
    void setSpeedStep(int step, uint32_t value);
    // Whether a control is one of the page's own (the table buttons and the options).
    static bool isTableControl(int controlId);
    // A command of a table control: acts on a click; every notification counts as handled.
    int tableCommand(int controlId, int notification);

    void formatValue(size_t index, uint8_t value, std::string* text) override;
    int refreshDerived() override;

  private:
    // Sends every slider its new value, without Force Inclination.
    void setWholeTable(uint32_t (*valueOf)(int step, uint32_t context), uint32_t context);
    void forceInclinationClicked();

    SpeedSliders& sliders_;
};
