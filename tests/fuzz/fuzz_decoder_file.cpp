// Fuzz target of the decoder file reader: any bytes must be refused with a message or read;
// whatever is read, the writer must write so that it reads back the same.
#include <cstdint>
#include <cstdlib>

#include "files/decoder_file_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecoderFileContent content;
    if (decodeDecoderFile(data, size, content, nullptr) != nullptr)
        return 0;
    const std::vector<uint8_t> written = encodeDecoderFile(content, nullptr);
    DecoderFileContent again;
    if (decodeDecoderFile(written.data(), written.size(), again, nullptr) != nullptr ||
        again.entries != content.entries)
        std::abort();
    for (int i = 0; i < decoderTextCount; ++i)
        if (again.texts[i] != content.texts[i])
            std::abort();
    return 0;
}
