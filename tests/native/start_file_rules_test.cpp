// Which word of velquist.exe's command line is the file it opens at start.
#include <gtest/gtest.h>

#include "app/start_file_rules.h"

namespace {

TEST(StartFileRulesTest, OneNameIsTheFileAndMoreAreRefusedWhole) {
    const struct {
        std::vector<std::string> words;
        std::string path;
        std::string error;
    } cases[] = {
        {{}, "", ""},
        {{""}, "", ""},
        {{"C:\\Decoders\\GP9 1234.vqd"}, "C:\\Decoders\\GP9 1234.vqd", ""},
        {{"Z:\\tmp\\Lok \xce\xa9 5.csv"}, "Z:\\tmp\\Lok \xce\xa9 5.csv", ""},
        {{"", "gp9.xml", ""}, "gp9.xml", ""},
        // velquist.exe C:\Decoders\GP9 1234.vqd, typed without quotes.
        {{"C:\\Decoders\\GP9", "1234.vqd"}, "", oneFileAtATimeText},
        {{"a.vqd", "b.vqd", "c.vqd"}, "", oneFileAtATimeText},
        // No options: a word that looks like one is a name.
        {{"-h"}, "-h", ""},
    };
    for (const auto& c : cases) {
        const StartFile start = startFileFrom(c.words);
        EXPECT_EQ(start.path, c.path) << c.words.size() << " words";
        EXPECT_EQ(start.error, c.error) << c.words.size() << " words";
    }
}

} // namespace
