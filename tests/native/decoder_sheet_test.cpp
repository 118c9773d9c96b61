#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "files/decoder_sheet.h"
#include "files/xml_reader.h"

namespace {

// The sheet read back as XML: every element with its attributes, and the text of each element
// that has an id.
class SheetReader : public XmlHandler {
  public:
    std::string startElement(const std::string& name, const XmlAttributes& attributes,
                             size_t) override {
        elements.push_back({name, attributes});
        open_.push_back(xmlAttribute(attributes, "id"));
        return {};
    }
    void endElement(const std::string&) override { open_.pop_back(); }
    void text(const std::string& text) override {
        for (const std::string& id : open_)
            if (!id.empty())
                texts[id] += text;
    }

    std::vector<std::pair<std::string, XmlAttributes>> elements;
    std::map<std::string, std::string> texts;

  private:
    std::vector<std::string> open_;
};

DecoderFileContent sampleDecoder() {
    DecoderFileContent content;
    const std::pair<int, int> values[] = {{1, 3},    {3, 8},  {8, 129}, {17, 196}, {18, 210},
                                          {29, 38},  {33, 1}, {35, 4},  {41, 255}, {66, 128},
                                          {19, 133}, {21, 5}, {105, 7}};
    for (const auto& [cv, value] : values)
        content.entries[cv - 1] = value;
    for (int step = 1; step <= 28; ++step)
        content.entries[66 + step - 1] = step * 9 + (step == 28 ? 3 : 0);
    content.texts[decoderNameText] = "GP9 <1234> & \"B\"";
    content.texts[ownerText] = "Jos\xE9";
    content.texts[notesText] = "Runs \x80 well\r\nsecond line";
    return content;
}

TEST(DecoderSheet, ReadsBackAsOnePageWithTheTextsAndTheSpeedCurve) {
    const std::string html = decoderSheetHtml(sampleDecoder());
    SheetReader sheet;
    ASSERT_EQ(readXml(html, sheet), "");

    EXPECT_EQ(sheet.texts["decoder-name"], "GP9 <1234> & \"B\"");
    EXPECT_EQ(sheet.texts["owner"], "Jos\xC3\xA9");
    EXPECT_EQ(sheet.texts["notes"], "Runs \xE2\x82\xAC well\nsecond line");
    const struct {
        const char* section;
        const char* words;
    } basics[] = {
        {"basics", "Digitrax (129)"},
        {"basics", "Long address1234"},
        {"basics", "Address in useLong"},
        {"basics", "Speed steps28"},
        {"basics", "DirectionNormal"},
        {"basics", "Power conversionEnabled"},
        {"basics", "Acceleration8 (256 ms per speed step)"},
        {"basics", "Trimsforward 128, reverse \xE2\x80\x93"},
        {"basics", "Identifiers#1 7, #2 \xE2\x80\x93"},
        {"consist", "Consist address5"},
        {"consist", "Direction in consistReversed"},
        {"consist", "Functions activeF1, F3"},
        {"all-cvs", "29 38 Configuration Data #1"},
    };
    for (const auto& c : basics)
        EXPECT_NE(sheet.texts[c.section].find(c.words), std::string::npos)
            << c.section << ": " << c.words << " in " << sheet.texts[c.section];
    EXPECT_EQ(sheet.texts.count("accessory"), 0u); // no accessory CV is known

    std::vector<std::pair<int, int>> points;
    size_t setCells = 0;
    for (const auto& [name, attributes] : sheet.elements) {
        if (name == "circle" && xmlAttribute(attributes, "class") == "step")
            points.push_back({std::stoi(xmlAttribute(attributes, "cx")),
                              std::stoi(xmlAttribute(attributes, "cy"))});
        setCells += name == "td" && xmlAttribute(attributes, "class") == "set";
        EXPECT_NE(name, "script");
        EXPECT_NE(name, "img");
        EXPECT_NE(name, "link");
        EXPECT_EQ(xmlAttribute(attributes, "src"), "");
        EXPECT_EQ(xmlAttribute(attributes, "href"), "");
    }
    ASSERT_EQ(points.size(), 28u);
    for (int step = 1; step <= 28; ++step) {
        EXPECT_EQ(points[step - 1].first, speedChartStepWidth * step);
        EXPECT_EQ(points[step - 1].second, 255 - (step * 9 + (step == 28 ? 3 : 0))) << step;
    }
    EXPECT_EQ(setCells, 1u + 1 + 8); // CV 33, CV 35 and the eight outputs of CV 41
    EXPECT_EQ(html.find("url("), std::string::npos);
}

TEST(DecoderSheet, AnEmptyDecoderStillMakesAWholePage) {
    SheetReader sheet;
    ASSERT_EQ(readXml(decoderSheetHtml(DecoderFileContent()), sheet), "");
    EXPECT_EQ(sheet.texts["decoder-name"], "Decoder sheet");
    EXPECT_NE(sheet.texts["speed-table"].find("No speed table values are known."),
              std::string::npos);
    EXPECT_NE(sheet.texts["all-cvs"].find("No CV values are known."), std::string::npos);
    for (const auto& element : sheet.elements)
        EXPECT_NE(element.first, "circle");
}

} // namespace
