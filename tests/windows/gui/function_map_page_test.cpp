// The function map page's real dialog: the grid laid out from its first box, check boxes and
// value boxes in step.
#include "cv_page_fixture.h"
#include "pages/function_map_layout.h"
#include "pages/function_map_page.h"

namespace {

class FunctionMapPageTest : public CvPageFixture<FunctionMapPage> {
  protected:
    int gridBox(int row, int bit) {
        return functionMapControls[gridBoxEntries + functionMapBits * row + bit];
    }
    int checkedGridBoxes() {
        int count = 0;
        for (int entry = 0; entry < functionMapRows * functionMapBits; ++entry)
            count += checked(functionMapControls[gridBoxEntries + entry]);
        return count;
    }
};

TEST_F(FunctionMapPageTest, GridRunsLeftwardsFromBox1103StaggeredWithItsLabelsInPlace) {
    resetFunctionMapLayout();
    open("TAB_FUNC_CONFIG");
    const RECT first = place(1103);
    const int w = first.right - first.left;
    const int h = first.bottom - first.top;
    for (int row = 0; row < functionMapRows; ++row) {
        const int top = first.top + (h + 11) * row;
        const int offset = row < 4 ? 0 : row < 8 ? 3 : 6;
        for (int bit = 0; bit < functionMapBits; ++bit) {
            const RECT box = place(gridBox(row, bit));
            EXPECT_EQ(box.left, first.left - (bit + offset) * (w + 11)) << row << "," << bit;
            EXPECT_EQ(box.top, top) << row << "," << bit;
        }
        EXPECT_EQ(gridRowCentre[row], top + h / 2);
        const RECT label = place(functionMapControls[rowLabelEntries + row]);
        EXPECT_EQ(label.right, gridLeft - 7) << row;
        EXPECT_EQ(label.top, top) << row;
        EXPECT_EQ(place(functionMapControls[cvLabelEntries + row]).left, gridRight + 22);
        const RECT value = place(functionMapControls[valueBoxEntries + row]);
        EXPECT_EQ(value.left, gridRight + 44) << row;
        EXPECT_EQ(value.top, top - 3) << row;
    }
    EXPECT_EQ(gridRight, first.left + w + 11);
    EXPECT_EQ(gridLeft, first.left - 14 * (w + 11) + w);
    for (int column = 0; column < functionMapOutputs; ++column) {
        const RECT above = place(functionMapControls[topNumberEntries + column]);
        const RECT below = place(functionMapControls[bottomNumberEntries + column]);
        EXPECT_EQ(above.left, first.left - (w + 11) * column);
        EXPECT_EQ(above.top, gridRowCentre[0] - 33);
        EXPECT_EQ(below.left, above.left);
        EXPECT_EQ(below.top, gridRowCentre[9] + 22);
    }
    // "Output" centred over the row lines and above the numbers; the grid clear of the buttons.
    const RECT output = place(1246);
    EXPECT_NEAR((output.left + output.right) / 2, (gridLeft + gridRight) / 2, 1);
    EXPECT_LE(output.bottom, gridRowCentre[0] - 33);
    EXPECT_LT(place(functionMapControls[bottomNumberEntries]).bottom, page->separatorRect().top);
    EXPECT_EQ(controlsOutsideThePage(), "");
}

TEST_F(FunctionMapPageTest, CheckBoxesFollowTheValuesAndTheValuesFollowClicks) {
    CvTextStore::keep(35, "4");
    CvTextStore::keep(42, "129");
    open("TAB_FUNC_CONFIG");
    EXPECT_TRUE(checked(gridBox(2, 2)));
    EXPECT_TRUE(checked(1175));
    EXPECT_TRUE(checked(1183));
    EXPECT_EQ(checkedGridBoxes(), 3);

    struct Step {
        int box;
        int valueBox;
        const char* value;
    } steps[] = {{1183, 1185, "1"}, {1104, 1194, "2"}, {1183, 1185, "129"}, {1126, 1192, "0"}};
    for (const Step& s : steps) {
        click(s.box);
        EXPECT_EQ(text(s.valueBox), s.value) << s.box;
    }
    EXPECT_NE(GetWindowLongA(control(1194), GWL_STYLE) & ES_READONLY, 0);
}

TEST_F(FunctionMapPageTest, ClearUnchecksEveryBoxAndEmptiesTheValues) {
    for (int32_t cv = 33; cv <= 42; ++cv)
        CvTextStore::keep(cv, "255");
    open("TAB_FUNC_CONFIG");
    EXPECT_EQ(checkedGridBoxes(), 80);
    click(1057);
    EXPECT_EQ(checkedGridBoxes(), 0);
    for (int row = 0; row < functionMapRows; ++row)
        EXPECT_EQ(text(functionMapControls[valueBoxEntries + row]), "");
}

} // namespace
