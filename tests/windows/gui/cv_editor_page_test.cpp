// The CV editor on its real dialog: its controls, the notifications that reach its rules as the
// user works the boxes, the list and the buttons, and what outlives the page.
#include "cv_page_test_support.h"

#include "pages/cv_editor_page.h"

namespace {

class CvEditorPageTest : public CvPageTest {
  protected:
    void openEditor() { openPage(new CvEditorPage("TAB_SIMPLE_CV", frame)); }

    // The bit boxes from bit 7 to bit 0, as "1" and "0".
    std::string bits() const {
        std::string shown;
        for (int id = 1000; id <= 1007; ++id)
            shown += checked(id) ? '1' : '0';
        return shown;
    }
};

TEST_F(CvEditorPageTest, TemplateHoldsEveryControlOfItsKind) {
    openEditor();
    std::vector<ExpectedControl> table = {
        {1009, "Edit", ES_NUMBER | ES_CENTER, ES_NUMBER | ES_CENTER, true},
        {1008, "Edit", ES_NUMBER | ES_CENTER, ES_NUMBER | ES_CENTER, true},
        {1039, "ComboBox", 3 | CBS_SORT, CBS_DROPDOWN, true},
    };
    for (int id : {1037, 1038, 101, 100})
        table.push_back({id, "Button", BS_TYPEMASK, BS_PUSHBUTTON, true});
    for (int id : {1045, 1010, 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007})
        table.push_back({id, "Button", BS_TYPEMASK, BS_AUTOCHECKBOX, true});
    expectTemplate(261, 201, table);
    EXPECT_EQ(SendMessageA(control(1039), CB_GETCOUNT, 0, 0), 49);
    EXPECT_EQ(text(1009), "1");
    EXPECT_EQ(text(1039), "Primary Address");
}

TEST_F(CvEditorPageTest, BoxesListAndBitBoxesReachTheRules) {
    openEditor();
    type(1009, "29");
    EXPECT_EQ(text(1039), "Configuration Data #1");
    click(1045);
    choose(1039, 0);
    EXPECT_EQ(text(1009), "23");
    click(1000);
    EXPECT_EQ(text(1008), "128");
    type(1008, "2556");
    EXPECT_EQ(text(1008), "56");
    EXPECT_EQ(bits(), "00111000");
    click(1037);
    EXPECT_EQ(bits(), "11111111");
}

TEST_F(CvEditorPageTest, ReadAndWriteGoThroughTheStation) {
    decoder().cvs = {{29, 38}};
    openEditor();
    type(1009, "29");
    click(101);
    EXPECT_EQ(text(1008), "38");
    EXPECT_EQ(bits(), "00100110");
    click(1004);
    click(1010);
    click(100);
    EXPECT_EQ(decoder().traffic, (std::vector<std::string>{"R29", "W29=46", "R29"}));
    click(1010);
    type(1009, "7");
    click(100);
    EXPECT_EQ(errors(), std::vector<std::string>{"Error: CV is Read Only"});
    EXPECT_EQ(decoder().traffic.size(), 3u);
}

TEST_F(CvEditorPageTest, NumberAndValueOutliveThePageButNotTheCheckBoxes) {
    openEditor();
    type(1009, "105");
    type(1008, "77");
    click(1045);
    click(1010);
    closePage();
    openEditor();
    EXPECT_EQ(text(1009), "105");
    EXPECT_EQ(text(1039), "User Identifier #1");
    EXPECT_EQ(text(1008), "77");
    EXPECT_FALSE(checked(1045));
    EXPECT_FALSE(checked(1010));
}

} // namespace
