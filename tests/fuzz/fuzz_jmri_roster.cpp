// Fuzz target of the roster entry reader and the XML reader under it: any bytes must be refused
// with a message or read; whatever is read holds only CVs 1 to 1024 with values 0 to 255 and
// goes through a CV list unchanged.
#include <cstdint>
#include <cstdlib>

#include "files/cv_list_file.h"
#include "files/jmri_roster_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecoderFileContent content;
    size_t skipped = 0;
    const std::string error = readJmriRoster(data, size, content, skipped);
    // Each skipped entry is an element of its own in the input.
    if (skipped > size)
        std::abort();
    if (!error.empty())
        return 0;
    for (int32_t entry : content.entries)
        if (entry < unknownCvEntry || entry > 255)
            std::abort();
    const std::string list = writeCvList(content);
    DecoderFileContent again;
    if (!readCvList(reinterpret_cast<const uint8_t*>(list.data()), list.size(), again).empty() ||
        again.entries != content.entries)
        std::abort();
    return 0;
}
