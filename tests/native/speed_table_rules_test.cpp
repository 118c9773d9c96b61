#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

#include "model/cv_text_store.h"
#include "page_fakes.h"
#include "pages/speed_table_rules.h"
#include "stations/station_manager.h"

namespace {

const std::vector<uint32_t> defaultTable = {9,   18,  27,  36,  45,  54,  63,  72,  81,  91,
                                            100, 109, 118, 127, 136, 145, 154, 163, 173, 182,
                                            191, 200, 209, 218, 227, 236, 245, 255};

// Sliders as the graph has them: a notifying move reports the value the thumb shows.
class FakeSliders : public SpeedSliders {
  public:
    struct Move {
        int step;
        long value;
        bool notify;
        bool operator==(const Move& o) const {
            return step == o.step && value == o.value && notify == o.notify;
        }
    };
    void moveSlider(int step, long value, bool notify) override {
        moves.push_back({step, value, notify});
        if (notify)
            rules->setSpeedStep(step, thumbValueAt(thumbPositionForValue(value)));
    }
    std::vector<Move> moves;
    SpeedTableRules* rules = nullptr;
};

class SpeedTableRulesTest : public testing::Test {
  protected:
    SpeedTableRulesTest() { sliders_.rules = &rules_; }
    ~SpeedTableRulesTest() override {
        resetSpeedTablePageState();
        CvTextStore::reset();
        for (int k = 1; k <= speedStepCount; ++k)
            forgetCvValue(firstSpeedCv + k - 1);
    }

    void setTable(const std::vector<std::string>& texts) {
        for (int k = 1; k <= speedStepCount; ++k)
            view_.boxes[speedStepBox(k)] = texts[static_cast<size_t>(k - 1)];
    }
    std::vector<std::string> table() {
        std::vector<std::string> texts;
        for (int k = 1; k <= speedStepCount; ++k)
            texts.push_back(view_.boxes[speedStepBox(k)]);
        return texts;
    }
    static std::vector<std::string> texts(const std::vector<uint32_t>& values) {
        std::vector<std::string> result;
        for (uint32_t v : values)
            result.push_back(std::to_string(v));
        return result;
    }

    FakePageView view_;
    FakeSliders sliders_;
    SpeedTableRules rules_{view_, sliders_};
};

TEST(SpeedTableArithmetic, TablesAndClamping) {
    for (int k = 1; k <= speedStepCount; ++k) {
        EXPECT_EQ(defaultTableValue(k), defaultTable[static_cast<size_t>(k - 1)]) << k;
        EXPECT_EQ(buildFromRightValue(k, 255), defaultTableValue(k)) << k;
        EXPECT_EQ(buildFromRightValue(k, 0), 0u);
    }
    EXPECT_EQ(buildFromRightValue(14, 100), 50u);
    EXPECT_EQ(buildFromRightValue(28, 77), 77u); // step 28 keeps its value

    struct {
        long value;
        int position;
    } positions[] = {{-5, 255}, {0, 255},        {12, 243},    {255, 0},
                     {300, 0},  {LONG_MIN, 255}, {LONG_MAX, 0}};
    for (const auto& c : positions) {
        EXPECT_EQ(thumbPositionForValue(c.value), c.position) << c.value;
        EXPECT_EQ(thumbValueAt(c.position), static_cast<unsigned>(255 - c.position));
    }
    EXPECT_EQ(clampThumbPosition(-40), 0);
    EXPECT_EQ(clampThumbPosition(400), 255);
    EXPECT_EQ(clampThumbPosition(17), 17);

    struct {
        const char* text;
        int32_t number;
    } numbers[] = {{"", 0},
                   {"abc", 0},
                   {" 12x", 12},
                   {"-5", -5},
                   {"99999999999999999999", INT32_MAX},
                   {"-99999999999999999999", INT32_MIN}};
    for (const auto& c : numbers)
        EXPECT_EQ(speedBoxNumber(c.text), c.number) << c.text;
}

TEST(SpeedTableArithmetic, HeldKeyAcceleratesThenStaysAtTen) {
    unsigned keyRepeat = 77;
    std::vector<unsigned> steps = {keyRepeatStep(false, &keyRepeat)};
    for (int i = 0; i < 14; ++i)
        steps.push_back(keyRepeatStep(true, &keyRepeat));
    EXPECT_EQ(steps, (std::vector<unsigned>{1, 1, 1, 1, 3, 3, 3, 6, 6, 6, 10, 10, 10, 10, 10}));
    EXPECT_EQ(keyRepeatStep(false, &keyRepeat), 1u); // a fresh press starts again
    EXPECT_EQ(keyRepeat, 0u);
}

TEST(SpeedTableArithmetic, PopupText) {
    EXPECT_EQ(speedPopupText(67, 12, false), "Speed 1 = 12");
    EXPECT_EQ(speedPopupText(67, 12, true), "CV 67 = 12");
    EXPECT_EQ(speedPopupText(76, 40, false), "Speed 10 = 40");
    EXPECT_EQ(speedPopupText(94, 255, true), "CV 94 = 255");
}

TEST(SpeedTableArithmetic, WalksSkipOrCountEmptyBoxesAndGoToTheEnd) {
    std::vector<std::string> boxes(speedStepCount, "");
    boxes[0] = "50";  // step 1: above, lowered
    boxes[1] = "";    // step 2: empty on the left, skipped
    boxes[2] = "10";  // step 3: in order, kept
    boxes[3] = "-5";  // step 4: huge as unsigned, lowered
    boxes[8] = "41";  // step 9: above, lowered past an in-order step
    boxes[10] = "40"; // step 11: equal, kept
    boxes[11] = "-5"; // step 12: huge as unsigned, not raised
    boxes[12] = "39"; // step 13: below, raised
    // steps 14 to 28 are empty on the right: raised as 0
    std::vector<int> expected = {9, 4, 1, 13};
    for (int j = 14; j <= 28; ++j)
        expected.push_back(j);
    EXPECT_EQ(inclinationSteps(boxes, 10, 40), expected);

    EXPECT_EQ(inclinationSteps(std::vector<std::string>(28, ""), 1, 0), std::vector<int>{});
    EXPECT_EQ(inclinationSteps(std::vector<std::string>(28, "9"), 28, 5).size(), 27u);
}

TEST_F(SpeedTableRulesTest, SettingAStepWritesItsBoxAndLevelsNeighboursOnlyWhenForced) {
    const std::vector<std::string> start =
        texts({60, 10, 55, 20, 45, 30, 35, 70, 20, 5,  80,  30, 90,  10,
               0,  1,  2,  3,  4,  5,  6,  7,  8,  90, 100, 10, 200, 0});
    setTable(start);
    rules_.setSpeedStep(10, 40);
    std::vector<std::string> expected = start;
    expected[9] = "40";
    EXPECT_EQ(table(), expected);
    EXPECT_TRUE(sliders_.moves.empty());

    forceInclination = 1;
    setTable(start);
    rules_.setSpeedStep(10, 40);
    EXPECT_EQ(table(), texts({40, 10, 40, 20, 40, 30, 35, 40, 20, 40, 80,  40, 90,  40,
                              40, 40, 40, 40, 40, 40, 40, 40, 40, 90, 100, 40, 200, 40}));
    // The followers move without reporting back, so no walk starts from them.
    for (const FakeSliders::Move& move : sliders_.moves)
        EXPECT_EQ(move.value, 40) << move.step;
    EXPECT_EQ(sliders_.moves.front(), (FakeSliders::Move{8, 40, false}));
    EXPECT_EQ(sliders_.moves.size(), 17u);

    rules_.setSpeedStep(0, 7);
    rules_.setSpeedStep(29, 7);
    EXPECT_EQ(view_.boxes.count(speedStepBox(0)) + view_.boxes.count(speedStepBox(29)), 0u);
}

TEST_F(SpeedTableRulesTest, TableActionsIgnoreForceInclinationAndKeepIt) {
    struct Case {
        int button;
        std::string lastBox;
        std::vector<uint32_t> expected;
    } cases[] = {
        {defaultTableButton, "3", defaultTable},
        {zeroTableButton, "200", std::vector<uint32_t>(28, 0)},
        {buildFromRightButton, "", std::vector<uint32_t>(28, 0)},
        {buildFromRightButton, "255", defaultTable},
        // A kept 300: a line to 300, cut off at the top of the sliders.
        {buildFromRightButton, "300", {10,  21,  32,  42,  53,  64,  75,  85,  96,  107,
                                       117, 128, 139, 150, 160, 171, 182, 192, 203, 214,
                                       225, 235, 246, 255, 255, 255, 255, 255}},
    };
    for (const Case& c : cases) {
        forceInclination = 1;
        std::vector<std::string> start(28, "128");
        start[27] = c.lastBox;
        setTable(start);
        sliders_.moves.clear();
        EXPECT_EQ(rules_.tableCommand(c.button, 0), 1);
        EXPECT_EQ(table(), texts(c.expected)) << c.button << " " << c.lastBox;
        EXPECT_EQ(forceInclination, 1);
        ASSERT_EQ(sliders_.moves.size(), 28u);
        EXPECT_EQ(sliders_.moves[0].step, 1);
        EXPECT_TRUE(sliders_.moves[27].notify);
    }
}

TEST_F(SpeedTableRulesTest, CheckingForceInclinationLevelsToStepTwentyEight) {
    // Falls and rises below 100: the shape stays; only steps above 100 come down.
    const std::vector<std::string> start =
        texts({90, 60, 30,  10, 30, 60, 90, 150, 255, 101, 100, 99, 50,  0,
               50, 99, 120, 80, 40, 20, 40, 80,  130, 70,  30,  70, 200, 100});
    struct Case {
        bool checked;
        int flag;
    } cases[] = {{true, 1}, {false, 0}};
    for (const Case& c : cases) {
        setTable(start);
        view_.checks[forceInclinationCheck] = c.checked;
        EXPECT_EQ(rules_.tableCommand(forceInclinationCheck, 0), 1);
        EXPECT_EQ(forceInclination, c.flag);
        std::vector<std::string> expected = start;
        if (c.checked)
            for (int k : {8, 9, 10, 17, 23, 27})
                expected[static_cast<size_t>(k - 1)] = "100";
        EXPECT_EQ(table(), expected);
    }

    // A kept text out of range is levelled to what its slider shows.
    forceInclination = 0;
    std::vector<std::string> odd(28, "3");
    odd[27] = "-5";
    setTable(odd);
    view_.checks[forceInclinationCheck] = true;
    rules_.tableCommand(forceInclinationCheck, 0);
    EXPECT_EQ(table(), std::vector<std::string>(28, "0"));
}

TEST_F(SpeedTableRulesTest, ForceInclinationWithStepTwentyEightEmptyClearsTheTable) {
    for (bool checked : {true, false}) {
        std::vector<std::string> start(28, "17");
        start[27] = "";
        setTable(start);
        rememberFileCvValue(70, 17);
        CvTextStore::keep(71, "17");
        view_.checks[forceInclinationCheck] = checked;
        rules_.tableCommand(forceInclinationCheck, 0);
        EXPECT_EQ(table(), std::vector<std::string>(28, ""));
        uint8_t value = 0;
        EXPECT_NE(knownCvValue(70, &value, 1), 0);
        EXPECT_EQ(CvTextStore::get(71), nullptr);
    }
}

TEST_F(SpeedTableRulesTest, OnlyClicksAct) {
    setTable(std::vector<std::string>(28, "5"));
    view_.checks[showCvCheck] = true;
    view_.checks[forceInclinationCheck] = true;
    for (int id : {zeroTableButton, defaultTableButton, buildFromRightButton, forceInclinationCheck,
                   showCvCheck}) {
        EXPECT_TRUE(SpeedTableRules::isTableControl(id));
        EXPECT_EQ(rules_.tableCommand(id, 1), 1);
    }
    EXPECT_EQ(table(), std::vector<std::string>(28, "5"));
    EXPECT_EQ(showCvInPopup + forceInclination, 0);
    rules_.tableCommand(showCvCheck, 0);
    EXPECT_EQ(showCvInPopup, 1);
    EXPECT_FALSE(SpeedTableRules::isTableControl(readButton));
    EXPECT_FALSE(SpeedTableRules::isTableControl(1301));
}

TEST_F(SpeedTableRulesTest, ValuesFromTheEngineMoveTheSliders) {
    std::string text;
    rules_.formatValue(9, 40, &text);
    EXPECT_EQ(text, "40");
    EXPECT_EQ(sliders_.moves, (std::vector<FakeSliders::Move>{{10, 40, false}}));

    // Kept texts of any kind: the sliders get their leading numbers.
    std::vector<std::string> start(28, "");
    start[0] = "300";
    start[1] = "-5";
    start[2] = "12 apples";
    start[3] = std::string(5000, '9');
    setTable(start);
    sliders_.moves.clear();
    rules_.refreshDerived();
    ASSERT_EQ(sliders_.moves.size(), 28u);
    EXPECT_EQ(sliders_.moves[0], (FakeSliders::Move{1, 300, false}));
    EXPECT_EQ(sliders_.moves[1], (FakeSliders::Move{2, -5, false}));
    EXPECT_EQ(sliders_.moves[2], (FakeSliders::Move{3, 12, false}));
    EXPECT_EQ(sliders_.moves[3], (FakeSliders::Move{4, INT32_MAX, false}));
    EXPECT_EQ(sliders_.moves[27], (FakeSliders::Move{28, 0, false}));
    EXPECT_EQ(table(), start); // the boxes keep their texts
}

} // namespace
