#include <gtest/gtest.h>

#include "model/cv_text_store.h"
#include "page_fakes.h"
#include "pages/cv_editor_rules.h"
#include "station_fakes.h"
#include "stations/station_manager.h"

namespace {

using Lines = std::vector<std::string>;

class FakeEditorView : public CvEditorView {
  public:
    std::string boxText(int id) override { return page.boxText(id); }
    void setBoxText(int id, const std::string& text) override { page.setBoxText(id, text); }
    bool isChecked(int id) override { return page.isChecked(id); }
    void setChecked(int id, bool checked) override { page.setChecked(id, checked); }
    void showError(const std::string& text) override { page.showError(text); }
    bool confirm(const std::string& text, const char* caption) override {
        return page.confirm(text, caption);
    }
    std::unique_ptr<WaitProgress> openWaitBar(uint32_t maximum, const char* message) override {
        return page.openWaitBar(maximum, message);
    }
    void repaintMainWindow() override {}
    int takeKeyPress() override { return 0; }
    void beep() override {}
    void setListNames(const std::vector<const char*>& list) override {
        names.assign(list.begin(), list.end());
    }
    int selectedListPosition() override { return selected; }
    void setCaret(int, int) override {}
    bool backUpDecoder(std::string& error) override {
        page.events.push_back("backup");
        error = backupError;
        return error.empty();
    }
    void showNote(const std::string& text, const char* caption) override {
        page.events.push_back(std::string(caption) + ": " + text);
    }

    FakePageView page;
    std::string backupError;
    Lines names;
    int selected = -1;
};

class CvEditorRulesTest : public testing::Test {
  protected:
    CvEditorRulesTest() {
        resetCvEditorState();
        decoder().cvs = {{29, 38}, {8, 11}};
        editor_.initialise();
    }
    ~CvEditorRulesTest() override { resetCvEditorState(); }

    DecoderDriver& decoder() { return station_.decoder(); }
    std::string& box(int id) { return view_.page.boxes[id]; }
    std::string bits() {
        std::string shown;
        for (int id = firstBitBox; id < firstBitBox + 8; ++id)
            shown += view_.page.checks[id] ? '1' : '0';
        return shown;
    }
    // Types into a box as the user does: the box changes, then tells the page.
    void type(int id, const char* text) {
        box(id) = text;
        editor_.command(id, textChangeNotification);
    }
    void click(int id) { editor_.command(id, clickedNotification); }

    RecordedPauses pauses_;
    DecoderStation station_;
    FakeEditorView view_;
    CvEditorRules editor_{view_};
};

TEST_F(CvEditorRulesTest, TheRegisterFollowsTheNumberAndTheList) {
    struct Case {
        const char* typed;
        const char* name;
    } cases[] = {{"29", "Configuration Data #1"},
                 {"17", "Extended Address MSB"},
                 {"1200", "Not an NMRA Register"},
                 {"abc", "Not an NMRA Register"}};
    for (const Case& c : cases) {
        type(cvNumberBox, c.typed);
        EXPECT_EQ(box(registerCombo), c.name) << c.typed;
    }
    ASSERT_EQ(view_.names.size(), 49u);
    EXPECT_EQ(view_.names.front(), "Primary Address");

    view_.page.checks[sortCheckBox] = true;
    click(sortCheckBox);
    EXPECT_EQ(view_.names.front(), "Acceleration Adjustment");
    view_.selected = 0;
    editor_.command(registerCombo, selectionChangeNotification);
    EXPECT_EQ(box(cvNumberBox), "23");
    EXPECT_EQ(cvEditorCv, 23);
}

TEST_F(CvEditorRulesTest, TheValueIsEditedInDecimalOrBitByBit) {
    view_.page.checks[firstBitBox] = true;
    click(firstBitBox);
    EXPECT_EQ(box(decimalValueBox), "128");
    click(setAllBitsButton);
    EXPECT_EQ(bits(), "11111111");
    EXPECT_EQ(box(decimalValueBox), "255");
    struct Case {
        const char* typed;
        const char* shown;
        const char* bits;
    } cases[] = {{"2556", "56", "00111000"},
                 {"300", "0", "00000000"},
                 {"25a", "25", "00011001"},
                 {"", "0", "00000000"},
                 {"7", "7", "00000111"}};
    for (const Case& c : cases) {
        type(decimalValueBox, c.typed);
        EXPECT_EQ(box(decimalValueBox), c.shown) << c.typed;
        EXPECT_EQ(bits(), c.bits) << c.typed;
    }
}

TEST_F(CvEditorRulesTest, ReadAndWriteCheckTheNumberAndTheStation) {
    const std::string cv8Error = "CV is Read Only. To reset the decoder to its factory settings, "
                                 "use Factory Reset\x85";
    struct Case {
        const char* cv;
        int button;
        bool reread;
        Lines traffic;
        Lines errors;
        const char* value;
    } cases[] = {
        {"29", readCvButton, false, {"R29"}, {}, "38"},
        {"0", readCvButton, false, {}, {"error Invalid CV Register"}, "7"},
        {"1025", writeCvButton, false, {}, {"error Invalid CV Register"}, "7"},
        {"-3", readCvButton, false, {}, {"error Invalid CV Register"}, "7"},
        {"29", writeCvButton, true, {"W29=7", "R29"}, {}, "7"},
        {"8", writeCvButton, true, {"R8"}, {"error " + cv8Error}, "11"},
        {"8", writeCvButton, false, {}, {"error " + cv8Error}, "7"},
        {"7", writeCvButton, false, {}, {"error CV is Read Only"}, "7"},
        // A failed write is not read back.
    };
    for (const Case& c : cases) {
        decoder().traffic.clear();
        view_.page.events.clear();
        cvEditorValue.setValue(7);
        view_.page.checks[rereadCheckBox] = c.reread;
        box(cvNumberBox) = c.cv;
        click(c.button);
        EXPECT_EQ(decoder().traffic, c.traffic) << c.cv;
        EXPECT_EQ(view_.page.eventsStartingWith("error"), c.errors) << c.cv;
        EXPECT_STREQ(cvEditorValue.text(), c.value) << c.cv;
        // The bar is gone before the error shows.
        if (!c.errors.empty()) {
            EXPECT_EQ(view_.page.events.rbegin()[1], "bar close");
        }
    }
    decoder().failingCv = 29;
    decoder().traffic.clear();
    box(cvNumberBox) = "29";
    view_.page.checks[rereadCheckBox] = true;
    click(writeCvButton);
    EXPECT_EQ(decoder().traffic, Lines{"W29=7"});
}

// After a failed read the boxes are empty and Write CV asks until a value is given.
TEST_F(CvEditorRulesTest, AFailedReadLeavesNoValueToWrite) {
    const std::pair<int, const char*> givenValues[] = {
        {decimalValueBox, "W30=5"}, {firstBitBox + 7, "W30=0"}, {setAllBitsButton, "W30=255"}};
    for (const auto& [control, written] : givenValues) {
        decoder().cvs.erase(30);
        box(cvNumberBox) = "30";
        click(readCvButton);
        EXPECT_EQ(box(decimalValueBox) + bits(), "00000000");
        type(decimalValueBox, ""); // as the page's own emptying of the box tells it
        decoder().traffic.clear();
        view_.page.events.clear();
        click(writeCvButton);
        EXPECT_EQ(view_.page.eventsStartingWith("error"),
                  Lines{"error Type the value to write: the last read failed, so there is none"});
        control == decimalValueBox ? type(control, "5") : click(control);
        click(writeCvButton);
        EXPECT_EQ(decoder().traffic, Lines{written}) << written;
    }
}

// A station whose programming track writes above CV 255 elsewhere: the user is asked first, and
// No sends nothing.
TEST_F(CvEditorRulesTest, WritingAboveTheSafeLimitAsksFirst) {
    const std::string question =
        "Warning? CV %d is above 255. On this station's programming track a write above CV 255 "
        "can change another CV instead. NCE advises programming such CVs on the main. Write it "
        "anyway? Answer No to leave it, or choose 'The main' on Connection Setup to write it "
        "there.";
    struct Case {
        int32_t limit;
        const char* cv;
        bool yes;
        Lines asked;
        Lines traffic;
    } cases[] = {
        {255, "300", false, {"300"}, {}},    {255, "300", true, {"300"}, {"W300=7"}},
        {255, "255", false, {}, {"W255=7"}}, {noCvLimit, "1024", false, {}, {"W1024=7"}},
        {255, "1025", false, {}, {}}, // not a CV: refused without asking
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cv);
        decoder().safeCvLimit = c.limit;
        decoder().traffic.clear();
        view_.page.events.clear();
        view_.page.answerYes = c.yes;
        cvEditorValue.setValue(7);
        box(cvNumberBox) = c.cv;
        click(writeCvButton);
        Lines asked;
        for (const std::string& cv : c.asked) {
            std::string text = question;
            asked.push_back(text.replace(text.find("%d"), 2, cv));
        }
        EXPECT_EQ(view_.page.eventsStartingWith("Warning?"), asked);
        EXPECT_EQ(decoder().traffic, c.traffic);
        // The question comes before the wait bar, never under it.
        if (!asked.empty()) {
            EXPECT_EQ(view_.page.events.front(), asked.front());
        }
    }
}

TEST_F(CvEditorRulesTest, TheNumberAndValueOutliveThePage) {
    CvTextStore::keep(29, "kept");
    type(cvNumberBox, "29");
    click(readCvButton);
    EXPECT_EQ(CvTextStore::get(29), nullptr);
    editor_.keep();

    FakeEditorView next;
    CvEditorRules again(next);
    again.initialise();
    EXPECT_EQ(next.page.boxes[cvNumberBox], "29");
    EXPECT_EQ(next.page.boxes[decimalValueBox], "38");
    EXPECT_EQ(next.page.boxes[registerCombo], "Configuration Data #1");
}

// Factory Reset reads CV 8 for the maker, asks, offers a backup first, and only then writes the
// maker's reset; a No or a failed backup writes nothing.
TEST_F(CvEditorRulesTest, FactoryResetAsksAndBacksUpFirst) {
    const struct {
        bool yes;
        std::string backupError;
        Lines traffic;
        std::string last;
    } cases[] = {
        {false,
         "",
         {"R8"},
         "Factory Reset? Reset the NCE Corporation decoder (ID 11) to its "
         "factory settings by writing CV 30 = 2?\n\nEvery setting returns to the "
         "maker's, and the address to 3."},
        {true, "disk full", {"R8"}, "error disk full\n\nThe decoder was not reset."},
        {true, "", {"R8", "W30=2"}, "Factory Reset: Switch the track power off and on, then Read."},
    };
    for (const auto& c : cases) {
        decoder().traffic.clear();
        forgetCvValue(8);
        view_.page.events.clear();
        view_.page.answerYes = c.yes;
        view_.backupError = c.backupError;
        click(factoryResetButton);
        EXPECT_EQ(decoder().traffic, c.traffic);
        ASSERT_FALSE(view_.page.events.empty());
        EXPECT_EQ(view_.page.events.back(), c.last);
    }
    uint8_t known = 0;
    EXPECT_EQ(knownCvValue(30, &known, 0), 1); // nothing known survives the reset
}

} // namespace
