#include <gtest/gtest.h>

#include "page_fakes.h"
#include "pages/consist_rules.h"
#include "station_fakes.h"

namespace {

using Lines = std::vector<std::string>;

class ConsistRulesTest : public testing::Test {
  protected:
    // The ten check boxes as a row of 0s and 1s: functions 1 to 8, a space, headlights 1 and 2.
    std::string checks() {
        std::string row;
        for (int box : consistFunctionBoxes)
            row += view_.checks[box] ? '1' : '0';
        row += ' ';
        for (int box : consistHeadlightBoxes)
            row += view_.checks[box] ? '1' : '0';
        return row;
    }

    RecordedPauses pauses_;
    DecoderStation station_;
    FakePageView view_;
    ConsistRules page_{view_};
};

TEST_F(ConsistRulesTest, ReadInTableOrderChecksTheBitsOfCv21AndCv22) {
    station_.decoder().cvs = {{19, 3}, {21, 5}, {22, 2}, {23, 10}, {24, 130}};
    page_.readAll();
    EXPECT_EQ(station_.decoder().traffic, (Lines{"R19", "R21", "R22", "R23", "R24"}));
    EXPECT_EQ(checks(), "10100000 01");
    EXPECT_EQ(view_.boxes[consistAddressBox], "3");
    EXPECT_EQ(view_.boxes[decelerationAdjustmentBox], "130");
}

TEST_F(ConsistRulesTest, ClicksSetTheirBitInTheHiddenBoxAndMakeItWritable) {
    struct Step {
        int box;
        bool checked;
        const char* functions;
        const char* headlight;
    } steps[] = {
        {1261, true, "16", ""},  {1266, true, "16", "2"}, {1265, true, "16", "3"},
        {1257, true, "17", "3"}, {1261, false, "1", "3"}, {1257, false, "0", "3"},
    };
    for (const Step& s : steps) {
        view_.checks[s.box] = s.checked;
        page_.checkBoxClicked(s.box);
        EXPECT_EQ(view_.boxes[consistFunctionsBox], s.functions) << s.box;
        EXPECT_EQ(view_.boxes[consistHeadlightBox], s.headlight) << s.box;
    }
    page_.writeChanges();
    EXPECT_EQ(station_.decoder().traffic, (Lines{"W21=0", "W22=3"}));
}

TEST_F(ConsistRulesTest, BadBoxesAreRefusedAndTheOthersStillWritten) {
    struct Case {
        const char* address;
        Lines errors;
        Lines writes;
    } cases[] = {
        {"300", {"error Error with Consist Address, Value too large"}, {"W23=4"}},
        {"abc", {"error Error with Consist Address, Not a number"}, {"W23=4"}},
        {"", {}, {"W23=4"}},
        {"255", {}, {"W19=255", "W23=4"}},
    };
    for (const Case& c : cases) {
        station_.decoder().traffic.clear();
        view_.events.clear();
        view_.boxes = {{consistAddressBox, c.address}, {accelerationAdjustmentBox, "4"}};
        page_.writeAll();
        EXPECT_EQ(view_.eventsStartingWith("error"), c.errors) << c.address;
        EXPECT_EQ(station_.decoder().traffic, c.writes) << c.address;
    }
}

} // namespace
