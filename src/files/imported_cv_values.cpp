#include "files/imported_cv_values.h"

#include "foundation/decimal_text.h"
#include "stations/station_manager.h"

namespace {

constexpr size_t quotedLimit = 24;

} // namespace

std::string atLine(size_t line, const std::string& text) {
    return "Line " + std::to_string(line) + ": " + text;
}

std::string quoted(const std::string& text) {
    std::string shown = "'";
    for (size_t i = 0; i < text.size() && i < quotedLimit; ++i)
        shown += text[i] >= ' ' && text[i] <= '~' ? text[i] : '?';
    return shown + (text.size() > quotedLimit ? "...'" : "'");
}

std::string takeCvValue(DecoderFileContent& content, const std::string& cv,
                        const std::string& value, size_t line) {
    long number = 0;
    long byte = 0;
    if (!plainDecimal(cv, highestCv, &number) || number < lowestCv)
        return atLine(line, "the CV " + quoted(cv) + " is not a number from 1 to 1024");
    if (!plainDecimal(value, 255, &byte))
        return atLine(line, "the value " + quoted(value) + " of CV " + std::to_string(number) +
                                " is not a number from 0 to 255");
    int32_t& entry = content.entries[number - 1];
    if (entry != unknownCvEntry && entry != byte)
        return atLine(line, "CV " + std::to_string(number) + " is given the value " +
                                std::to_string(byte) + " after the value " + std::to_string(entry));
    entry = static_cast<int32_t>(byte);
    return {};
}
