// The accessory decoder page's rules: the decoder address 0 to 511 typed in one box and split
// over CV 513 (bits 0 to 5) and CV 521 (bits 6 to 8) in hidden boxes, and the auxiliary
// activation CV 514 set with eight check boxes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "pages/number_box_rules.h"

enum : int {
    accessoryAddressBox = 1093, // no CV of its own
    addressHighBox = 1094,      // hidden, CV 521
    addressLowBox = 1095,       // hidden, CV 513
    auxiliaryBox = 1096,        // CV 514, read-only
};

// Box i sets bit i of CV 514.
extern const int auxiliaryBoxes[8];

constexpr uint32_t accessoryAddressLimit = 511;

struct AccessoryAddress {
    uint8_t low;  // CV 513
    uint8_t high; // CV 521
};
// The bits of CV 513 and CV 521 that the address does not own are taken from what the CVs held,
// so writing an address read unchanged writes nothing.
AccessoryAddress splitAccessoryAddress(uint32_t address, uint8_t heldLow, uint8_t heldHigh);
// Only the low six bits of CV 513 and the low three of CV 521 count.
uint32_t joinAccessoryAddress(uint32_t cv513, uint32_t cv521);

class AccessoryRules : public NumberBoxRules {
  public:
    explicit AccessoryRules(CvPageView& view);

    static bool isAuxiliaryBox(int controlId);
    // After a click on an auxiliary check box: CV 514's box follows the eight of them, so it
    // becomes writable even when it was empty.
    void auxiliaryFromCheckBoxes();

    void formatValue(size_t index, uint8_t value, std::string* text) override;
    // Splits the address into the hidden boxes; 1 after an address error, which leaves them
    // empty so that neither CV is written.
    int prepareWrite() override;
    int refreshDerived() override;
};
