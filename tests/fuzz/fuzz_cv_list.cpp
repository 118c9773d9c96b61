// Fuzz target of the CV list reader: any bytes must be refused with a message or read; whatever
// is read, the writer must write so that it reads back the same.
#include <cstdint>
#include <cstdlib>

#include "files/cv_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecoderFileContent content;
    if (!readCvList(data, size, content).empty())
        return 0;
    const std::string written = writeCvList(content);
    DecoderFileContent again;
    if (!readCvList(reinterpret_cast<const uint8_t*>(written.data()), written.size(), again)
             .empty() ||
        again.entries != content.entries)
        std::abort();
    return 0;
}
