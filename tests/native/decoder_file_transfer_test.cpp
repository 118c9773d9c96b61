#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>

#include "files/decoder_file_transfer.h"
#include "files/file_access.h"
#include "station_fakes.h"

namespace {

// Files in memory, with each operation able to fail as a full disk, a read-only target or a
// folder would make it.
class FakeFiles : public FileAccess {
  public:
    class File : public OutputFile {
      public:
        File(FakeFiles& files, std::string path) : files_(files), path_(std::move(path)) {}
        bool write(const uint8_t* bytes, size_t size) override {
            std::string& contents = files_.files[path_];
            const size_t room = files_.diskRoom - std::min(files_.diskRoom, contents.size());
            contents.append(reinterpret_cast<const char*>(bytes), std::min(size, room));
            return size <= room;
        }
        bool close() override { return !files_.closeFails; }

      private:
        FakeFiles& files_;
        std::string path_;
    };

    std::unique_ptr<OutputFile> create(const std::string& path) override {
        if (createFails)
            return nullptr;
        files[path].clear();
        return std::make_unique<File>(*this, path);
    }
    bool replace(const std::string& from, const std::string& to) override {
        if (replaceFails)
            return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void remove(const std::string& path) override { files.erase(path); }
    bool readStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) override {
        auto found = files.find(path);
        if (found == files.end())
            return false;
        bytes.assign(found->second.begin(),
                     found->second.begin() + std::min(limit, found->second.size()));
        return true;
    }

    std::map<std::string, std::string> files;
    size_t diskRoom = static_cast<size_t>(-1);
    bool createFails = false;
    bool closeFails = false;
    bool replaceFails = false;
};

class RecordedProgress : public FileProgress {
  public:
    void reached(uint32_t position) override { last = position; }
    void abandon() override { abandoned = true; }
    uint32_t last = 0;
    bool abandoned = false;
};

class DecoderFileTransferTest : public testing::Test {
  protected:
    DecoderFileTransferTest() { previous_ = setFileAccess(&files); }
    ~DecoderFileTransferTest() override { setFileAccess(previous_); }

    FakeFiles files;
    RecordedPauses pauses;

  private:
    FileAccess* previous_;
};

TEST_F(DecoderFileTransferTest, AFailedSaveKeepsTheOldFileAndLeavesNothingBehind) {
    DecoderFileContent content;
    content.texts[notesText] = "new";
    const struct {
        const char* what;
        void (*fault)(FakeFiles&);
    } faults[] = {
        {"target cannot be created", [](FakeFiles& f) { f.createFails = true; }},
        {"disk fills up", [](FakeFiles& f) { f.diskRoom = 4000; }},
        {"flush fails", [](FakeFiles& f) { f.closeFails = true; }},
        {"target read-only or a folder", [](FakeFiles& f) { f.replaceFails = true; }},
    };
    for (const auto& c : faults) {
        FakeFiles failing;
        failing.files["loco"] = "old";
        c.fault(failing);
        setFileAccess(&failing);
        pauses.list().clear();
        RecordedProgress progress;
        EXPECT_STREQ(saveDecoderFile("loco", content, &progress), cannotWriteFileText) << c.what;
        EXPECT_EQ(failing.files, (std::map<std::string, std::string>{{"loco", "old"}})) << c.what;
        EXPECT_TRUE(progress.abandoned);
        EXPECT_EQ(pauses.list().back(), 333u);
    }
    setFileAccess(&files);
}

TEST_F(DecoderFileTransferTest, SaveReplacesTheFileAndLoadReadsItBack) {
    files.files["loco"] = "old";
    DecoderFileContent content;
    content.entries[7] = 151;
    content.texts[ownerText] = "Ann";
    RecordedProgress progress;
    ASSERT_EQ(saveDecoderFile("loco", content, &progress), nullptr);
    EXPECT_EQ(files.files.size(), 1u);
    EXPECT_FALSE(progress.abandoned);

    DecoderFileContent read;
    ASSERT_EQ(loadDecoderFile("loco", read, &progress).error, "");
    EXPECT_EQ(read.entries, content.entries);
    EXPECT_EQ(read.texts[ownerText], "Ann");
    EXPECT_EQ(progress.last, 90u);
}

TEST_F(DecoderFileTransferTest, LoadFailuresAbandonTheBarWithTheirMessage) {
    files.files["empty"] = "";
    const struct {
        const char* path;
        const char* message;
    } cases[] = {{"missing", cannotOpenFileText}, {"empty", emptyFileText}};
    for (const auto& c : cases) {
        RecordedProgress progress;
        DecoderFileContent content;
        EXPECT_EQ(loadDecoderFile(c.path, content, &progress).error, c.message);
        EXPECT_TRUE(progress.abandoned);
    }
}

// The kind comes from the content, whatever the name; any failure leaves the bar abandoned.
TEST_F(DecoderFileTransferTest, LoadsEachKindByItsContentWholeOrNotAtAll) {
    DecoderFileContent saved;
    saved.entries[28] = 34;
    saved.texts[ownerText] = "Ann";
    ASSERT_EQ(saveDecoderFile("velquist.csv", saved, nullptr), nullptr);
    ASSERT_EQ(saveDecoderFile("list.vqd", saved, nullptr, true), nullptr);
    EXPECT_EQ(files.files["list.vqd"], "CV,value\r\n29,34\r\n");
    files.files["roster"] = "\xEF\xBB\xBF <locomotive owner=\"Bo\"><values><CVvalue name=\"1\" "
                            "value=\"3\"/><CVvalue name=\"16.3.257\" value=\"1\"/></values>"
                            "</locomotive>";
    files.files["large"] = "CV,value\n" + std::string(1024 * 1024, '\n');
    files.files["largest"] = files.files["large"].substr(0, 1024 * 1024);
    files.files["garbage"] = std::string("\x7F\x01\x02\x03\x04", 5);
    files.files["short velquist"] = std::string("\x08\0\0\0Quor", 8);
    const struct {
        const char* path;
        DecoderFileKind kind;
        std::string error;
        int cv;
        int32_t entry;
        std::string owner;
        size_t skipped;
    } cases[] = {
        {"velquist.csv", DecoderFileKind::velquist, "", 29, 34, "Ann", 0},
        {"list.vqd", DecoderFileKind::cvList, "", 29, 34, "", 0},
        {"roster", DecoderFileKind::jmriRoster, "", 1, 3, "Bo", 1},
        {"largest", DecoderFileKind::cvList, "", 1, unknownCvEntry, "", 0},
        {"large", DecoderFileKind::velquist, fileTooLargeText, 1, unknownCvEntry, "", 0},
        {"garbage", DecoderFileKind::cvList,
         "Line 1: not a Velquist decoder file, nor a CV list beginning CV,value, nor a JMRI "
         "roster entry",
         1, unknownCvEntry, "", 0},
        {"short velquist", DecoderFileKind::velquist, notVelquistFileText, 1, unknownCvEntry, "",
         0},
    };
    for (const auto& c : cases) {
        RecordedProgress progress;
        DecoderFileContent content;
        const DecoderFileLoad load = loadDecoderFile(c.path, content, &progress);
        EXPECT_EQ(load.error, c.error) << c.path;
        EXPECT_EQ(progress.abandoned, !c.error.empty()) << c.path;
        if (!c.error.empty())
            continue;
        EXPECT_EQ(load.kind, c.kind) << c.path;
        EXPECT_EQ(progress.last, 90u) << c.path;
        EXPECT_EQ(content.entries[c.cv - 1], c.entry) << c.path;
        EXPECT_EQ(content.texts[ownerText], c.owner) << c.path;
        EXPECT_EQ(load.skippedCvEntries, c.skipped) << c.path;
    }
    EXPECT_TRUE(namesCvList("a/B.CSV"));
    EXPECT_FALSE(namesCvList("csv"));
    EXPECT_FALSE(namesCvList("list.csv.vqd"));
}

TEST(PosixFileAccess, SavesIntoDeepFoldersAndRefusesFolders) {
    char pattern[] = "/tmp/velquist-files-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    std::string folder = pattern;
    for (int depth = 0; depth < 6; ++depth) {
        folder += "/a-rather-long-folder-name-for-the-path-" + std::to_string(depth);
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    }
    const std::string path = folder + "/loco";
    ASSERT_GT(path.size(), 200u);
    DecoderFileContent content;
    content.entries[0] = 3;
    ASSERT_EQ(saveDecoderFile(path, content, nullptr), nullptr);
    std::ifstream written(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}).size(), 4151u);
    EXPECT_NE(access(savingPathFor(path).c_str(), F_OK), 0);

    chmod(path.c_str(), 0444);
    content.entries[0] = 4;
    EXPECT_STREQ(saveDecoderFile(path, content, nullptr), cannotWriteFileText);
    DecoderFileContent read;
    ASSERT_EQ(loadDecoderFile(path, read, nullptr).error, "");
    EXPECT_EQ(read.entries[0], 3); // a read-only file stays as it was

    EXPECT_EQ(loadDecoderFile(folder, read, nullptr).error, cannotOpenFileText);
    EXPECT_STREQ(saveDecoderFile(folder, content, nullptr), cannotWriteFileText);
    EXPECT_NE(access(savingPathFor(folder).c_str(), F_OK), 0);
    std::system(("rm -rf " + std::string(pattern)).c_str());
}

} // namespace
