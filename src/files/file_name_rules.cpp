#include "files/file_name_rules.h"

#include <cstring>

std::string cleanFileName(const std::string& decoderName) {
    std::string cleaned;
    for (char c : decoderName) {
        const bool letterOrDigit =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        if (letterOrDigit || (c != '\0' && std::strchr("_-(){}", c)))
            cleaned += c;
    }
    return cleaned;
}
