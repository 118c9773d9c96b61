#include <gtest/gtest.h>

#include "model/cv_page_engine.h"
#include "model/cv_text_store.h"
#include "page_fakes.h"
#include "station_fakes.h"
#include "stations/station_manager.h"

namespace {

using Lines = std::vector<std::string>;

// Manufacturer, version, Vstart, a CV without a box, Vhigh.
constexpr CvBinding testBindings[] = {{1050, 8}, {1051, 7}, {1044, 2}, {0, 9}, {1046, 5}};

class CvPageEngineTest : public testing::Test {
  protected:
    CvPageEngineTest() { decoder().cvs = {{8, 11}, {7, 3}, {2, 10}, {9, 1}, {5, 200}}; }
    DecoderDriver& decoder() { return station_.decoder(); }
    Lines stepsAndErrors() {
        Lines lines;
        for (const std::string& event : view_.events)
            if (event.rfind("step", 0) == 0 || event.rfind("error", 0) == 0 ||
                event.rfind("bar", 0) == 0 || event.rfind("position", 0) == 0)
                lines.push_back(event);
        return lines;
    }

    RecordedPauses pauses_;
    DecoderStation station_;
    FakePageView view_;
    CvPageEngine page_{view_, testBindings, 5};
};

TEST_F(CvPageEngineTest, ReadShowsEachRegisterAndFillsTheBoxesInTableOrder) {
    view_.boxes[1044] = "old";
    CvTextStore::keep(2, "old");
    EXPECT_EQ(page_.command(readButton, 0), 1);
    EXPECT_EQ(decoder().traffic, (Lines{"R8", "R7", "R2", "R9", "R5"}));
    EXPECT_EQ(stepsAndErrors(),
              (Lines{"bar open 7 ", "step Reading Manufacturer ID",
                     "step Reading Manufacturer Version", "step Reading Vstart",
                     "step Reading Total PWM Period", "step Reading Vhigh", "bar close"}));
    EXPECT_EQ(view_.boxes[1050], "NCE Corporation - 11");
    EXPECT_EQ(view_.boxes[1051], "3");
    EXPECT_EQ(view_.boxes[1044], "10");
    EXPECT_EQ(view_.boxes[1046], "200");
    EXPECT_EQ(CvTextStore::get(2), nullptr);
    EXPECT_EQ(view_.eventsStartingWith("repaint").size(), 5u);
}

TEST_F(CvPageEngineTest, ReadStopsAtTheFirstFailureOrAtEscape) {
    struct Case {
        int32_t failingCv;
        int escapeAtCheck;
        Lines traffic;
        Lines boxes; // 1050, 1051, 1044, 1046
        Lines tail;  // the last events
    } cases[] = {
        {2,
         0,
         {"R8", "R7", "R2"},
         {"NCE Corporation - 11", "3", "", ""},
         {"step Reading Vstart", "error Error reading Vstart\nNO DATA RETURNED", "bar close"}},
        {0,
         2,
         {"R8", "R7"},
         {"NCE Corporation - 11", "3", "", ""},
         {"step Reading Manufacturer Version", "position 1000000 Canceling...", "bar close"}},
    };
    for (const Case& c : cases) {
        decoder().traffic.clear();
        decoder().failingCv = c.failingCv;
        view_.events.clear();
        view_.cancelChecks = 0;
        view_.escapeAtCheck = c.escapeAtCheck;
        view_.boxes[1046] = "stale";
        page_.readAll();
        EXPECT_EQ(decoder().traffic, c.traffic);
        EXPECT_EQ(
            (Lines{view_.boxes[1050], view_.boxes[1051], view_.boxes[1044], view_.boxes[1046]}),
            c.boxes);
        Lines events = stepsAndErrors();
        EXPECT_EQ(Lines(events.end() - 3, events.end()), c.tail);
    }
    // The cancel beeps once and leaves the full bar readable.
    EXPECT_EQ(view_.eventsStartingWith("beep").size(), 1u);
    EXPECT_EQ(RecordedPauses::list().back(), 555u);
    uint8_t value = 0;
    EXPECT_NE(knownCvValue(2, &value, 1), 0);
}

TEST_F(CvPageEngineTest, WriteChangesWritesOnlyValidWritableBoxesThatDiffer) {
    // Known from the decoder: CV 2 = 10. From a file: CV 5 = 200 (the file does not count).
    uint8_t ignored = 0;
    stationReadCv(2, &ignored);
    rememberFileCvValue(5, 200);
    struct Case {
        const char* vstart;
        const char* vhigh;
        Lines writes;
        Lines errors;
    } cases[] = {
        {"10", "200", {"W5=200"}, {}},
        {"11", "", {"W2=11"}, {}},
        {"256", "7", {"W5=7"}, {"error Error with Vstart, Value too large"}},
        {"-1", "7", {}, {"error Error with Vstart, Value too large"}},
        {"12abc", "abc", {"W2=12"}, {"error Error with Vhigh, Not a number"}},
        {"", "  9", {"W5=9"}, {}},
    };
    for (const Case& c : cases) {
        decoder().traffic.clear();
        view_.events.clear();
        view_.boxes = {{1050, "99"}, {1051, "4"}, {1044, c.vstart}, {1046, c.vhigh}};
        page_.writeChanges();
        EXPECT_EQ(decoder().traffic, c.writes) << c.vstart << " " << c.vhigh;
        EXPECT_EQ(view_.eventsStartingWith("error"), c.errors) << c.vstart;
        EXPECT_EQ(view_.eventsStartingWith("step Checking changes").size(), 5u);
        EXPECT_EQ(view_.events.front(), "bar open 12 ");
        EXPECT_EQ(stepsAndErrors().rbegin()[1], "step Finishing");
    }
}

// The bar names only the CVs that are written; Escape ends the writing after the CV in hand and
// the bar still shows "Finishing".
TEST_F(CvPageEngineTest, WriteChangesNamesOnlyWrittenCvsAndStopsAtEscape) {
    uint8_t ignored = 0;
    stationReadCv(2, &ignored); // CV 2 = 10 is known
    struct Case {
        const char* vstart;
        int escapeAtCheck;
        Lines writes;
        Lines steps; // after the bar opens, without "Checking changes"
    } cases[] = {
        {"10", 0, {"W5=7"}, {"step Writing Vhigh", "step Finishing", "bar close"}},
        {"11",
         0,
         {"W2=11", "W5=7"},
         {"step Writing Vstart", "step Writing Vhigh", "step Finishing", "bar close"}},
        {"12",
         3,
         {"W2=12"},
         {"step Writing Vstart", "position 1000000 Canceling...", "step Finishing", "bar close"}},
    };
    for (const Case& c : cases) {
        decoder().traffic.clear();
        view_.events.clear();
        view_.cancelChecks = 0;
        view_.escapeAtCheck = c.escapeAtCheck;
        view_.boxes = {{1044, c.vstart}, {1046, "7"}};
        forgetCvValue(5);
        page_.writeChanges();
        EXPECT_EQ(decoder().traffic, c.writes) << c.vstart;
        Lines steps;
        for (const std::string& line : stepsAndErrors())
            if (line != "step Checking changes" && line.rfind("bar open", 0) != 0)
                steps.push_back(line);
        EXPECT_EQ(steps, c.steps) << c.vstart;
    }
    uint8_t value = 0;
    EXPECT_NE(knownCvValue(5, &value, 0), 0); // cancelled before CV 5
}

TEST_F(CvPageEngineTest, WriteAllForgetsFirstAndAFailedWriteStopsTheRest) {
    view_.boxes = {{1044, "10"}, {1046, "200"}};
    page_.readAll();
    decoder().traffic.clear();
    page_.writeAll();
    EXPECT_EQ(decoder().traffic, (Lines{"W2=10", "W5=200"}));

    decoder().traffic.clear();
    decoder().failingCv = 2;
    view_.events.clear();
    page_.writeAll();
    EXPECT_EQ(decoder().traffic, (Lines{"W2=10"}));
    // The station's words under the page's line, and the decoder lock a failed write may mean.
    EXPECT_EQ(view_.eventsStartingWith("error"),
              (Lines{"error Error writing Vstart\nERROR SENDING DATA\nA locked decoder (CV 15 "
                     "differs from CV 16) also takes no writes."}));
    uint8_t value = 0;
    EXPECT_NE(knownCvValue(2, &value, 0), 0);
    EXPECT_NE(knownCvValue(5, &value, 0), 0);
}

// Above the station's safe CV, each write action asks once, at its first such CV; No skips
// those CVs and writes the rest.
TEST_F(CvPageEngineTest, HighCvsAreWrittenOnlyAfterAYes) {
    constexpr CvBinding accessory[] = {{1001, 2}, {1002, 513}, {1003, 29}, {1004, 521}};
    CvPageEngine page(view_, accessory, 4);
    decoder().safeCvLimit = 255;
    struct Case {
        bool yes;
        Lines writes;
    } cases[] = {
        {false, {"W2=1", "W29=3"}},
        {true, {"W2=1", "W513=2", "W29=3", "W521=4"}},
    };
    for (const Case& c : cases) {
        for (auto action : {&CvPageEngine::writeAll, &CvPageEngine::writeChanges}) {
            SCOPED_TRACE(c.yes);
            for (const CvBinding& b : accessory)
                forgetCvValue(b.cv);
            decoder().traffic.clear();
            view_.events.clear();
            view_.answerYes = c.yes;
            view_.boxes = {{1001, "1"}, {1002, "2"}, {1003, "3"}, {1004, "4"}};
            (page.*action)();
            EXPECT_EQ(decoder().traffic, c.writes);
            const Lines asked = view_.eventsStartingWith("Warning? ");
            ASSERT_EQ(asked.size(), 1u);
            EXPECT_EQ(asked[0].substr(0, 30), "Warning? CV 513 is above 255. ");
        }
    }
    decoder().safeCvLimit = noCvLimit;
    view_.events.clear();
    page.writeAll();
    EXPECT_TRUE(view_.eventsStartingWith("Warning?").empty());
}

TEST_F(CvPageEngineTest, AClosedStationShowsItsTextAndChangesNothing) {
    uint8_t value = 0;
    stationReadCv(2, &value);
    saveAndShutdownStations();
    view_.boxes = {{1044, "33"}};
    for (int button : {readButton, writeChangesButton, writeAllButton}) {
        view_.events.clear();
        page_.command(button, 0);
        ASSERT_EQ(view_.events.size(), 1u);
        EXPECT_EQ(view_.events[0], std::string("error ") + stationClosedReason());
        EXPECT_EQ(view_.boxes[1044], "33");
    }
    // Write All forgot the bound values before it found the station closed.
    EXPECT_NE(knownCvValue(2, &value, 1), 0);
}

TEST_F(CvPageEngineTest, TextsOutliveThePageAndFillFallsBackToKnownValues) {
    rememberFileCvValue(8, 11);
    rememberFileCvValue(5, 17);
    {
        FakePageView firstView;
        CvPageEngine first(firstView, testBindings, 5);
        first.fill();
        EXPECT_EQ(firstView.boxes[1050], "NCE Corporation - 11");
        EXPECT_EQ(firstView.boxes[1046], "17");
        EXPECT_EQ(firstView.boxes[1044], "");
        firstView.boxes[1044] = "typed 300";
        firstView.boxes[1046] = "";
        first.keep();
    }
    FakePageView secondView;
    CvPageEngine second(secondView, testBindings, 5);
    second.fill();
    EXPECT_EQ(secondView.boxes[1044], "typed 300");
    EXPECT_EQ(secondView.boxes[1046], "17");

    second.clearAll();
    EXPECT_EQ(secondView.boxes[1050], "");
    EXPECT_EQ(CvTextStore::get(2), nullptr);
    uint8_t value = 0;
    EXPECT_NE(knownCvValue(8, &value, 1), 0);
}

TEST_F(CvPageEngineTest, ButtonsActOnClicksOnly) {
    view_.boxes[1044] = "5";
    EXPECT_EQ(page_.command(clearButton, 1), 0);
    EXPECT_EQ(view_.boxes[1044], "5");
    EXPECT_EQ(page_.command(clearButton, 0), 1);
    EXPECT_EQ(view_.boxes[1044], "");
    EXPECT_EQ(page_.command(1234, 0), 0);
    EXPECT_TRUE(CvPageEngine::isEngineButton(writeAllButton));
    EXPECT_FALSE(CvPageEngine::isEngineButton(1234));
}

TEST(CvTextStoreTest, KeepsCopiesForCvsZeroTo1024Only) {
    std::string text = "42";
    CvTextStore::keep(1024, text.c_str());
    text = "changed";
    EXPECT_STREQ(CvTextStore::get(1024), "42");
    CvTextStore::keep(1025, "x");
    CvTextStore::keep(-1, "x");
    EXPECT_EQ(CvTextStore::get(1025), nullptr);
    EXPECT_EQ(CvTextStore::get(-1), nullptr);
    CvTextStore::forget(1024);
    EXPECT_EQ(CvTextStore::get(1024), nullptr);
}

} // namespace
