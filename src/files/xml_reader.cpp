#include "files/xml_reader.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "files/imported_cv_values.h"
#include "foundation/windows_1252.h"

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == ':' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isNameChar(char c) {
    return isNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '.';
}

class Reader {
  public:
    Reader(const std::string& document, XmlHandler& handler) : text_(document), handler_(handler) {}

    std::string read() {
        if (text_.compare(0, 3, "\xEF\xBB\xBF") == 0)
            at_ = 3;
        const size_t bad = utf8ErrorOffset(text_);
        if (bad != std::string::npos)
            return atLine(lineAt(bad), "the text is not UTF-8");
        for (size_t i = 0; i < text_.size(); ++i) {
            const unsigned char c = static_cast<unsigned char>(text_[i]);
            if (c < ' ' && !isSpace(static_cast<char>(c)))
                return atLine(lineAt(i), "a control character (" + std::to_string(c) +
                                             ") where XML allows none");
        }
        while (at_ < text_.size() && error_.empty())
            step();
        if (!error_.empty())
            return error_;
        if (!open_.empty())
            return atLine(line_, "the element " + quoted(open_.back().first) + " opened on line " +
                                     std::to_string(open_.back().second) + " is not closed");
        if (!rootSeen_)
            return atLine(line_, "no element: this is not XML");
        return {};
    }

  private:
    size_t lineAt(size_t offset) const {
        size_t line = 1;
        for (size_t i = 0; i < offset; ++i)
            line += text_[i] == '\n';
        return line;
    }

    bool startsWith(const char* word) const {
        return text_.compare(at_, std::strlen(word), word) == 0;
    }

    void fail(const std::string& what) {
        if (error_.empty())
            error_ = atLine(line_, what);
    }

    // Moves on to just after the end mark; false (with the message) when it never comes.
    bool skipPast(const char* end, const char* what) {
        const size_t found = text_.find(end, at_);
        if (found == std::string::npos) {
            fail(std::string(what) + " is not closed");
            return false;
        }
        advanceTo(found + std::strlen(end));
        return true;
    }

    void advanceTo(size_t to) {
        for (; at_ < to; ++at_)
            line_ += text_[at_] == '\n';
    }

    void skipSpace() {
        while (at_ < text_.size() && isSpace(text_[at_]))
            advanceTo(at_ + 1);
    }

    std::string name() {
        const size_t start = at_;
        if (at_ < text_.size() && isNameStart(text_[at_]))
            while (at_ < text_.size() && isNameChar(text_[at_]))
                ++at_;
        return text_.substr(start, at_ - start);
    }

    // "&...;" at at_, appended decoded; false (with the message) for any other.
    bool entity(std::string& out) {
        const size_t end = text_.find(';', at_);
        if (end == std::string::npos || end - at_ > 12) {
            fail("a lone '&': write it as &amp;");
            return false;
        }
        const std::string body = text_.substr(at_ + 1, end - at_ - 1);
        static const char* const names[][2] = {
            {"lt", "<"}, {"gt", ">"}, {"amp", "&"}, {"quot", "\""}, {"apos", "'"}};
        for (const auto& named : names) {
            if (body == named[0]) {
                out += named[1];
                advanceTo(end + 1);
                return true;
            }
        }
        const bool hex = body.size() > 2 && body[0] == '#' && body[1] == 'x';
        const std::string digits = body.size() < 2 ? "" : body.substr(hex ? 2 : 1);
        const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
        if (body.size() < 2 || body[0] != '#' || digits.empty() ||
            digits.find_first_not_of(allowed) != std::string::npos) {
            fail("the entity " + quoted("&" + body + ";") + " is not one XML knows");
            return false;
        }
        const unsigned long codePoint = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
        const bool control =
            codePoint < ' ' && codePoint != '\t' && codePoint != '\n' && codePoint != '\r';
        if (control || codePoint == 0xFFFE || codePoint == 0xFFFF || !appendUtf8(codePoint, out)) {
            fail("the character reference " + quoted("&" + body + ";") + " names no character");
            return false;
        }
        advanceTo(end + 1);
        return true;
    }

    bool attributeValue(std::string& value) {
        const char quote = at_ < text_.size() ? text_[at_] : '\0';
        if (quote != '"' && quote != '\'') {
            fail("an attribute value must be in quotes");
            return false;
        }
        advanceTo(at_ + 1);
        while (at_ < text_.size() && text_[at_] != quote) {
            const char c = text_[at_];
            if (c == '<') {
                fail("a '<' inside an attribute value");
                return false;
            }
            if (c == '&') {
                if (!entity(value))
                    return false;
                continue;
            }
            // Line breaks and tabs written as they are count as blanks; only references keep them.
            value += isSpace(c) ? ' ' : c;
            advanceTo(at_ + 1);
        }
        if (at_ >= text_.size()) {
            fail("an attribute value is not closed");
            return false;
        }
        advanceTo(at_ + 1);
        return true;
    }

    void startTag() {
        const size_t line = line_;
        advanceTo(at_ + 1);
        const std::string element = name();
        if (element.empty())
            return fail("a '<' that starts no element: write it as &lt;");
        if (open_.empty() && rootSeen_)
            return fail("a second root element " + quoted(element));
        XmlAttributes attributes;
        for (;;) {
            const size_t before = at_;
            skipSpace();
            if (startsWith("/>") || startsWith(">"))
                break;
            // Attributes stand apart from the name and from each other.
            const bool spaced = at_ > before;
            const std::string attribute = name();
            if (attribute.empty() || !spaced)
                return fail("the element " + quoted(element) + " is not written right");
            skipSpace();
            if (!startsWith("="))
                return fail("the attribute " + quoted(attribute) + " has no value");
            advanceTo(at_ + 1);
            skipSpace();
            std::string value;
            if (!attributeValue(value))
                return;
            for (const auto& given : attributes)
                if (given.first == attribute)
                    return fail("the attribute " + quoted(attribute) + " is given twice");
            attributes.emplace_back(attribute, value);
        }
        const bool empty = startsWith("/>");
        advanceTo(at_ + (empty ? 2 : 1));
        if (open_.size() >= xmlDepthLimit)
            return fail("elements nested deeper than " + std::to_string(xmlDepthLimit));
        rootSeen_ = true;
        const std::string refused = handler_.startElement(element, attributes, line);
        if (!refused.empty()) {
            error_ = refused;
            return;
        }
        if (empty)
            close(element);
        else
            open_.emplace_back(element, line);
    }

    void endTag() {
        advanceTo(at_ + 2);
        const std::string element = name();
        skipSpace();
        if (!startsWith(">"))
            return fail("the end tag of " + quoted(element) + " is not written right");
        advanceTo(at_ + 1);
        if (open_.empty() || open_.back().first != element)
            return fail("the end tag of " + quoted(element) + " closes " +
                        (open_.empty() ? std::string("no element") : quoted(open_.back().first)));
        open_.pop_back();
        close(element);
    }

    void close(const std::string& element) { handler_.endElement(element); }

    void characters() {
        std::string decoded;
        while (at_ < text_.size() && text_[at_] != '<') {
            if (text_[at_] == '&') {
                if (!entity(decoded))
                    return;
                continue;
            }
            if (open_.empty() && !isSpace(text_[at_]))
                return fail("text outside the root element");
            decoded += text_[at_];
            advanceTo(at_ + 1);
        }
        if (open_.empty() && decoded.find_first_not_of(" \t\r\n") != std::string::npos)
            return fail("text outside the root element");
        if (!open_.empty())
            handler_.text(decoded);
    }

    // A document type: its declarations in brackets are passed over.
    void documentType() {
        if (rootSeen_)
            return fail("a document type after the root element");
        int depth = 0;
        char quote = '\0';
        for (advanceTo(at_ + 2); at_ < text_.size(); advanceTo(at_ + 1)) {
            const char c = text_[at_];
            if (quote) {
                quote = c == quote ? '\0' : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '[') {
                ++depth;
            } else if (c == ']') {
                --depth;
            } else if (c == '>' && depth <= 0) {
                advanceTo(at_ + 1);
                return;
            }
        }
        fail("the document type is not closed");
    }

    void step() {
        if (text_[at_] != '<')
            return characters();
        if (startsWith("<?"))
            skipPast("?>", "a processing instruction");
        else if (startsWith("<!--"))
            skipPast("-->", "a comment");
        else if (startsWith("<![CDATA[")) {
            if (open_.empty())
                return fail("CDATA outside the root element");
            const size_t start = at_ + 9;
            if (skipPast("]]>", "a CDATA section"))
                handler_.text(text_.substr(start, at_ - 3 - start));
        } else if (startsWith("<!DOCTYPE"))
            documentType();
        else if (startsWith("</"))
            endTag();
        else
            startTag();
    }

    const std::string& text_;
    XmlHandler& handler_;
    size_t at_ = 0;
    size_t line_ = 1;
    std::string error_;
    // Open elements with the line each opened on.
    std::vector<std::pair<std::string, size_t>> open_;
    bool rootSeen_ = false;
};

} // namespace

std::string xmlAttribute(const XmlAttributes& attributes, const char* name) {
    for (const auto& attribute : attributes)
        if (attribute.first == name)
            return attribute.second;
    return {};
}

std::string readXml(const std::string& document, XmlHandler& handler) {
    return Reader(document, handler).read();
}
