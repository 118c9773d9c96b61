#include <gtest/gtest.h>

#include "model/cv_text_store.h"
#include "page_fakes.h"
#include "pages/accessory_rules.h"
#include "station_fakes.h"

namespace {

using Lines = std::vector<std::string>;

TEST(AccessoryAddressTest, SplitAndJoinOwnOnlyTheirBits) {
    struct Case {
        uint32_t address;
        uint8_t heldLow, heldHigh;
        uint8_t low, high;
    } splits[] = {
        {300, 0, 0, 44, 4}, {511, 0, 0, 63, 7},      {0, 0, 0, 0, 0},
        {64, 0, 0, 0, 1},   {300, 44, 255, 44, 252}, {0, 255, 255, 192, 248},
    };
    for (const Case& c : splits) {
        const AccessoryAddress parts = splitAccessoryAddress(c.address, c.heldLow, c.heldHigh);
        EXPECT_EQ(parts.low, c.low) << c.address;
        EXPECT_EQ(parts.high, c.high) << c.address;
    }
    struct Join {
        uint32_t cv513, cv521, address;
    } joins[] = {{44, 4, 300}, {63, 7, 511}, {63, 255, 511}, {255, 8, 63}, {0, 0, 0}};
    for (const Join& j : joins)
        EXPECT_EQ(joinAccessoryAddress(j.cv513, j.cv521), j.address) << j.cv513 << "/" << j.cv521;
}

class AccessoryRulesTest : public testing::Test {
  protected:
    AccessoryRulesTest() {
        station_.decoder().cvs = {{520, 11}, {519, 42}, {513, 44}, {521, 4}, {514, 129},
                                  {515, 1},  {516, 2},  {517, 3},  {518, 4}};
    }
    std::string auxiliaryChecks() {
        std::string row;
        for (int box : auxiliaryBoxes)
            row += view_.checks[box] ? '1' : '0';
        return row;
    }
    DecoderDriver& decoder() { return station_.decoder(); }

    RecordedPauses pauses_;
    DecoderStation station_;
    FakePageView view_;
    AccessoryRules page_{view_};
};

TEST_F(AccessoryRulesTest, ReadShowsTheAddressOnceCv521IsKnown) {
    struct Case {
        int cv521;
        int32_t failingCv;
        const char* address;
        const char* aux;
    } cases[] = {
        {4, 0, "300", "10000001"},
        {255, 0, "492", "10000001"},
        {4, 521, "", "00000000"},
        {4, 513, "", "00000000"},
    };
    for (const Case& c : cases) {
        decoder().cvs[521] = c.cv521;
        decoder().failingCv = c.failingCv;
        decoder().traffic.clear();
        view_.boxes[accessoryAddressBox] = "stale";
        page_.readAll();
        EXPECT_EQ(view_.boxes[accessoryAddressBox], c.address) << c.cv521 << " " << c.failingCv;
        EXPECT_EQ(auxiliaryChecks(), c.aux) << c.failingCv;
    }
    decoder().failingCv = 0;
    decoder().traffic.clear();
    page_.readAll();
    EXPECT_EQ(decoder().traffic,
              (Lines{"R520", "R519", "R513", "R521", "R514", "R515", "R516", "R517", "R518"}));
    EXPECT_EQ(view_.boxes[1050], "NCE Corporation - 11");
    EXPECT_EQ(view_.boxes[auxiliaryBox], "129");
}

TEST_F(AccessoryRulesTest, WriteChangesSplitsTheAddressOrRefusesItAndWritesTheRest) {
    struct Case {
        const char* address;
        Lines writes;
        Lines errors;
    } cases[] = {
        {"300", {"W513=44", "W521=4", "W515=9"}, {}},
        {"511", {"W513=63", "W521=7", "W515=9"}, {}},
        {"0", {"W513=0", "W521=0", "W515=9"}, {}},
        {"512", {"W515=9"}, {"error Error with Address, Value too large"}},
        {"-1", {"W515=9"}, {"error Error with Address, Value too large"}},
        {"99999999999999999999", {"W515=9"}, {"error Error with Address, Value too large"}},
        // Not taken modulo 2^32, which would make it 300.
        {"4294967596", {"W515=9"}, {"error Error with Address, Value too large"}},
        {"abc", {"W515=9"}, {"error Error with Address, Not a number"}},
        {"", {"W515=9"}, {}},
    };
    for (const Case& c : cases) {
        decoder().traffic.clear();
        view_.events.clear();
        // Read before: the hidden boxes held 44 and 4.
        view_.boxes = {{1050, "NCE Corporation - 11"},
                       {1051, "42"},
                       {addressLowBox, "44"},
                       {addressHighBox, "4"},
                       {accessoryAddressBox, c.address},
                       {1089, "9"}};
        page_.writeAll();
        EXPECT_EQ(decoder().traffic, c.writes) << c.address;
        EXPECT_EQ(view_.eventsStartingWith("error"), c.errors) << c.address;
    }
}

TEST_F(AccessoryRulesTest, AnAddressReadUnchangedWritesNothingEvenWithHighBitsInCv521) {
    decoder().cvs[521] = 252;
    decoder().cvs[513] = 236;
    page_.readAll();
    EXPECT_EQ(view_.boxes[accessoryAddressBox], "300");
    decoder().traffic.clear();
    page_.writeChanges();
    EXPECT_EQ(decoder().traffic, Lines{});
    // Also after an address refused first, which empties the hidden boxes.
    view_.boxes[accessoryAddressBox] = "512";
    page_.writeChanges();
    view_.boxes[accessoryAddressBox] = "5";
    page_.writeChanges();
    EXPECT_EQ(decoder().traffic, (Lines{"W513=197", "W521=248"}));
}

// Write All forgets the known values, but not before the address has taken the bits of CV 513
// and CV 521 it does not own from them, after a refused address as after none.
TEST_F(AccessoryRulesTest, WriteAllKeepsTheBitsOutsideTheAddressAsWriteChangesDoes) {
    for (const char* refusedFirst : {"", "512"}) {
        decoder().cvs[521] = 252;
        decoder().cvs[513] = 236;
        page_.readAll();
        if (*refusedFirst) {
            view_.boxes[accessoryAddressBox] = refusedFirst;
            page_.writeChanges();
        }
        decoder().traffic.clear();
        view_.boxes[accessoryAddressBox] = "5";
        page_.writeAll();
        EXPECT_EQ(decoder().traffic, (Lines{"W513=197", "W521=248", "W514=129", "W515=1", "W516=2",
                                            "W517=3", "W518=4"}))
            << refusedFirst;
    }
}

TEST_F(AccessoryRulesTest, AuxiliaryBoxesSetCv514AndUncheckingAllWritesZero) {
    struct Step {
        int box;
        bool checked;
        const char* value;
    } steps[] = {{1102, true, "1"},    {1115, true, "129"},  {1111, true, "137"},
                 {1111, false, "129"}, {1102, false, "128"}, {1115, false, "0"}};
    for (const Step& s : steps) {
        view_.checks[s.box] = s.checked;
        page_.auxiliaryFromCheckBoxes();
        EXPECT_EQ(view_.boxes[auxiliaryBox], s.value) << s.box;
    }
    page_.writeChanges();
    EXPECT_EQ(decoder().traffic, Lines{"W514=0"});
}

TEST_F(AccessoryRulesTest, LeavingThePageReportsABadAddressAndKeepsTheOtherTexts) {
    view_.boxes = {
        {accessoryAddressBox, "600"}, {addressLowBox, "44"}, {addressHighBox, "4"}, {1090, "12"}};
    page_.keep();
    EXPECT_EQ(view_.eventsStartingWith("error"),
              Lines{"error Error with Address, Value too large"});
    EXPECT_STREQ(CvTextStore::get(516), "12");
    EXPECT_EQ(CvTextStore::get(513), nullptr);
    page_.clearAll();
    EXPECT_EQ(view_.boxes[accessoryAddressBox], "");
    EXPECT_EQ(auxiliaryChecks(), "00000000");
}

} // namespace
