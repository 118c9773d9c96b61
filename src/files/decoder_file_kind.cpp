#include "files/decoder_file_kind.h"

DecoderFileKind decoderFileKindOf(const uint8_t* bytes, size_t size) {
    if (size >= 4 && bytes[1] == 0 && bytes[2] == 0 && bytes[3] == 0)
        return DecoderFileKind::velquist;
    size_t at = size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF ? 3 : 0;
    while (at < size &&
           (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n'))
        ++at;
    return at < size && bytes[at] == '<' ? DecoderFileKind::jmriRoster : DecoderFileKind::cvList;
}
