#include "files/decoder_file_format.h"

#include "app/build_info.h"
#include "foundation/pause.h"

const char notVelquistFileText[] = "Not a Velquist file";
const char fileCorruptedText[] = "File corrupted";

namespace {

constexpr char magic[] = "Quorvane";
constexpr uint32_t magicLength = 8;
constexpr uint32_t formatVersion = 1;
constexpr uint32_t magicLengthLimit = 99;
constexpr uint32_t buildTextLimit = 4096;
constexpr uint32_t trailerLengthLimit = 4096;
// Lets the bar be seen between the CV block and the texts.
constexpr unsigned blockPauseMs = 50;

void report(FileProgress* progress, uint32_t position) {
    if (progress)
        progress->reached(position);
}

void settle(FileProgress* progress) {
    if (progress)
        pauseFor(blockPauseMs);
}

class Writer {
  public:
    void word(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<uint8_t>(value >> shift));
    }
    void text(const std::string& text) { bytes.insert(bytes.end(), text.begin(), text.end()); }
    std::vector<uint8_t> bytes;
};

class Reader {
  public:
    Reader(const uint8_t* bytes, size_t size) : at_(bytes), left_(size) {}

    bool word(uint32_t& value) {
        if (left_ < 4)
            return false;
        value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | at_[i];
        skip(4);
        return true;
    }
    bool text(uint32_t length, std::string& text) {
        if (left_ < length)
            return false;
        text.assign(reinterpret_cast<const char*>(at_), length);
        skip(length);
        return true;
    }
    // The magic compared as strncmp over length characters: equal up to the first difference
    // or the end of the magic.
    bool magicOf(uint32_t length) {
        std::string found;
        if (!text(length, found))
            return false;
        for (uint32_t i = 0; i < length; ++i) {
            const char expected = i < magicLength ? magic[i] : '\0';
            if (found[i] != expected)
                return false;
            if (expected == '\0')
                break;
        }
        return true;
    }

  private:
    void skip(size_t count) {
        at_ += count;
        left_ -= count;
    }
    const uint8_t* at_;
    size_t left_;
};

bool readHead(Reader& reader) {
    uint32_t length = 0;
    uint32_t version = 0;
    std::string build;
    return reader.word(length) && length <= magicLengthLimit && reader.magicOf(length) &&
           reader.word(version) && version == formatVersion && reader.word(length) &&
           length <= buildTextLimit && reader.text(length, build);
}

bool readEntries(Reader& reader, DecoderFileContent& content) {
    for (int32_t& entry : content.entries) {
        uint32_t word = 0;
        if (!reader.word(word))
            return false;
        entry = static_cast<int32_t>(word);
        if (entry < unknownCvEntry || entry > 255)
            return false;
    }
    return true;
}

} // namespace

std::vector<uint8_t> encodeDecoderFile(const DecoderFileContent& content, FileProgress* progress) {
    Writer writer;
    writer.word(magicLength);
    writer.text(magic);
    writer.word(formatVersion);
    const std::string build = buildText();
    writer.word(static_cast<uint32_t>(build.size()));
    report(progress, 10);
    writer.text(build);
    report(progress, 20);
    report(progress, 40);
    for (int32_t entry : content.entries)
        writer.word(static_cast<uint32_t>(entry));
    report(progress, 50);
    settle(progress);
    const uint32_t positions[decoderTextCount] = {60, 70, 80};
    for (int i = 0; i < decoderTextCount; ++i) {
        const std::string text = content.texts[i].substr(0, decoderFileTextLimit);
        writer.word(static_cast<uint32_t>(text.size()));
        writer.text(text);
        report(progress, positions[i]);
    }
    writer.word(magicLength);
    writer.text(magic);
    report(progress, 90);
    return writer.bytes;
}

const char* decodeDecoderFile(const uint8_t* bytes, size_t size, DecoderFileContent& content,
                              FileProgress* progress) {
    Reader reader(bytes, size);
    if (!readHead(reader))
        return notVelquistFileText;
    report(progress, 20);
    if (!readEntries(reader, content))
        return fileCorruptedText;
    report(progress, 60);
    settle(progress);
    for (int i = 0; i < decoderTextCount; ++i) {
        uint32_t length = 0;
        if (!reader.word(length) || length > decoderFileTextLimit ||
            !reader.text(length, content.texts[i]))
            return fileCorruptedText;
        if (i == ownerText)
            report(progress, 70);
        else if (i == notesText)
            report(progress, 80);
    }
    uint32_t trailerLength = 0;
    if (!reader.word(trailerLength) || trailerLength > trailerLengthLimit ||
        !reader.magicOf(trailerLength))
        return fileCorruptedText;
    report(progress, 90);
    return nullptr;
}
