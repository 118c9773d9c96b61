#include "files/jmri_roster_reader.h"

#include "files/imported_cv_values.h"
#include "files/xml_reader.h"
#include "foundation/windows_1252.h"

namespace {

// Follows the elements down to the first locomotive's values.
class RosterHandler : public XmlHandler {
  public:
    RosterHandler(DecoderFileContent& content, size_t& skipped)
        : content_(content), skipped_(skipped) {}

    std::string startElement(const std::string& name, const XmlAttributes& attributes,
                             size_t line) override {
        ++depth_;
        if (name == "locomotive" && !locomotiveSeen_) {
            locomotiveSeen_ = true;
            locomotiveDepth_ = depth_;
            return texts(attributes, line);
        } else if (name == "values" && locomotiveDepth_ != 0 && depth_ == locomotiveDepth_ + 1) {
            valuesDepth_ = depth_;
        } else if (name == "CVvalue" && valuesDepth_ != 0 && depth_ == valuesDepth_ + 1) {
            return cvValue(attributes, line);
        }
        return {};
    }

    void endElement(const std::string&) override {
        if (depth_ == valuesDepth_)
            valuesDepth_ = 0;
        if (depth_ == locomotiveDepth_)
            locomotiveDepth_ = 0;
        --depth_;
    }

    void text(const std::string&) override {}

    bool locomotiveSeen() const { return locomotiveSeen_; }

  private:
    // A text the decoder file's code page cannot hold refuses the file, as it does in the CLI:
    // a name that loads changed would be worse.
    std::string texts(const XmlAttributes& attributes, size_t line) {
        const std::pair<DecoderText, const char*> taken[] = {
            {decoderNameText, "id"}, {ownerText, "owner"}, {notesText, "comment"}};
        for (const auto& [text, attribute] : taken) {
            std::string ansi, refused;
            if (!windows1252FromUtf8(xmlAttribute(attributes, attribute), ansi, refused))
                return "Line " + std::to_string(line) + ": " + refused;
            // The notes box breaks lines with CR LF.
            std::string& kept = content_.texts[text];
            for (char c : ansi) {
                if (c == '\n' && (kept.empty() || kept.back() != '\r'))
                    kept += '\r';
                kept += c;
            }
        }
        return {};
    }

    std::string cvValue(const XmlAttributes& attributes, size_t line) {
        const std::string name = xmlAttribute(attributes, "name");
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
            ++skipped_;
            return {};
        }
        return takeCvValue(content_, name, xmlAttribute(attributes, "value"), line);
    }

    DecoderFileContent& content_;
    size_t& skipped_;
    size_t depth_ = 0;
    size_t locomotiveDepth_ = 0;
    size_t valuesDepth_ = 0;
    bool locomotiveSeen_ = false;
};

} // namespace

std::string readJmriRoster(const uint8_t* bytes, size_t size, DecoderFileContent& content,
                           size_t& skipped) {
    skipped = 0;
    RosterHandler handler(content, skipped);
    const std::string error =
        readXml(std::string(reinterpret_cast<const char*>(bytes), size), handler);
    if (!error.empty())
        return error;
    if (!handler.locomotiveSeen())
        return "Not a JMRI roster entry: it holds no locomotive";
    return {};
}
