#include <gtest/gtest.h>

#include <set>

#include "page_fakes.h"
#include "pages/function_map_rules.h"
#include "station_fakes.h"

namespace {

using Lines = std::vector<std::string>;
// (row, output number) of every checked grid box.
using Cells = std::set<std::pair<int, int>>;

class FunctionMapRulesTest : public testing::Test {
  protected:
    Cells checkedCells() {
        Cells cells;
        for (const auto& check : view_.checks) {
            int row = -1;
            int bit = -1;
            if (check.second && gridBoxPosition(check.first, &row, &bit))
                cells.insert({row, outputColumn(row, bit) + 1});
        }
        return cells;
    }

    RecordedPauses pauses_;
    DecoderStation station_;
    FakePageView view_;
    FunctionMapRules page_{view_};
};

TEST(FunctionMapControlsTest, EveryControlOnceAndEachGridBoxFindsItsRowAndBit) {
    const std::set<int> distinct(functionMapControls,
                                 functionMapControls + functionMapControlCount);
    EXPECT_EQ(distinct.size(), functionMapControlCount);
    struct Case {
        int control;
        bool grid;
        int row;
        int bit;
    } cases[] = {{1103, true, 0, 0},  {1104, true, 0, 1},  {1110, true, 0, 2},
                 {1105, true, 0, 7},  {1183, true, 9, 7},  {1175, true, 9, 0},
                 {1177, false, 0, 0}, {1194, false, 0, 0}, {1052, false, 0, 0}};
    for (const Case& c : cases) {
        int row = -1;
        int bit = -1;
        EXPECT_EQ(gridBoxPosition(c.control, &row, &bit), c.grid) << c.control;
        if (c.grid) {
            EXPECT_EQ(std::make_pair(row, bit), std::make_pair(c.row, c.bit)) << c.control;
        }
    }
}

TEST_F(FunctionMapRulesTest, ReadChecksTheOutputsOfEachRowStaggered) {
    struct Case {
        int32_t cv;
        int value;
        Cells cells; // (row, output)
    } cases[] = {
        {35, 4, {{2, 3}}},
        {37, 2, {{4, 5}}},
        {41, 4, {{8, 9}}},
        {42, 128, {{9, 14}}},
        {33, 255, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {0, 6}, {0, 7}, {0, 8}}},
        {40, 1, {{7, 4}}},
    };
    for (const Case& c : cases) {
        station_.decoder().cvs.clear();
        for (int32_t cv = 33; cv <= 42; ++cv)
            station_.decoder().cvs[cv] = cv == c.cv ? c.value : 0;
        station_.decoder().traffic.clear();
        page_.readAll();
        EXPECT_EQ(checkedCells(), c.cells) << c.cv;
        EXPECT_EQ(view_.boxes[1194 - (c.cv - 33)], std::to_string(c.value));
    }
    EXPECT_EQ(station_.decoder().traffic,
              (Lines{"R33", "R34", "R35", "R36", "R37", "R38", "R39", "R40", "R41", "R42"}));
}

TEST_F(FunctionMapRulesTest, ClicksChangeTheRowValueAndAnEmptyRowBecomesWritable) {
    struct Step {
        int box;
        bool checked;
        const char* f8;
        const char* f1;
    } steps[] = {
        {1183, true, "128", ""}, {1175, true, "129", ""}, {1183, false, "1", ""},
        {1175, false, "0", ""},  {1126, true, "0", "4"},  {1119, true, "0", "5"},
    };
    for (const Step& s : steps) {
        view_.checks[s.box] = s.checked;
        page_.gridBoxClicked(s.box);
        EXPECT_EQ(view_.boxes[1185], s.f8) << s.box;
        EXPECT_EQ(view_.boxes[1192], s.f1) << s.box;
    }
    page_.writeChanges();
    EXPECT_EQ(station_.decoder().traffic, (Lines{"W35=5", "W42=0"}));
}

TEST_F(FunctionMapRulesTest, AValueBoxWithoutANumberIsRefusedNotWrittenAsZero) {
    view_.boxes = {{1192, "abc"}, {1191, "300"}, {1190, "7"}};
    page_.writeChanges();
    EXPECT_EQ(view_.eventsStartingWith("error"),
              (Lines{"error Error with Output Loc F1, Not a number",
                     "error Error with Output Loc F2, Value too large"}));
    EXPECT_EQ(station_.decoder().traffic, (Lines{"W37=7"}));
}

} // namespace
