#include "files/cv_list_file.h"

#include <cctype>
#include <vector>

#include "files/imported_cv_values.h"

namespace {

constexpr char header[] = "CV,value";
constexpr char utf8ByteOrderMark[] = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Without blanks around it, nor the quotes a spreadsheet may put around a field.
std::string field(const std::string& text) {
    size_t first = 0;
    size_t end = text.size();
    while (first < end && isBlank(text[first]))
        ++first;
    while (end > first && isBlank(text[end - 1]))
        --end;
    if (end - first >= 2 && text[first] == '"' && text[end - 1] == '"') {
        ++first;
        --end;
    }
    return text.substr(first, end - first);
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> found;
    size_t start = 0;
    for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
        found.push_back(field(line.substr(start, comma - start)));
    found.push_back(field(line.substr(start)));
    return found;
}

// Every form JMRI has written: "CV,value", "CV, value", "\"CV, value\"", in any case; a
// spreadsheet may add a column.
bool isHeader(const std::string& line) {
    std::string bare;
    for (char c : line)
        if (!isBlank(c) && c != '"')
            bare += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return bare.compare(0, 8, "cv,value") == 0 && (bare.size() == 8 || bare[8] == ',');
}

} // namespace

std::string readCvList(const uint8_t* bytes, size_t size, DecoderFileContent& content) {
    std::string text(reinterpret_cast<const char*>(bytes), size);
    if (text.compare(0, 3, utf8ByteOrderMark) == 0)
        text.erase(0, 3);
    bool first = true;
    size_t number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find('\0') != std::string::npos)
            return atLine(number, "a NUL byte: this is not a text file");
        if (field(line).empty())
            continue;
        const bool headerPlace = first;
        first = false;
        if (headerPlace && isHeader(line))
            continue;
        const std::vector<std::string> values = fields(line);
        if (values.size() < 2) {
            if (headerPlace)
                return atLine(number, "not a Velquist decoder file, nor a CV list beginning " +
                                          std::string(header) + ", nor a JMRI roster entry");
            return atLine(number, "expected CV,value but found " + quoted(line));
        }
        std::string error = takeCvValue(content, values[0], values[1], number);
        if (!error.empty())
            return error;
    }
    return {};
}

std::string writeCvList(const DecoderFileContent& content) {
    std::string text = std::string(header) + "\r\n";
    for (size_t i = 0; i < content.entries.size(); ++i)
        if (content.entries[i] != unknownCvEntry)
            text += std::to_string(i + 1) + "," + std::to_string(content.entries[i]) + "\r\n";
    return text;
}
