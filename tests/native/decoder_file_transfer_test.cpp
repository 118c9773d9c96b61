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
    ASSERT_EQ(loadDecoderFile("loco", read, &progress), nullptr);
    EXPECT_EQ(read.entries, content.entries);
    EXPECT_EQ(read.texts[ownerText], "Ann");
    EXPECT_EQ(progress.last, 90u);
}

TEST_F(DecoderFileTransferTest, LoadFailuresAbandonTheBarWithTheirMessage) {
    files.files["empty"] = "";
    const struct {
        const char* path;
        const char* message;
    } cases[] = {{"missing", cannotOpenFileText}, {"empty", notVelquistFileText}};
    for (const auto& c : cases) {
        RecordedProgress progress;
        DecoderFileContent content;
        EXPECT_STREQ(loadDecoderFile(c.path, content, &progress), c.message);
        EXPECT_TRUE(progress.abandoned);
    }
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
    ASSERT_EQ(loadDecoderFile(path, read, nullptr), nullptr);
    EXPECT_EQ(read.entries[0], 3); // a read-only file stays as it was

    EXPECT_STREQ(loadDecoderFile(folder, read, nullptr), cannotOpenFileText);
    EXPECT_STREQ(saveDecoderFile(folder, content, nullptr), cannotWriteFileText);
    EXPECT_NE(access(savingPathFor(folder).c_str(), F_OK), 0);
    std::system(("rm -rf " + std::string(pattern)).c_str());
}

} // namespace
