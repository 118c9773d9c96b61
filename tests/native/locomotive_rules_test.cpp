#include <gtest/gtest.h>

#include "model/cv_text_store.h"
#include "page_fakes.h"
#include "pages/locomotive_rules.h"
#include "station_fakes.h"
#include "stations/station_manager.h"

namespace {

using Lines = std::vector<std::string>;

// The radio buttons in pair order, clear button first.
constexpr int radioButtons[12] = {1062, 1063, 1065, 1066, 1068, 1067,
                                  1070, 1069, 1071, 1072, 1073, 1074};

class LocomotiveRulesTest : public testing::Test {
  protected:
    LocomotiveRulesTest() { resetLocomotivePageState(); }
    ~LocomotiveRulesTest() override { resetLocomotivePageState(); }

    DecoderDriver& decoder() { return station_.decoder(); }
    // Every bound CV at 0 but the ones given.
    void holdInDecoder(std::map<int32_t, int> values) {
        for (int32_t cv : {8, 7, 1, 18, 17, 3, 4, 29, 2, 6, 5, 65, 66, 95, 10, 11, 105, 106})
            values.emplace(cv, 0);
        decoder().cvs = values;
    }
    std::string checkedButtons() {
        std::string checked;
        for (int id : radioButtons)
            checked += view_.checks[id] ? '1' : '0';
        return checked;
    }
    Lines writes() {
        Lines found;
        for (const std::string& line : decoder().traffic)
            if (line[0] == 'W')
                found.push_back(line);
        return found;
    }

    RecordedPauses pauses_;
    DecoderStation station_;
    FakePageView view_;
    LocomotiveRules page_{view_};
};

TEST_F(LocomotiveRulesTest, ReadGoesInBindingOrderAndShowsTheCompositeControls) {
    decoder().cvs = {{8, 11}, {7, 2},   {1, 3},  {18, 210}, {17, 196}, {3, 5},
                     {4, 6},  {29, 38}, {2, 1},  {6, 2},    {5, 3},    {65, 4},
                     {66, 5}, {95, 6},  {10, 7}, {11, 8},   {105, 9},  {106, 10}};
    page_.readAll();
    EXPECT_EQ(decoder().traffic,
              (Lines{"R8", "R7", "R1", "R18", "R17", "R3", "R4", "R29", "R2", "R6", "R5", "R65",
                     "R66", "R95", "R10", "R11", "R105", "R106"}));
    EXPECT_EQ(view_.events.front(), "bar open 20 ");
    EXPECT_EQ(view_.boxes[longAddressBox], "1234");
    EXPECT_EQ(view_.boxes[1050], "NCE Corporation - 11");
    // 38: Normal, 28, Power Conv enabled, Adv. Ack disabled, normal table, long address.
    EXPECT_EQ(checkedButtons(), "100101101001");
    EXPECT_EQ(view_.boxes[configBox], "38");

    // Unchanged boxes write nothing back.
    page_.writeChanges();
    EXPECT_EQ(writes(), Lines{});
}

TEST_F(LocomotiveRulesTest, LongAddressSplitsOverCv17And18) {
    struct Case {
        const char* typed;
        const char* high;
        const char* low;
        const char* error;
    } cases[] = {
        {"1234", "196", "210", nullptr},
        {"9999", "231", "15", nullptr},
        {"3", "192", "3", nullptr},
        {"", "", "", nullptr},
        {"10000", "", "", "Error with Long Address, Value too large"},
        {"-5", "", "", "Error with Long Address, Value too large"},
        {"x12", "", "", "Error with Long Address, Not a number"},
    };
    for (const Case& c : cases) {
        view_.events.clear();
        view_.boxes = {{extendedHighBox, "1"}, {extendedLowBox, "1"}, {longAddressBox, c.typed}};
        page_.prepareWrite();
        EXPECT_EQ(view_.boxes[extendedHighBox], c.high) << c.typed;
        EXPECT_EQ(view_.boxes[extendedLowBox], c.low) << c.typed;
        EXPECT_EQ(view_.eventsStartingWith("error"),
                  c.error ? Lines{std::string("error ") + c.error} : Lines{});
    }
    // Reading back: only the low six bits of CV 17 count.
    view_.boxes = {{extendedHighBox, "192"}, {extendedLowBox, "3"}};
    page_.refreshDerived();
    EXPECT_EQ(view_.boxes[longAddressBox], "3");
    view_.boxes[extendedLowBox] = "";
    page_.refreshDerived();
    EXPECT_EQ(view_.boxes[longAddressBox], "");
}

TEST_F(LocomotiveRulesTest, RadioButtonsSetTheirBitAndKeepTheUnshownOnes) {
    page_.clearAll();
    EXPECT_EQ(checkedButtons(), "000000000000");
    EXPECT_EQ(view_.boxes[configBox], "");
    page_.radioButtonClicked(1074); // "Long" alone
    EXPECT_EQ(view_.boxes[configBox], "32");
    EXPECT_EQ(checkedButtons(), "000000000001");
    page_.writeChanges();
    EXPECT_EQ(writes(), Lines{"W29=32"});

    view_.boxes[configBox] = "194"; // bits 1, 6 and 7
    page_.refreshDerived();
    page_.radioButtonClicked(1063); // "Reversed"
    EXPECT_EQ(view_.boxes[configBox], "195");
    page_.radioButtonClicked(1065); // "14"
    EXPECT_EQ(view_.boxes[configBox], "193");
}

// Tab lands on the checked button of each pair, or on the upper one while the bit is unknown.
TEST_F(LocomotiveRulesTest, EachRadioPairTakesTabOnItsCheckedOrUpperButton) {
    const struct {
        uint32_t known;
        uint8_t value;
        std::vector<int> stops; // Direction, Speed Steps, Power Conv, Adv. Ack, Table, Address
    } cases[] = {
        {0, 0, {1062, 1065, 1067, 1069, 1071, 1073}},
        {63, 0, {1062, 1065, 1068, 1070, 1071, 1073}},
        {63, 63, {1063, 1066, 1067, 1069, 1072, 1074}},
        {63, 38, {1062, 1066, 1067, 1070, 1071, 1074}},
        {32, 32, {1062, 1065, 1067, 1069, 1071, 1074}}, // "Long" alone clicked
        {4, 0, {1062, 1065, 1068, 1069, 1071, 1073}},
    };
    for (const auto& c : cases) {
        configKnownBits = c.known;
        configValue = c.value;
        std::vector<int> stops;
        for (unsigned pair = 0; pair < radioPairCount; ++pair) {
            int stop = 0;
            int other = 0;
            radioPairTabStop(pair, &stop, &other);
            stops.push_back(stop);
            unsigned bit = 9;
            bool set = false;
            EXPECT_TRUE(radioButtonEffect(other, &bit, &set) && bit == pair && other != stop);
        }
        EXPECT_EQ(stops, c.stops) << c.known << " " << int(c.value);
    }
}

TEST_F(LocomotiveRulesTest, MomentumInMillisecondsFollowsTheSpeedSteps) {
    momentumDisplayMode = 1;
    // 28 steps from the decoder: CV 3 = 5 is 160 ms even though the page held 14 steps before.
    holdInDecoder({{3, 5}, {29, 2}, {17, 192}});
    page_.readAll();
    EXPECT_EQ(view_.boxes[accelerationBox], "160");
    EXPECT_EQ(view_.boxes[decelerationBox], "0");

    struct Case {
        const char* typed;
        Lines writes;
        Lines errors;
    } cases[] = {
        {"100", {"W3=3"}, {}},
        {"8200", {}, {"error Error with Acceleration Rate, Value too large"}},
        {"-1", {}, {"error Error with Acceleration Rate, Value too large"}},
        {"fast", {}, {"error Error with Acceleration Rate, Not a number"}},
        {"99999999999999999999", {}, {"error Error with Acceleration Rate, Value too large"}},
    };
    for (const Case& c : cases) {
        decoder().traffic.clear();
        view_.events.clear();
        view_.boxes[accelerationBox] = c.typed;
        page_.writeChanges();
        EXPECT_EQ(writes(), c.writes) << c.typed;
        EXPECT_EQ(view_.eventsStartingWith("error"), c.errors) << c.typed;
    }
}

TEST_F(LocomotiveRulesTest, SwitchingUnitsConvertsNonEmptyBoxes) {
    view_.boxes = {{configBox, ""}, {accelerationBox, "3"}, {decelerationBox, ""}};
    page_.refreshDerived(); // 14 steps
    page_.changeMomentumUnits(1);
    EXPECT_EQ(view_.boxes[accelerationBox], "192");
    EXPECT_EQ(view_.boxes[decelerationBox], "");
    page_.changeMomentumUnits(1);
    EXPECT_EQ(view_.boxes[accelerationBox], "192");
    page_.changeMomentumUnits(0);
    EXPECT_EQ(view_.boxes[accelerationBox], "3");
    EXPECT_EQ(momentumDisplayMode, 0);
}

// CV 29 comes after CV 3 and CV 4 in binding order: once it arrives, both are shown again in
// milliseconds at its step count, from a Read as from a Fill of file values.
TEST_F(LocomotiveRulesTest, MomentumIsShownAgainWhenCv29ArrivesAfterIt) {
    momentumDisplayMode = 1;
    const struct {
        bool fromFile;
        int cv29;
        const char* acceleration;
        const char* deceleration;
    } cases[] = {
        {false, 2, "160", "224"}, // 28 steps
        {false, 0, "320", "448"}, // 14 steps
        {true, 34, "160", "224"}, // 28 steps, other bits set too
        {true, 0, "320", "448"},
    };
    for (const auto& c : cases) {
        page_.clearAll();
        const std::map<int32_t, int> values = {{3, 5}, {4, 7}, {29, c.cv29}, {17, 192}};
        if (c.fromFile) {
            for (const auto& [cv, value] : values)
                rememberFileCvValue(cv, static_cast<uint8_t>(value));
            page_.fill();
        } else {
            holdInDecoder(values);
            page_.readAll();
        }
        EXPECT_EQ(view_.boxes[accelerationBox], c.acceleration) << c.cv29 << c.fromFile;
        EXPECT_EQ(view_.boxes[decelerationBox], c.deceleration) << c.cv29 << c.fromFile;
    }
}

TEST_F(LocomotiveRulesTest, KeptMomentumTextsAreShownAsTheyWere) {
    momentumDisplayMode = 1;
    rememberFileCvValue(4, 5);
    rememberFileCvValue(29, 2);
    CvTextStore::keep(3, "123");
    page_.fill();
    EXPECT_EQ(view_.boxes[accelerationBox], "123");
    EXPECT_EQ(view_.boxes[decelerationBox], "160");
}

} // namespace
