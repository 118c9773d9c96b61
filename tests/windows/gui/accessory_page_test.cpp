// The accessory page's real dialog: the address over its hidden boxes and the auxiliary bits.
#include "cv_page_fixture.h"
#include "pages/accessory_page.h"

namespace {

using AccessoryPageTest = CvPageFixture<AccessoryPage>;

TEST_F(AccessoryPageTest, AddressAndAuxiliaryBoxesFollowTheCvsAndClicks) {
    CvTextStore::keep(513, "44");
    CvTextStore::keep(521, "4");
    CvTextStore::keep(514, "129");
    open("TAB_BASIC_ACCY");
    EXPECT_EQ(text(1093), "300");
    EXPECT_FALSE(visible(1094));
    EXPECT_FALSE(visible(1095));
    std::string bits;
    for (int box : auxiliaryBoxes)
        bits += checked(box) ? '1' : '0';
    EXPECT_EQ(bits, "10000001");

    const struct {
        int box;
        const char* value;
    } clicks[] = {{1111, "137"}, {1102, "136"}, {1115, "8"}, {1111, "0"}};
    for (const auto& c : clicks) {
        click(c.box);
        EXPECT_EQ(text(1096), c.value) << c.box;
    }
    EXPECT_EQ(controlsOutsideThePage(), "");
}

TEST_F(AccessoryPageTest, LeavingWithAnAddressTooLargeSaysSoAndClearUnchecks) {
    CvTextStore::keep(514, "255");
    open("TAB_BASIC_ACCY");
    click(1057);
    for (int box : auxiliaryBoxes)
        EXPECT_FALSE(checked(box)) << box;
    SetDlgItemTextA(page->window(), 1093, "512");
    page->destroyPage();
    page = nullptr;
    ASSERT_EQ(messageBoxes().size(), 1u);
    EXPECT_EQ(messageBoxes()[0].text, "Error with Address, Value too large");
    EXPECT_EQ(messageBoxes()[0].caption, "Error");
}

} // namespace
