// The consist page's real dialog: the check boxes of CV 21 and CV 22 and their hidden boxes.
#include "cv_page_fixture.h"
#include "pages/consist_page.h"

namespace {

using ConsistPageTest = CvPageFixture<ConsistPage>;

TEST_F(ConsistPageTest, CheckBoxesFollowTheHiddenBoxesAndClicksChangeThem) {
    CvTextStore::keep(19, "3");
    CvTextStore::keep(21, "5");
    CvTextStore::keep(22, "2");
    open("TAB_CONSIST");
    std::string row;
    for (int box = 1257; box <= 1266; ++box)
        row += checked(box) ? '1' : '0';
    EXPECT_EQ(row, "1010000001");
    EXPECT_FALSE(visible(1267));
    EXPECT_FALSE(visible(1268));

    click(1265);
    EXPECT_EQ(text(1268), "3");
    click(1261);
    EXPECT_EQ(text(1267), "21");
    click(1257);
    EXPECT_EQ(text(1267), "20");
    EXPECT_EQ(controlsOutsideThePage(), "");
}

TEST_F(ConsistPageTest, ClearUnchecksAllTenBoxes) {
    CvTextStore::keep(19, "3");
    CvTextStore::keep(21, "255");
    CvTextStore::keep(22, "3");
    open("TAB_CONSIST");
    click(1057);
    for (int box = 1257; box <= 1266; ++box)
        EXPECT_FALSE(checked(box)) << box;
    EXPECT_EQ(text(1249), "");
    EXPECT_EQ(text(1267), "");
}

} // namespace
