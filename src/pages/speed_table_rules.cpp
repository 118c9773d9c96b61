#include "pages/speed_table_rules.h"

#include <climits>
#include <cstdio>

#include "foundation/decimal_text.h"

int forceInclination = 0;
int showCvInPopup = 0;

void resetSpeedTablePageState() {
    forceInclination = 0;
    showCvInPopup = 0;
}

namespace {

constexpr int lastStepBox = firstSpeedBox + speedStepCount - 1;
constexpr long topValue = 255;

// Step k is box 1269 + k and CV 66 + k.
struct SpeedBindings {
    CvBinding table[speedStepCount];
};
constexpr SpeedBindings makeSpeedBindings() {
    SpeedBindings bindings{};
    for (int i = 0; i < speedStepCount; ++i)
        bindings.table[i] = {firstSpeedBox + i, firstSpeedCv + i};
    return bindings;
}
constexpr SpeedBindings speedBindings = makeSpeedBindings();

std::string unsignedDecimal(uint32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(number));
    return text;
}

uint32_t zeroValue(int, uint32_t) {
    return 0;
}

uint32_t defaultValue(int step, uint32_t) {
    return defaultTableValue(step);
}

} // namespace

uint32_t defaultTableValue(int step) {
    return static_cast<uint32_t>(step) * 255 / speedStepCount;
}

uint32_t buildFromRightValue(int step, uint32_t lastValue) {
    return static_cast<uint32_t>(step) * lastValue / speedStepCount;
}

int32_t speedBoxNumber(const std::string& text) {
    const long number = leadingNumber(text);
    if (number > INT32_MAX)
        return INT32_MAX;
    if (number < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(number);
}

int clampThumbPosition(long position) {
    return position < 0          ? 0
           : position > topValue ? static_cast<int>(topValue)
                                 : static_cast<int>(position);
}

int thumbPositionForValue(long value) {
    const long clamped = value < 0 ? 0 : value > topValue ? topValue : value;
    return static_cast<int>(topValue - clamped);
}

unsigned keyRepeatStep(bool repeated, unsigned* keyRepeat) {
    if (!repeated) {
        *keyRepeat = 0;
        return 1;
    }
    ++*keyRepeat;
    if (*keyRepeat <= 3)
        return 1;
    if (*keyRepeat <= 6)
        return 3;
    if (*keyRepeat <= 9)
        return 6;
    // Parked well past 9, so a key held for ever neither wraps the count nor slows down.
    *keyRepeat = 100;
    return 10;
}

std::string speedPopupText(int cv, int value, bool showCv) {
    char text[48];
    if (showCv)
        std::snprintf(text, sizeof text, "CV %d = %d", cv, value);
    else
        std::snprintf(text, sizeof text, "Speed %d = %d", cv - (firstSpeedCv - 1), value);
    return text;
}

std::vector<int> inclinationSteps(const std::vector<std::string>& texts, int step, uint32_t value) {
    std::vector<int> steps;
    for (int j = step - 1; j >= 1; --j) {
        const std::string& text = texts[static_cast<size_t>(j - 1)];
        if (!text.empty() && static_cast<uint32_t>(speedBoxNumber(text)) > value)
            steps.push_back(j);
    }
    for (int j = step + 1; j <= speedStepCount; ++j) {
        if (static_cast<uint32_t>(speedBoxNumber(texts[static_cast<size_t>(j - 1)])) < value)
            steps.push_back(j);
    }
    return steps;
}

SpeedTableRules::SpeedTableRules(CvPageView& view, SpeedSliders& sliders)
    : CvPageEngine(view, speedBindings.table, speedStepCount), sliders_(sliders) {}

void SpeedTableRules::setSpeedStep(int step, uint32_t value) {
    if (step < 1 || step > speedStepCount)
        return;
    view_.setBoxText(speedStepBox(step), unsignedDecimal(value));
    if (!forceInclination)
        return;
    std::vector<std::string> texts;
    for (int k = 1; k <= speedStepCount; ++k)
        texts.push_back(view_.boxText(speedStepBox(k)));
    for (int j : inclinationSteps(texts, step, value)) {
        view_.setBoxText(speedStepBox(j), unsignedDecimal(value));
        sliders_.moveSlider(j, static_cast<long>(value), false);
    }
}

bool SpeedTableRules::isTableControl(int controlId) {
    return controlId == zeroTableButton || controlId == defaultTableButton ||
           controlId == buildFromRightButton || controlId == forceInclinationCheck ||
           controlId == showCvCheck;
}

int SpeedTableRules::tableCommand(int controlId, int notification) {
    if (notification != 0)
        return 1;
    switch (controlId) {
    case zeroTableButton:
        setWholeTable(zeroValue, 0);
        break;
    case defaultTableButton:
        setWholeTable(defaultValue, 0);
        break;
    case buildFromRightButton:
        setWholeTable(buildFromRightValue,
                      static_cast<uint32_t>(speedBoxNumber(view_.boxText(lastStepBox))));
        break;
    case forceInclinationCheck:
        forceInclinationClicked();
        break;
    case showCvCheck:
        // The popup takes the new form the next time it paints.
        showCvInPopup = view_.isChecked(showCvCheck) ? 1 : 0;
        break;
    default:
        break;
    }
    return 1;
}

void SpeedTableRules::setWholeTable(uint32_t (*valueOf)(int step, uint32_t context),
                                    uint32_t context) {
    // Each slider writes its own box; the neighbours must not follow while the table changes.
    const int saved = forceInclination;
    forceInclination = 0;
    for (int k = 1; k <= speedStepCount; ++k)
        sliders_.moveSlider(k, static_cast<long>(valueOf(k, context)), true);
    forceInclination = saved;
}

void SpeedTableRules::forceInclinationClicked() {
    forceInclination = view_.isChecked(forceInclinationCheck) ? 1 : 0;
    const std::string last = view_.boxText(lastStepBox);
    if (last.empty()) {
        clearAll();
        return;
    }
    // Levelled to what step 28's slider shows: a kept text out of range (say -5) must not turn
    // into a huge unsigned number in the boxes.
    setSpeedStep(speedStepCount, thumbValueAt(thumbPositionForValue(speedBoxNumber(last))));
}

void SpeedTableRules::formatValue(size_t index, uint8_t value, std::string* text) {
    CvPageEngine::formatValue(index, value, text);
    sliders_.moveSlider(static_cast<int>(index) + 1, value, false);
}

int SpeedTableRules::refreshDerived() {
    for (int k = 1; k <= speedStepCount; ++k)
        sliders_.moveSlider(k, speedBoxNumber(view_.boxText(speedStepBox(k))), false);
    return 0;
}
