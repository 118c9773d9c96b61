#include "files/decoder_file_transfer.h"

#include <cctype>

#include "files/cv_list_file.h"
#include "files/file_access.h"
#include "files/imported_cv_values.h"
#include "files/jmri_roster_reader.h"
#include "foundation/pause.h"

const char cannotWriteFileText[] = "Cannot write file";
const char cannotOpenFileText[] = "Cannot open file";
const char emptyFileText[] = "The file is empty";
const char fileTooLargeText[] = "The file is larger than 1 MB";

namespace {

// Longest file that is read: far beyond any real one of the three kinds.
constexpr size_t loadedFileSizeLimit = 1024 * 1024;
// Lets the abandoned bar be seen before it closes.
constexpr unsigned failurePauseMs = 333;

const char* fail(FileProgress* progress, const char* text) {
    if (progress) {
        progress->abandon();
        pauseFor(failurePauseMs);
    }
    return text;
}

void report(FileProgress* progress, uint32_t position) {
    if (progress)
        progress->reached(position);
}

std::vector<uint8_t> cvListBytes(const DecoderFileContent& content, FileProgress* progress) {
    const std::string text = writeCvList(content);
    report(progress, 90);
    return {text.begin(), text.end()};
}

// Reads what another program wrote; the decoder file's reader reports its own positions.
std::string decode(const std::vector<uint8_t>& bytes, DecoderFileLoad& load,
                   DecoderFileContent& content, FileProgress* progress) {
    if (load.kind == DecoderFileKind::velquist) {
        const char* error = decodeDecoderFile(bytes.data(), bytes.size(), content, progress);
        return error ? error : "";
    }
    report(progress, 20);
    const std::string error =
        load.kind == DecoderFileKind::cvList
            ? readCvList(bytes.data(), bytes.size(), content)
            : readJmriRoster(bytes.data(), bytes.size(), content, load.skippedCvEntries);
    report(progress, 90);
    return error;
}

} // namespace

std::string savingPathFor(const std::string& path) {
    return path + ".saving";
}

bool namesCvList(const std::string& path) {
    if (path.size() < 4)
        return false;
    std::string ending = path.substr(path.size() - 4);
    for (char& c : ending)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ending == ".csv";
}

std::string skippedEntriesText(size_t count) {
    return std::to_string(count) + (count == 1 ? " CV entry was" : " CV entries were") +
           " skipped: indexed CVs, named like 16.3.257, are not loaded from roster entries";
}

const char* saveFileBytes(const std::string& path, const std::vector<uint8_t>& bytes,
                          FileProgress* progress) {
    FileAccess& files = fileAccess();
    const std::string saving = savingPathFor(path);
    std::unique_ptr<OutputFile> file = files.create(saving);
    if (!file)
        return fail(progress, cannotWriteFileText);
    if (file->write(bytes.data(), bytes.size()) && file->close() && files.replace(saving, path))
        return nullptr;
    file.reset();
    files.remove(saving);
    return fail(progress, cannotWriteFileText);
}

const char* saveDecoderFile(const std::string& path, const DecoderFileContent& content,
                            FileProgress* progress, bool asCvList) {
    return saveFileBytes(
        path, asCvList ? cvListBytes(content, progress) : encodeDecoderFile(content, progress),
        progress);
}

DecoderFileLoad loadDecoderFile(const std::string& path, DecoderFileContent& content,
                                FileProgress* progress) {
    DecoderFileLoad load;
    std::vector<uint8_t> bytes;
    // One byte more than allowed tells a file that is too large.
    if (!fileAccess().readStart(path, loadedFileSizeLimit + 1, bytes))
        load.error = cannotOpenFileText;
    else if (bytes.empty())
        load.error = emptyFileText;
    else if (bytes.size() > loadedFileSizeLimit)
        load.error = fileTooLargeText;
    if (load.error.empty()) {
        load.kind = decoderFileKindOf(bytes.data(), bytes.size());
        load.error = decode(bytes, load, content, progress);
    }
    if (!load.error.empty())
        fail(progress, nullptr);
    return load;
}
