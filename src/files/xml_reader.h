// A small XML reader for the files other programs write: elements with their attributes, text,
// CDATA, comments, processing instructions and a document type, in UTF-8. Entities are the five
// predefined ones and character references; a document type's own declarations are skipped, not
// used. Every fault is reported with its line, and nothing is read past the first.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

using XmlAttributes = std::vector<std::pair<std::string, std::string>>;

class XmlHandler {
  public:
    virtual ~XmlHandler() = default;
    // Empty to read on, else the message that ends the reading.
    virtual std::string startElement(const std::string& name, const XmlAttributes& attributes,
                                     size_t line) = 0;
    virtual void endElement(const std::string& name) = 0;
    // Character data of an element, entities decoded, in pieces.
    virtual void text(const std::string& text) = 0;
};

// Deeper nesting is refused: no file of the hobby comes near it.
constexpr size_t xmlDepthLimit = 256;

// The value of an attribute, or empty.
std::string xmlAttribute(const XmlAttributes& attributes, const char* name);

// Empty when the whole document was read, else "Line N: " and what is wrong.
std::string readXml(const std::string& document, XmlHandler& handler);
