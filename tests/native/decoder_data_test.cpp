#include <gtest/gtest.h>

#include "files/decoder_data.h"
#include "files/file_name_rules.h"
#include "model/cv_text_store.h"
#include "stations/station_manager.h"

namespace {

class DecoderDataTest : public testing::Test {
  protected:
    void SetUp() override { clearAllDecoderData(); }
    void TearDown() override { clearAllDecoderData(); }
};

TEST_F(DecoderDataTest, SavedEntryPrefersAPlainKeptTextThenTheKnownValue) {
    const struct {
        int32_t cv;
        const char* kept;
        int fileValue; // -1: none
        int32_t saved;
    } cases[] = {
        {29, "12", 7, 12},       // the box wins over the value behind it
        {29, "  34xyz", -1, 34}, // read as atoi reads it
        {29, "abc", 7, 0},
        {2, "300", 7, 7}, // out of range: the known value keeps the file readable
        {2, "300", -1, -1},
        {2, "-1", -1, -1},
        {2, "99999999999", 9, 9},
        {8, "Digitrax - 129", 129, 129}, // manufacturer, momentum: never the text
        {520, "12", 13, 13},
        {3, "2.5", 20, 20},
        {4, "7", -1, -1},
        {1, nullptr, 3, 3},
        {1, nullptr, -1, -1},
    };
    for (const auto& c : cases) {
        clearAllDecoderData();
        CvTextStore::keep(c.cv, c.kept);
        if (c.fileValue >= 0)
            rememberFileCvValue(c.cv, c.fileValue);
        EXPECT_EQ(savedCvEntry(c.cv), c.saved) << c.cv << " " << (c.kept ? c.kept : "(none)");
    }
}

TEST_F(DecoderDataTest, LoadingReplacesEveryTextAndValue) {
    CvTextStore::keep(1, "44");
    CvTextStore::keep(1024, "1");
    rememberFileCvValue(5, 200);
    DecoderFileContent content;
    content.entries[0] = 3;
    content.entries[28] = 6;
    applyFileEntries(content);

    uint8_t value = 0;
    EXPECT_EQ(CvTextStore::get(1), nullptr);
    EXPECT_EQ(CvTextStore::get(1024), nullptr);
    EXPECT_EQ(knownCvValue(5, &value, 1), 1);
    ASSERT_EQ(knownCvValue(1, &value, 1), 0);
    EXPECT_EQ(value, 3);
    EXPECT_EQ(knownCvValue(1, &value, 0), 1); // a file value, not a decoder's
    DecoderFileContent saved;
    collectCvEntries(saved);
    EXPECT_EQ(saved.entries, content.entries);
}

int resetsRun = 0;

TEST_F(DecoderDataTest, ClearAllWipesEveryPageIncludingRegisteredState) {
    registerDecoderDataReset([] { ++resetsRun; });
    CvTextStore::keep(17, "192");
    rememberFileCvValue(1024, 9);
    LoadSaveTexts::keep(ownerText, "Ann");
    clearAllDecoderData();
    uint8_t value = 0;
    EXPECT_EQ(CvTextStore::get(17), nullptr);
    EXPECT_EQ(knownCvValue(1024, &value, 1), 1);
    EXPECT_EQ(LoadSaveTexts::get(ownerText), nullptr);
    EXPECT_EQ(resetsRun, 1);
}

TEST(FileNameRules, KeepsLettersDigitsAndSixMarks) {
    const struct {
        const char* name;
        const char* proposed;
    } cases[] = {
        {"GP9 Loco", "GP9Loco"},       {"", ""},
        {" .,;:/\\*?\"", ""},          {"a_b-c(d){e}", "a_b-c(d){e}"},
        {"Z\xfcrich 2\x7f", "Zrich2"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cleanFileName(c.name), c.proposed) << c.name;
}

} // namespace
