#include "pages/consist_rules.h"

#include "foundation/decimal_text.h"

const int consistFunctionBoxes[8] = {1257, 1258, 1259, 1260, 1261, 1262, 1263, 1264};
const int consistHeadlightBoxes[2] = {1265, 1266};

namespace {

constexpr CvBinding consistBindings[] = {
    {consistAddressBox, 19},         {consistFunctionsBox, 21},       {consistHeadlightBox, 22},
    {accelerationAdjustmentBox, 23}, {decelerationAdjustmentBox, 24},
};

struct BitRow {
    int hiddenBox;
    const int* boxes;
    size_t count;
};
constexpr BitRow bitRows[] = {
    {consistFunctionsBox, consistFunctionBoxes, 8},
    {consistHeadlightBox, consistHeadlightBoxes, 2},
};

const BitRow* rowOf(int hiddenBox) {
    for (const BitRow& row : bitRows)
        if (row.hiddenBox == hiddenBox)
            return &row;
    return nullptr;
}

} // namespace

bool consistBoxBit(int controlId, int* hiddenBox, unsigned* bit) {
    for (const BitRow& row : bitRows) {
        for (size_t i = 0; i < row.count; ++i) {
            if (row.boxes[i] == controlId) {
                *hiddenBox = row.hiddenBox;
                *bit = static_cast<unsigned>(i);
                return true;
            }
        }
    }
    return false;
}

ConsistRules::ConsistRules(CvPageView& view)
    : NumberBoxRules(view, consistBindings, sizeof consistBindings / sizeof consistBindings[0]) {}

void ConsistRules::checkBoxClicked(int controlId) {
    int hiddenBox = 0;
    unsigned bit = 0;
    if (consistBoxBit(controlId, &hiddenBox, &bit))
        followBitClick(hiddenBox, bit, controlId);
}

void ConsistRules::formatValue(size_t index, uint8_t value, std::string* text) {
    if (const BitRow* row = rowOf(binding(index).controlId))
        showBits(row->boxes, row->count, value);
    CvPageEngine::formatValue(index, value, text);
}

int ConsistRules::refreshDerived() {
    for (const BitRow& row : bitRows)
        showBits(row.boxes, row.count,
                 static_cast<uint32_t>(leadingNumber(view_.boxText(row.hiddenBox))));
    return 0;
}
