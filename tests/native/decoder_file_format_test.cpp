#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/decoder_file_format.h"
#include "station_fakes.h"

namespace {

using Bytes = std::string;

Bytes word(uint32_t value) {
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

const Bytes head = Bytes("\x08\0\0\0Quorvane\x01\0\0\0\x0b\0\0\0", 20) + "14:19:53:12";
const Bytes unknownBlock(4096, '\xff');
const Bytes trailer("\x08\0\0\0Quorvane", 12);

Bytes texts(const Bytes& name, const Bytes& owner, const Bytes& notes) {
    return word(name.size()) + name + word(owner.size()) + owner + word(notes.size()) + notes;
}

Bytes encoded(const DecoderFileContent& content, FileProgress* progress = nullptr) {
    std::vector<uint8_t> bytes = encodeDecoderFile(content, progress);
    return Bytes(bytes.begin(), bytes.end());
}

const char* decode(const Bytes& bytes, DecoderFileContent& content,
                   FileProgress* progress = nullptr) {
    return decodeDecoderFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), content,
                             progress);
}

class RecordedProgress : public FileProgress {
  public:
    void reached(uint32_t position) override { positions.push_back(position); }
    void abandon() override { abandoned = true; }
    std::vector<uint32_t> positions;
    bool abandoned = false;
};

TEST(DecoderFileFormat, EmptyFileIsTheHeadUnknownEntriesThreeZeroLengthsAndTheTrailer) {
    const Bytes bytes = encoded(DecoderFileContent());
    EXPECT_EQ(bytes.size(), 4151u);
    EXPECT_EQ(bytes, head + unknownBlock + Bytes(12, '\0') + trailer);
}

TEST(DecoderFileFormat, WritesValuesAndTextsAsTheyAreAndReadsThemBack) {
    DecoderFileContent content;
    content.entries[0] = 3;    // CV 1
    content.entries[28] = 255; // CV 29
    content.entries[1023] = 0; // CV 1024
    content.texts[decoderNameText] = "GP9 #1234";
    content.texts[notesText] = "line one\r\nZ\xfcrich \xa7";
    const Bytes bytes = encoded(content);
    Bytes block = unknownBlock;
    block.replace(0, 4, word(3));
    block.replace(28 * 4, 4, word(255));
    block.replace(1023 * 4, 4, word(0));
    EXPECT_EQ(bytes, head + block + texts("GP9 #1234", "", "line one\r\nZ\xfcrich \xa7") + trailer);

    DecoderFileContent read;
    read.texts[ownerText] = "left from before";
    ASSERT_EQ(decode(bytes + "extra bytes after the trailer", read), nullptr);
    EXPECT_EQ(read.entries, content.entries);
    for (int i = 0; i < decoderTextCount; ++i)
        EXPECT_EQ(read.texts[i], content.texts[i]); // a length of 0 empties the text
}

TEST(DecoderFileFormat, WriterCutsTextsTheReaderWouldRefuse) {
    DecoderFileContent content;
    content.texts[ownerText] = std::string(5000, 'o');
    DecoderFileContent read;
    ASSERT_EQ(decode(encoded(content), read), nullptr);
    EXPECT_EQ(read.texts[ownerText], std::string(4095, 'o'));
}

TEST(DecoderFileFormat, RefusesEachBrokenFieldWithItsMessage) {
    const Bytes body = texts("a", "b", "c") + trailer;
    Bytes bigEntry = unknownBlock;
    bigEntry.replace(40, 4, word(256));
    Bytes negativeEntry = unknownBlock;
    negativeEntry.replace(4092, 4, word(static_cast<uint32_t>(-2)));
    const struct {
        const char* what;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"empty", "", notVelquistFileText},
        {"magic length 120", word(120) + head.substr(4) + unknownBlock + body, notVelquistFileText},
        {"magic length 100", word(100) + "Quorvane" + Bytes(92, '\0') + head.substr(12),
         notVelquistFileText},
        {"magic mismatch", head.substr(0, 11) + "x" + head.substr(12) + unknownBlock + body,
         notVelquistFileText},
        {"version 2", head.substr(0, 12) + word(2) + head.substr(16) + unknownBlock + body,
         notVelquistFileText},
        {"build text length 4097", head.substr(0, 16) + word(4097) + Bytes(4097, 'b'),
         notVelquistFileText},
        {"short build text", head.substr(0, 25), notVelquistFileText},
        {"entry 256", head + bigEntry + body, fileCorruptedText},
        {"entry -2", head + negativeEntry + body, fileCorruptedText},
        {"name length 4096", head + unknownBlock + word(4096) + Bytes(4096, 'n'),
         fileCorruptedText},
        {"negative owner length", head + unknownBlock + word(0) + word(0xffffffff),
         fileCorruptedText},
        {"trailer length 4097",
         head + unknownBlock + texts("", "", "") + word(4097) + "Quorvane" + Bytes(4089, '\0'),
         fileCorruptedText},
        {"trailer mismatch", head + unknownBlock + texts("", "", "") + word(8) + "Quorvant",
         fileCorruptedText},
    };
    for (const auto& c : cases) {
        DecoderFileContent content;
        const char* message = decode(c.bytes, content);
        EXPECT_STREQ(message ? message : "accepted", c.message) << c.what;
    }
}

TEST(DecoderFileFormat, RefusesAFileCutAtAnyOffset) {
    DecoderFileContent content;
    content.entries[6] = 11;
    content.texts[decoderNameText] = "name";
    content.texts[notesText] = "notes";
    const Bytes bytes = encoded(content);
    for (size_t size = 0; size < bytes.size(); ++size) {
        DecoderFileContent read;
        const char* message = decode(bytes.substr(0, size), read);
        EXPECT_STREQ(message ? message : "accepted",
                     size < head.size() ? notVelquistFileText : fileCorruptedText)
            << "cut at " << size;
    }
}

TEST(DecoderFileFormat, MagicsCompareAsStrncmpAndBuildTextsAreNotRead) {
    const Bytes tail = unknownBlock + texts("", "", "");
    const struct {
        const char* what;
        Bytes bytes;
    } accepted[] = {
        {"magics of length 0", word(0) + head.substr(12) + tail + word(0)},
        {"magics cut short", word(4) + "Quor" + head.substr(12) + tail + word(3) + "Quo"},
        {"magic ended by a zero", word(12) + Bytes("Quorvane\0xyz", 12) + head.substr(12) + tail +
                                      word(4096) + "Quorvane" + Bytes(4088, '\0')},
        {"any build text", head.substr(0, 16) + word(4096) + Bytes(4096, '\x01') + tail + trailer},
    };
    for (const auto& c : accepted) {
        DecoderFileContent content;
        EXPECT_EQ(decode(c.bytes, content), nullptr) << c.what;
    }
}

TEST(DecoderFileFormat, ProgressFollowsTheFieldsAndPausesAfterTheBlock) {
    RecordedPauses pauses;
    RecordedProgress writing;
    const Bytes bytes = encoded(DecoderFileContent(), &writing);
    EXPECT_EQ(writing.positions, (std::vector<uint32_t>{10, 20, 40, 50, 60, 70, 80, 90}));
    EXPECT_EQ(pauses.list(), (std::vector<unsigned>{50}));

    pauses.list().clear();
    RecordedProgress reading;
    DecoderFileContent content;
    ASSERT_EQ(decode(bytes, content, &reading), nullptr);
    EXPECT_EQ(reading.positions, (std::vector<uint32_t>{20, 60, 70, 80, 90}));
    EXPECT_EQ(pauses.list(), (std::vector<unsigned>{50}));

    pauses.list().clear();
    RecordedProgress corrupted;
    decode(head + Bytes(4096, '\x7f'), content, &corrupted);
    EXPECT_EQ(corrupted.positions, (std::vector<uint32_t>{20}));
    EXPECT_TRUE(pauses.list().empty());
}

} // namespace
