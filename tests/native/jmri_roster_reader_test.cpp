#include <gtest/gtest.h>

#include <map>
#include <string>

#include "files/jmri_roster_reader.h"

namespace {

using Values = std::map<int, int>;

// A roster entry shaped as JMRI writes one, with what lies around the values.
std::string rosterEntry(const std::string& values,
                        const std::string& attributes = "id=\"GP9 1234\" owner=\"Ann\"") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<?xml-stylesheet type=\"text/xsl\" href=\"/xml/XSLT/locomotive.xsl\"?>\n"
           "<locomotive-config xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n"
           "  <locomotive " +
           attributes +
           " roadNumber=\"1234\" dccAddress=\"1234\">\n"
           "    <decoder model=\"DH123\" family=\"Series 6\" comment=\"\" />\n"
           "    <locoaddress><number>1234</number></locoaddress>\n"
           "    <functionlabels><functionlabel num=\"0\" lockable=\"true\">Light</functionlabel>"
           "</functionlabels>\n"
           "    <attributepairs><keyvaluepair><key>yard</key><value>B</value></keyvaluepair>"
           "</attributepairs>\n"
           "    <values>\n"
           "      <decoderDef>\n"
           "        <varValue item=\"Short Address\" value=\"7\" />\n"
           "      </decoderDef>\n" +
           values +
           "    </values>\n"
           "  </locomotive>\n"
           "</locomotive-config>\n";
}

struct Reading {
    std::string error;
    Values values;
    std::string texts[decoderTextCount];
    size_t skipped = 0;
};

Reading read(const std::string& text) {
    DecoderFileContent content;
    Reading reading;
    reading.error = readJmriRoster(reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                                   content, reading.skipped);
    for (int cv = 1; cv <= decoderFileCvCount; ++cv)
        if (content.entries[cv - 1] != unknownCvEntry)
            reading.values[cv] = content.entries[cv - 1];
    for (int i = 0; i < decoderTextCount; ++i)
        reading.texts[i] = content.texts[i];
    return reading;
}

TEST(JmriRosterReader, TakesTheFirstLocomotivesCvValuesAndTexts) {
    const struct {
        const char* what;
        std::string text;
        Values values;
        size_t skipped;
    } cases[] = {
        {"plain CVs, indexed ones skipped",
         rosterEntry("<CVvalue name=\"1\" value=\"3\"/><CVvalue name=\"29\" value=\"34\"/>\n"
                     "<CVvalue name=\"16.3.257\" value=\"9\"/><CVvalue name=\"T3CV.2.1\" "
                     "value=\"1\"/>"),
         {{1, 3}, {29, 34}},
         2},
        {"the same value twice, attributes in single quotes",
         rosterEntry("<CVvalue value='34' name='29'/><CVvalue name=\"29\" value=\"34\" />"),
         {{29, 34}},
         0},
        {"comments, CDATA, processing instructions and a document type around them",
         "<!DOCTYPE locomotive-config SYSTEM \"locomotive-config.dtd\" [<!ENTITY x \">\">]>"
         "<!-- written by hand --><locomotive-config><locomotive id=\"a\"><![CDATA[<values>]]>"
         "<?pi <CVvalue name=\"2\" value=\"9\"/> ?><values><!-- <CVvalue name=\"3\" "
         "value=\"1\"/> --><CVvalue name=\"8\" value=\"151\"></CVvalue></values></locomotive>"
         "</locomotive-config>",
         {{8, 151}},
         0},
        {"a second locomotive and CVvalues outside values are passed over",
         "<roster><CVvalue name=\"5\" value=\"1\"/><locomotive><values><CVvalue name=\"1\" "
         "value=\"3\"/><decoderDef><CVvalue name=\"2\" value=\"2\"/></decoderDef></values>"
         "</locomotive><locomotive><values><CVvalue name=\"1\" value=\"4\"/></values>"
         "</locomotive></roster>",
         {{1, 3}},
         0},
        {"a locomotive without values", "<locomotive id=\"x\"/>", {}, 0},
    };
    for (const auto& c : cases) {
        const Reading reading = read(c.text);
        EXPECT_EQ(reading.error, "") << c.what;
        EXPECT_EQ(reading.values, c.values) << c.what;
        EXPECT_EQ(reading.skipped, c.skipped) << c.what;
    }
}

TEST(JmriRosterReader, TextsAreDecodedIntoTheAnsiCodePage) {
    const Reading reading = read(rosterEntry(
        "", "id=\"Big &amp; Small &lt;1&gt; &quot;&apos;\" owner=\"Jos&#233; M&#xFC;ller\" "
            "comment=\"Caf\xC3\xA9 \xE2\x82\xAC 5&#10;second line\xE2\x80\x94\n"
            "wrapped\""));
    ASSERT_EQ(reading.error, "");
    EXPECT_EQ(reading.texts[decoderNameText], "Big & Small <1> \"'");
    EXPECT_EQ(reading.texts[ownerText], "Jos\xE9 M\xFCller");
    EXPECT_EQ(reading.texts[notesText], "Caf\xE9 \x80 5\r\nsecond line\x97 wrapped");
}

TEST(JmriRosterReader, RefusesTheWholeFileWithTheLineAtFault) {
    std::string deep;
    for (int i = 0; i < 300; ++i)
        deep += "<a>";
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {rosterEntry("<CVvalue name=\"1\" value=\"3\"/>\n<CVvalue name=\"29\" value=\"300\"/>"),
         "Line 14: the value '300' of CV 29 is not a number from 0 to 255"},
        {rosterEntry("<CVvalue name=\"1025\" value=\"3\"/>"),
         "Line 13: the CV '1025' is not a number from 1 to 1024"},
        {rosterEntry("<CVvalue name=\"0\" value=\"3\"/>"),
         "Line 13: the CV '0' is not a number from 1 to 1024"},
        {rosterEntry("<CVvalue name=\"29\" value=\"34\"/>\n<CVvalue name=\"29\" value=\"6\"/>"),
         "Line 14: CV 29 is given the value 6 after the value 34"},
        // Texts are taken as they are or not at all, never with question marks.
        {rosterEntry("", "id=\"\xE6\x97\xA5 1\""),
         "Line 4: '\xE6\x97\xA5' is not in Windows-1252, the code page of decoder files"},
        {rosterEntry("<CVvalue name=\"29\"/>"),
         "Line 13: the value '' of CV 29 is not a number from 0 to 255"},
        {"<locomotive>\n<values>\n<CVvalue name=\"1\" value=\"3\"/>\n",
         "Line 4: the element 'values' opened on line 2 is not closed"},
        {"<locomotive>\n<values></locomotive>",
         "Line 2: the end tag of 'locomotive' closes 'values'"},
        {"<locomotive id=\"a &nbsp; b\"/>", "Line 1: the entity '&nbsp;' is not one XML knows"},
        {"<locomotive id=\"AT&T\"/>", "Line 1: a lone '&': write it as &amp;"},
        {"<locomotive id=\"&;\"/>", "Line 1: the entity '&;' is not one XML knows"},
        {"<locomotive id=\"&#0;\"/>", "Line 1: the character reference '&#0;' names no character"},
        {"<locomotive id=\"&#xD800;\"/>",
         "Line 1: the character reference '&#xD800;' names no character"},
        {"<locomotive id=a/>", "Line 1: an attribute value must be in quotes"},
        {"<locomotive id=\"1\" id=\"2\"/>", "Line 1: the attribute 'id' is given twice"},
        {"<locomotive id=\"1\"owner=\"2\"/>",
         "Line 1: the element 'locomotive' is not written right"},
        {"<locomotive id=\"1\"", "Line 1: the element 'locomotive' is not written right"},
        {"<locomotive/><locomotive/>", "Line 1: a second root element 'locomotive'"},
        {"<a>\n<!-- never closed", "Line 2: a comment is not closed"},
        {"<a><![CDATA[ open", "Line 1: a CDATA section is not closed"},
        {"text <a/>", "Line 1: text outside the root element"},
        {"<a>\n\xC3\x28</a>", "Line 2: the text is not UTF-8"},
        {std::string("<a>\n\0</a>", 9), "Line 2: a control character (0) where XML allows none"},
        {deep, "Line 1: elements nested deeper than 256"},
        {"<roster><entry/></roster>", "Not a JMRI roster entry: it holds no locomotive"},
        {"", "Line 1: no element: this is not XML"},
        {"< locomotive/>", "Line 1: a '<' that starts no element: write it as &lt;"},
    };
    for (const auto& c : cases) {
        const Reading reading = read(c.text);
        EXPECT_EQ(reading.error, c.message) << c.text.substr(0, 60);
    }
}

TEST(JmriRosterReader, ThousandsOfCvValuesAreRead) {
    std::string values;
    for (int i = 0; i < 5000; ++i)
        values += "<CVvalue name=\"" + std::to_string(1 + i % 1024) + "\" value=\"" +
                  std::to_string((1 + i % 1024) % 256) + "\"/>\n";
    const Reading reading = read(rosterEntry(values));
    ASSERT_EQ(reading.error, "");
    EXPECT_EQ(reading.values.size(), 1024u);
    EXPECT_EQ(reading.values.at(1024), 0);
}

} // namespace
