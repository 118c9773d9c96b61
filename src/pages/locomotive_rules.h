// The locomotive page's rules over its 18 bound CVs: the long address split over CV 17 and
// CV 18, the six radio-button pairs of CV 29, and momentum shown raw or in milliseconds.
#pragma once

#include <cstdint>
#include <string>

#include "model/cv_page_engine.h"

// Controls of the locomotive page that are not plain bound boxes.
enum : int {
    longAddressBox = 1043,
    accelerationBox = 1059,
    decelerationBox = 1060,
    momentumUnitsCombo = 1061,
    configBox = 1075,
    extendedLowBox = 1076,
    extendedHighBox = 1077,
};

// Module state of the page: it outlives every page object.
extern uint8_t configValue;
extern uint32_t configKnownBits;
extern int momentumDisplayMode; // 0: raw value, 1: milliseconds per speed step
void resetLocomotivePageState();

// Value rules.
constexpr long longAddressLimit = 9999;
struct ExtendedAddress {
    uint8_t high; // CV 17, with its two top bits set
    uint8_t low;  // CV 18
};
ExtendedAddress splitLongAddress(uint32_t address);
uint32_t joinLongAddress(long cv17, long cv18);
// A momentum CV in milliseconds per speed step and back, truncated toward zero.
// Wide enough that no typed number overflows.
int64_t momentumToMilliseconds(int64_t value, int steps);
int64_t millisecondsToMomentum(int64_t milliseconds, int steps);
// The CV 29 bit a radio button sets or clears; false for any other control.
bool radioButtonEffect(int controlId, unsigned* bit, bool* set);
// Each radio pair is one stop for Tab: on its checked button, or on its upper one when neither
// is checked. Gives pair i's button that takes the stop and the one that does not.
constexpr unsigned radioPairCount = 6;
void radioPairTabStop(unsigned pair, int* stop, int* other);

class LocomotiveRules : public CvPageEngine {
  public:
    explicit LocomotiveRules(CvPageView& view);

    // The speed steps a CV 29 value selects: 28 with bit 1 set, else 14. A member, so that it
    // does not clash with the speed table's own count of steps.
    static int speedStepCount(uint8_t config);

    // A radio button was clicked.
    void radioButtonClicked(int controlId);
    // The units combo box changed to selection m; converts the two momentum boxes.
    void changeMomentumUnits(int m);
    // Checks the radio pairs from configValue and configKnownBits and sets the CV 29 box.
    void refreshConfiguration();

    void formatValue(size_t index, uint8_t value, std::string* text) override;
    int parseValue(size_t index, const std::string& text, uint8_t* value) override;
    int prepareWrite() override;
    int refreshDerived() override;

  private:
    // Shows again, at the step count now on the page, the momentum boxes that this Fill or
    // Read formatted from values.
    void reformatMomentum();

    bool momentumFromValue_[2] = {};
};
