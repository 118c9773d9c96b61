#include "files/decoder_file_transfer.h"

#include "files/file_access.h"
#include "foundation/pause.h"

const char cannotWriteFileText[] = "Cannot write file";
const char cannotOpenFileText[] = "Cannot open file";

namespace {

// Lets the abandoned bar be seen before it closes.
constexpr unsigned failurePauseMs = 333;

const char* fail(FileProgress* progress, const char* text) {
    if (progress) {
        progress->abandon();
        pauseFor(failurePauseMs);
    }
    return text;
}

} // namespace

std::string savingPathFor(const std::string& path) {
    return path + ".saving";
}

const char* saveDecoderFile(const std::string& path, const DecoderFileContent& content,
                            FileProgress* progress) {
    FileAccess& files = fileAccess();
    const std::string saving = savingPathFor(path);
    std::unique_ptr<OutputFile> file = files.create(saving);
    if (!file)
        return fail(progress, cannotWriteFileText);
    const std::vector<uint8_t> bytes = encodeDecoderFile(content, progress);
    if (file->write(bytes.data(), bytes.size()) && file->close() && files.replace(saving, path))
        return nullptr;
    file.reset();
    files.remove(saving);
    return fail(progress, cannotWriteFileText);
}

const char* loadDecoderFile(const std::string& path, DecoderFileContent& content,
                            FileProgress* progress) {
    std::vector<uint8_t> bytes;
    if (!fileAccess().readStart(path, decoderFileReadLimit, bytes))
        return fail(progress, cannotOpenFileText);
    const char* error = decodeDecoderFile(bytes.data(), bytes.size(), content, progress);
    return error ? fail(progress, error) : nullptr;
}
