#include "pages/accessory_rules.h"

#include "foundation/decimal_text.h"
#include "stations/station_manager.h"

const int auxiliaryBoxes[8] = {1102, 1109, 1110, 1111, 1112, 1113, 1114, 1115};

namespace {

constexpr CvBinding accessoryBindings[] = {
    {1050, 520}, {1051, 519}, {addressLowBox, 513}, {addressHighBox, 521}, {auxiliaryBox, 514},
    {1089, 515}, {1090, 516}, {1091, 517},          {1092, 518},
};

constexpr uint32_t lowBits = 63;
constexpr uint32_t highBits = 7;

// What a hidden box held, as a byte; when it held none (emptied by an address refused before),
// the CV's known value; else 0.
uint8_t heldByte(const std::string& text, int32_t cv) {
    uint8_t known = 0;
    if (!isNumberText(text))
        return knownCvValue(cv, &known, 1) == 0 ? known : 0;
    const long value = leadingNumber(text);
    return value >= 0 && value <= 255 ? static_cast<uint8_t>(value) : 0;
}

} // namespace

AccessoryAddress splitAccessoryAddress(uint32_t address, uint8_t heldLow, uint8_t heldHigh) {
    return {static_cast<uint8_t>((heldLow & ~lowBits) | (address & lowBits)),
            static_cast<uint8_t>((heldHigh & ~highBits) | ((address / 64) & highBits))};
}

uint32_t joinAccessoryAddress(uint32_t cv513, uint32_t cv521) {
    return (cv521 & highBits) * 64 + (cv513 & lowBits);
}

AccessoryRules::AccessoryRules(CvPageView& view)
    : NumberBoxRules(view, accessoryBindings,
                     sizeof accessoryBindings / sizeof accessoryBindings[0]) {}

bool AccessoryRules::isAuxiliaryBox(int controlId) {
    for (int box : auxiliaryBoxes)
        if (box == controlId)
            return true;
    return false;
}

void AccessoryRules::auxiliaryFromCheckBoxes() {
    view_.setBoxText(auxiliaryBox, unsignedText(checkedBits(auxiliaryBoxes, 8)));
}

void AccessoryRules::formatValue(size_t index, uint8_t value, std::string* text) {
    const int control = binding(index).controlId;
    if (control == addressHighBox) {
        uint8_t low = 0;
        uint8_t high = 0;
        view_.setBoxText(accessoryAddressBox,
                         knownCvValue(513, &low, 1) == 0 && knownCvValue(521, &high, 1) == 0
                             ? unsignedText(joinAccessoryAddress(low, high))
                             : std::string());
    } else if (control == auxiliaryBox) {
        showBits(auxiliaryBoxes, 8, value);
    }
    CvPageEngine::formatValue(index, value, text);
}

int AccessoryRules::prepareWrite() {
    const uint8_t heldLow = heldByte(view_.boxText(addressLowBox), 513);
    const uint8_t heldHigh = heldByte(view_.boxText(addressHighBox), 521);
    view_.setBoxText(addressHighBox, "");
    view_.setBoxText(addressLowBox, "");
    int result = 0;
    const std::string text = view_.boxText(accessoryAddressBox);
    if (!text.empty()) {
        const long address = leadingNumber(text);
        if (!isNumberText(text)) {
            view_.showError(std::string("Error with Address, ") + CvPageEngine::notANumber);
            result = 1;
        } else if (address < 0 || static_cast<unsigned long>(address) > accessoryAddressLimit) {
            view_.showError("Error with Address, Value too large");
            result = 1;
        } else {
            const AccessoryAddress parts =
                splitAccessoryAddress(static_cast<uint32_t>(address), heldLow, heldHigh);
            view_.setBoxText(addressHighBox, unsignedText(parts.high));
            view_.setBoxText(addressLowBox, unsignedText(parts.low));
        }
    }
    if (!view_.boxText(auxiliaryBox).empty())
        auxiliaryFromCheckBoxes();
    return result;
}

int AccessoryRules::refreshDerived() {
    const std::string low = view_.boxText(addressLowBox);
    const std::string high = view_.boxText(addressHighBox);
    view_.setBoxText(accessoryAddressBox, !low.empty() && !high.empty()
                                              ? unsignedText(joinAccessoryAddress(
                                                    static_cast<uint32_t>(leadingNumber(low)),
                                                    static_cast<uint32_t>(leadingNumber(high))))
                                              : std::string());
    showBits(auxiliaryBoxes, 8, static_cast<uint32_t>(leadingNumber(view_.boxText(auxiliaryBox))));
    return 0;
}
