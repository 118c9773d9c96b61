#include "pages/locomotive_rules.h"

#include <algorithm>
#include <cstdio>

#include "foundation/decimal_text.h"
#include "stations/station_manager.h"

uint8_t configValue = 0;
uint32_t configKnownBits = 0;
int momentumDisplayMode = 0;

void resetLocomotivePageState() {
    configValue = 0;
    configKnownBits = 0;
    momentumDisplayMode = 0;
}

namespace {

constexpr CvBinding locomotiveBindings[] = {
    {1050, 8},  {1051, 7},  {1042, 1},  {1076, 18}, {1077, 17},  {1059, 3},
    {1060, 4},  {1075, 29}, {1044, 2},  {1045, 6},  {1046, 5},   {1047, 65},
    {1048, 66}, {1049, 95}, {1058, 10}, {1064, 11}, {1053, 105}, {1055, 106},
};

// Each pair of CV 29: the button that clears its bit, the one that sets it.
struct RadioPair {
    int clearButton;
    int setButton;
};
constexpr RadioPair radioPairs[6] = {{1062, 1063}, {1065, 1066}, {1068, 1067},
                                     {1070, 1069}, {1071, 1072}, {1073, 1074}};
constexpr uint32_t allConfigBits = 63;
constexpr int momentumMillisecondsMode = 1;

std::string decimal(int64_t number) {
    char text[24];
    std::snprintf(text, sizeof text, "%lld", static_cast<long long>(number));
    return text;
}

std::string unsignedDecimal(uint32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(number));
    return text;
}

int momentumSlot(int controlId) {
    return controlId == accelerationBox ? 0 : controlId == decelerationBox ? 1 : -1;
}

} // namespace

ExtendedAddress splitLongAddress(uint32_t address) {
    return {static_cast<uint8_t>(((address >> 8) & 255) | 192),
            static_cast<uint8_t>(address & 255)};
}

uint32_t joinLongAddress(long cv17, long cv18) {
    return ((static_cast<uint32_t>(cv17) & 63) * 256) | static_cast<uint32_t>(cv18);
}

int LocomotiveRules::speedStepCount(uint8_t config) {
    return config & 2 ? 28 : 14;
}

namespace {

// Far beyond any byte in either unit, and small enough that the products cannot overflow.
int64_t saturated(int64_t number) {
    constexpr int64_t limit = int64_t(1) << 40;
    return number > limit ? limit : number < -limit ? -limit : number;
}

} // namespace

int64_t momentumToMilliseconds(int64_t value, int steps) {
    return saturated(value) * 896 / steps;
}

int64_t millisecondsToMomentum(int64_t milliseconds, int steps) {
    return steps * saturated(milliseconds) / 896;
}

bool radioButtonEffect(int controlId, unsigned* bit, bool* set) {
    for (unsigned i = 0; i < 6; ++i) {
        if (controlId == radioPairs[i].clearButton || controlId == radioPairs[i].setButton) {
            *bit = i;
            *set = controlId == radioPairs[i].setButton;
            return true;
        }
    }
    return false;
}

void radioPairTabStop(unsigned pair, int* stop, int* other) {
    const RadioPair& buttons = radioPairs[pair];
    const int upper = std::min(buttons.clearButton, buttons.setButton);
    *stop = upper;
    if ((configKnownBits >> pair) & 1u)
        *stop = (configValue >> pair) & 1u ? buttons.setButton : buttons.clearButton;
    *other = *stop == buttons.clearButton ? buttons.setButton : buttons.clearButton;
}

LocomotiveRules::LocomotiveRules(CvPageView& view)
    : CvPageEngine(view, locomotiveBindings,
                   sizeof locomotiveBindings / sizeof locomotiveBindings[0]) {}

void LocomotiveRules::radioButtonClicked(int controlId) {
    unsigned bit = 0;
    bool set = false;
    if (!radioButtonEffect(controlId, &bit, &set))
        return;
    if (set)
        configValue = static_cast<uint8_t>(configValue | (1u << bit));
    else
        configValue = static_cast<uint8_t>(configValue & ~(1u << bit));
    configKnownBits |= 1u << bit;
    refreshConfiguration();
}

void LocomotiveRules::refreshConfiguration() {
    for (unsigned i = 0; i < 6; ++i) {
        const bool known = (configKnownBits >> i) & 1u;
        const bool set = (configValue >> i) & 1u;
        view_.setChecked(radioPairs[i].clearButton, known && !set);
        view_.setChecked(radioPairs[i].setButton, known && set);
    }
    view_.setBoxText(configBox, configKnownBits ? decimal(configValue) : std::string());
}

void LocomotiveRules::changeMomentumUnits(int m) {
    if (m == momentumDisplayMode)
        return;
    const int steps = speedStepCount(configValue);
    for (int box : {accelerationBox, decelerationBox}) {
        const std::string text = view_.boxText(box);
        if (text.empty())
            continue;
        const long n = leadingNumber(text);
        view_.setBoxText(box,
                         decimal(m == momentumMillisecondsMode ? momentumToMilliseconds(n, steps)
                                                               : millisecondsToMomentum(n, steps)));
    }
    momentumDisplayMode = m;
}

void LocomotiveRules::formatValue(size_t index, uint8_t value, std::string* text) {
    const int control = binding(index).controlId;
    const int slot = momentumSlot(control);
    if (slot >= 0) {
        momentumFromValue_[slot] = true;
        if (momentumDisplayMode == momentumMillisecondsMode) {
            if (text)
                *text = decimal(momentumToMilliseconds(value, speedStepCount(configValue)));
            return;
        }
    } else if (control == configBox) {
        configValue = value;
        configKnownBits = allConfigBits;
        refreshConfiguration();
        reformatMomentum();
    } else if (control == extendedHighBox) {
        uint8_t low = 0;
        uint8_t high = 0;
        if (knownCvValue(18, &low, 1) == 0 && knownCvValue(17, &high, 1) == 0)
            view_.setBoxText(longAddressBox, unsignedDecimal(joinLongAddress(high, low)));
    }
    CvPageEngine::formatValue(index, value, text);
}

void LocomotiveRules::reformatMomentum() {
    if (momentumDisplayMode != momentumMillisecondsMode)
        return;
    for (size_t i = 0; i < bindingCount(); ++i) {
        const int slot = momentumSlot(binding(i).controlId);
        uint8_t value = 0;
        if (slot >= 0 && momentumFromValue_[slot] && knownCvValue(binding(i).cv, &value, 1) == 0)
            view_.setBoxText(binding(i).controlId,
                             decimal(momentumToMilliseconds(value, speedStepCount(configValue))));
    }
}

int LocomotiveRules::parseValue(size_t index, const std::string& text, uint8_t* value) {
    if (momentumSlot(binding(index).controlId) < 0)
        return CvPageEngine::parseValue(index, text, value);
    if (!isNumberText(text)) {
        showValueError(index, notANumber);
        return 1;
    }
    int64_t n = leadingNumber(text);
    if (momentumDisplayMode == momentumMillisecondsMode && n >= 0)
        n = millisecondsToMomentum(n, speedStepCount(configValue));
    if (n < 0 || n > 255) {
        showValueError(index, "Value too large");
        return 1;
    }
    *value = static_cast<uint8_t>(n);
    return 0;
}

int LocomotiveRules::prepareWrite() {
    view_.setBoxText(extendedHighBox, "");
    view_.setBoxText(extendedLowBox, "");
    const std::string text = view_.boxText(longAddressBox);
    if (text.empty())
        return 0;
    // Without a number the address would read as 0 and overwrite the decoder's.
    if (!isNumberText(text)) {
        view_.showError(std::string("Error with Long Address, ") + notANumber);
        return 1;
    }
    const long address = leadingNumber(text);
    if (address < 0 || address > longAddressLimit) {
        view_.showError("Error with Long Address, Value too large");
        return 1;
    }
    const ExtendedAddress parts = splitLongAddress(static_cast<uint32_t>(address));
    view_.setBoxText(extendedHighBox, unsignedDecimal(parts.high));
    view_.setBoxText(extendedLowBox, unsignedDecimal(parts.low));
    return 0;
}

int LocomotiveRules::refreshDerived() {
    const std::string config = view_.boxText(configBox);
    if (config.empty()) {
        configValue = 0;
        configKnownBits = 0;
    } else {
        configValue = static_cast<uint8_t>(leadingNumber(config) & 255);
        configKnownBits = allConfigBits;
    }
    refreshConfiguration();
    reformatMomentum();
    momentumFromValue_[0] = momentumFromValue_[1] = false;

    const std::string high = view_.boxText(extendedHighBox);
    const std::string low = view_.boxText(extendedLowBox);
    view_.setBoxText(longAddressBox,
                     !high.empty() && !low.empty()
                         ? unsignedDecimal(joinLongAddress(leadingNumber(high), leadingNumber(low)))
                         : std::string());
    return 0;
}
