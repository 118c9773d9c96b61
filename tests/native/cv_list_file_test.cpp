#include <gtest/gtest.h>

#include <map>
#include <string>

#include "files/cv_list_file.h"

namespace {

using Values = std::map<int, int>;

Values knownValues(const DecoderFileContent& content) {
    Values values;
    for (int cv = 1; cv <= decoderFileCvCount; ++cv)
        if (content.entries[cv - 1] != unknownCvEntry)
            values[cv] = content.entries[cv - 1];
    return values;
}

std::string read(const std::string& text, Values& values) {
    DecoderFileContent content;
    const std::string error =
        readCvList(reinterpret_cast<const uint8_t*>(text.data()), text.size(), content);
    values = knownValues(content);
    return error;
}

TEST(CvListFile, ReadsEveryFormJmriAndSpreadsheetsWrite) {
    const struct {
        const char* what;
        std::string text;
        Values values;
    } cases[] = {
        {"JMRI's export", "CV, value\r\n1,3\r\n29,34\r\n", {{1, 3}, {29, 34}}},
        {"quoted header, LF", "\"CV, value\"\n29,6\n", {{29, 6}}},
        {"plain header, no final break", "CV,value\n1,3", {{1, 3}}},
        {"blanks, tabs and quotes around fields",
         "cv , VALUE\n 1 ,\t3 \n\"8\",\"151\"\n",
         {{1, 3}, {8, 151}}},
        {"blank lines anywhere", "\r\n\nCV,value\r\n\r\n1,3\r\n \r\n2,0\r\n\r\n", {{1, 3}, {2, 0}}},
        {"a third column is ignored", "CV,value,name\n1,3,Short Address\n", {{1, 3}}},
        {"no header at all", "1,3\n29,34\n", {{1, 3}, {29, 34}}},
        {"byte order mark",
         "\xEF\xBB\xBF"
         "CV,value\n1,3\n",
         {{1, 3}}},
        {"leading zeros, limits", "CV,value\n0001,000\n1024,255\n", {{1, 0}, {1024, 255}}},
        {"the same value twice", "CV,value\n29,34\n29,34\n", {{29, 34}}},
        {"a header alone", "CV,value\r\n", {}},
    };
    for (const auto& c : cases) {
        Values values;
        EXPECT_EQ(read(c.text, values), "") << c.what;
        EXPECT_EQ(values, c.values) << c.what;
    }
}

TEST(CvListFile, RefusesTheWholeListWithTheLineAtFault) {
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {"CV,value\n1,3\n29;34\n", "Line 3: expected CV,value but found '29;34'"},
        {"CV,value\n1,3\n1025,1\n", "Line 3: the CV '1025' is not a number from 1 to 1024"},
        {"CV,value\n0,1\n", "Line 2: the CV '0' is not a number from 1 to 1024"},
        {"CV,value\n-1,1\n", "Line 2: the CV '-1' is not a number from 1 to 1024"},
        {"CV,value\n29,256\n", "Line 2: the value '256' of CV 29 is not a number from 0 to 255"},
        {"CV,value\n29,\n", "Line 2: the value '' of CV 29 is not a number from 0 to 255"},
        {"CV,value\n29,3 4\n", "Line 2: the value '3 4' of CV 29 is not a number from 0 to 255"},
        {"CV,value\n29,99999999999999999999\n",
         "Line 2: the value '99999999999999999999' of CV 29 is not a number from 0 to 255"},
        {"CV,value\n29,34\n\n29,6\n", "Line 4: CV 29 is given the value 6 after the value 34"},
        {std::string("CV,value\n1,3\n2,\0"
                     "4\n",
                     18),
         "Line 3: a NUL byte: this is not a text file"},
        {"29;34\n", "Line 1: not a Velquist decoder file, nor a CV list beginning CV,value, nor "
                    "a JMRI roster entry"},
        {"\x89PNG\r\n\x1a\n\xff\xfe", "Line 1: not a Velquist decoder file, nor a CV list "
                                      "beginning CV,value, nor a JMRI roster entry"},
        {"CV,value\n1,3\nCV,value\n", "Line 3: the CV 'CV' is not a number from 1 to 1024"},
        {"CV,value\n" + std::string(40, 'x') + ",1\n",
         "Line 2: the CV 'xxxxxxxxxxxxxxxxxxxxxxxx...' is not a number from 1 to 1024"},
    };
    for (const auto& c : cases) {
        Values values;
        EXPECT_EQ(read(c.text, values), c.message) << c.text;
    }
}

TEST(CvListFile, TenThousandLinesAreReadAndWrittenBackInOrder) {
    std::string text = "CV, value\n";
    for (int line = 0; line < 10000; ++line)
        text += std::to_string(1024 - line % 1024) + "," +
                std::to_string((1024 - line % 1024) % 256) + "\n";
    Values values;
    ASSERT_EQ(read(text, values), "");
    ASSERT_EQ(values.size(), 1024u);
    EXPECT_EQ(values[300], 44);

    DecoderFileContent content;
    content.entries[28] = 34;
    content.entries[0] = 3;
    content.entries[1023] = 0;
    EXPECT_EQ(writeCvList(content), "CV,value\r\n1,3\r\n29,34\r\n1024,0\r\n");
    EXPECT_EQ(writeCvList(DecoderFileContent()), "CV,value\r\n");
}

} // namespace
