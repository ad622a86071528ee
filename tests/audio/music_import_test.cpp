#include "audio/music_import.h"

#include "../write_failure.h"
#include "audio/id3v1.h"
#include "mp3_fixture.h"
#include "store/album_operations.h"
#include "store/album_store.h"
#include "store/store_error.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace vistello::audio {
namespace {

using store::SkipReason;

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Records what the import reports and cancels before file `cancelAt`.
struct RecordingProgress : store::ImportProgress {
    int cancelAt = -1;
    mutable int asked = 0;
    std::vector<std::string> started;
    std::vector<std::pair<std::string, SkipReason>> skipped;
    bool cancelled() const override { return asked++ == cancelAt; }
    void fileStarting(int index, int count, const std::filesystem::path& path) override {
        started.push_back(std::to_string(index + 1) + "/" + std::to_string(count) + " " +
                          path.filename().string());
    }
    void fileSkipped(int, const std::filesystem::path& path, SkipReason reason) override {
        skipped.emplace_back(path.filename().string(), reason);
    }
};

// An album "Songs" in a temporary store, with a tagged song of 3.5 s and an untagged one.
struct ImportFixture : testing::Test {
    QTemporaryDir dir;
    std::filesystem::path root{dir.path().toStdString()};
    std::filesystem::path sources = root / "sources";
    store::AlbumStore store{root / "store"};

    void SetUp() override {
        std::filesystem::create_directories(sources);
        std::filesystem::create_directories(store.RootPath());
        store::createAlbum(store, "Songs");
        store.openAlbum(0);
        ASSERT_FALSE(store.AlbumPath().empty());
        ASSERT_TRUE(test::makeMp3(sources / "tone.mp3", {44100, 2, 154350}));
        std::string tag(128, '\0');
        tag.replace(0, 3, "TAG");
        tag.replace(33, 11, "Artist   \0\0", 11);
        tag.replace(97, 7, "Comment");
        tag[126] = 4;
        std::ofstream(sources / "tone.mp3", std::ios::binary | std::ios::app) << tag;
        std::filesystem::copy_file(sources / "tone.mp3", sources / "second.mp3");
        std::ofstream(sources / "tiny.mp3", std::ios::binary) << std::string(100, 'x');
    }
};

TEST_F(ImportFixture, CopiesMeasuresTagsAndSaves) {
    std::ofstream(store.AlbumPath() / "M0.mp3") << "already there";
    RecordingProgress progress;
    const auto result = ImportMusic(store, {sources / "tone.mp3", sources / "second.mp3"}, progress);
    EXPECT_EQ(result.imported, 2);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(progress.started, (std::vector<std::string>{"1/2 tone.mp3", "2/2 second.mp3"}));

    ASSERT_EQ(store.MusicCount(), 2);
    const store::TMusicInfo& first = store.MusicList[0];
    EXPECT_EQ(first.PlayTime, 3); // 3.5 s, fraction dropped
    EXPECT_EQ(first.FileName.text(), "M1.mp3");
    EXPECT_EQ(first.SongName.text(), "tone.mp3");
    EXPECT_EQ(first.Singer.gbk(), "Artist");
    EXPECT_EQ(first.Remark.gbk(), "Comment");
    EXPECT_EQ(readAll(store.AlbumPath() / "M1.mp3"), readAll(sources / "tone.mp3"));

    const store::TMusicInfo& second = store.MusicList[1];
    EXPECT_EQ(second.FileName.text(), "M2.mp3");
    EXPECT_EQ(second.SongName.text(), "second.mp3");

    store::AlbumStore reloaded(store.RootPath());
    reloaded.LoadInfo("A");
    reloaded.openAlbum(0);
    ASSERT_EQ(reloaded.MusicCount(), 2);
    EXPECT_EQ(reloaded.MusicList[1].FileName.text(), "M2.mp3");
}

TEST_F(ImportFixture, CancelKeepsWhatWasImportedAndSaves) {
    RecordingProgress progress;
    progress.cancelAt = 1;
    const auto result = ImportMusic(store, {sources / "tone.mp3", sources / "second.mp3"}, progress);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.imported, 1);
    EXPECT_FALSE(std::filesystem::exists(store.AlbumPath() / "M1.mp3"));
    store::AlbumStore reloaded(store.RootPath());
    reloaded.LoadInfo("A");
    reloaded.openAlbum(0);
    EXPECT_EQ(reloaded.MusicCount(), 1);
}

TEST_F(ImportFixture, UncopyableFilesAreSkippedSilently) {
    RecordingProgress progress;
    const auto result =
        ImportMusic(store, {sources / "missing.mp3", sources, sources / "second.mp3"}, progress);
    EXPECT_EQ(result.skipped, 2);
    EXPECT_EQ(progress.skipped,
              (std::vector<std::pair<std::string, SkipReason>>{{"missing.mp3", SkipReason::NotCopied},
                                                               {"sources", SkipReason::NotCopied}}));
    ASSERT_EQ(store.MusicCount(), 1);
    EXPECT_EQ(store.MusicList[0].FileName.text(), "M0.mp3");
    EXPECT_EQ(store.MusicList[0].SongName.text(), "second.mp3");
}

// A song that cannot be written into the album (files may only grow a little past the short
// song here, as on a full disk) ends the batch with an error naming it; the short one before
// it stays, saved.
TEST_F(ImportFixture, ASongThatCannotBeWrittenEndsTheBatchNamingIt) {
    ASSERT_TRUE(test::makeMp3(sources / "short.mp3", {44100, 2, 4410}));
    const auto shortSize = std::filesystem::file_size(sources / "short.mp3");
    ASSERT_LT(shortSize + 1000, std::filesystem::file_size(sources / "tone.mp3"));
    RecordingProgress progress;
    std::string error;
    {
        vistello::failures::FileSizeLimit limit(shortSize + 1000);
        try {
            ImportMusic(store, {sources / "short.mp3", sources / "tone.mp3", sources / "second.mp3"},
                        progress);
        } catch (const store::StoreError& e) {
            error = e.what();
        }
    }
    EXPECT_NE(error.find("M1.mp3"), std::string::npos) << error;
    EXPECT_EQ(progress.started.size(), 2u);
    ASSERT_EQ(store.MusicCount(), 1);
    EXPECT_EQ(store.MusicList[0].SongName.text(), "short.mp3");
    EXPECT_EQ(readAll(store.AlbumPath() / "MusicInfo").size(), 344u);
    EXPECT_FALSE(std::filesystem::exists(store.AlbumPath() / "M1.mp3"));
}

// A file without decodable sound could never be played or rendered: it is left out before
// anything is copied, and the files around it are imported as usual.
TEST_F(ImportFixture, FilesWithoutDecodableSoundAreSkipped) {
    std::ofstream(sources / "empty.mp3", std::ios::binary);
    std::ofstream(sources / "text.mp3", std::ios::binary) << std::string(5000, 'a');
    // A tag and nothing else: 128 bytes that end like a song's.
    std::string tagOnly(128, '\0');
    tagOnly.replace(0, 3, "TAG");
    std::ofstream(sources / "tag_only.mp3", std::ios::binary) << tagOnly;
    const std::vector<std::string> silent = {"tiny.mp3", "empty.mp3", "text.mp3", "tag_only.mp3"};
    std::vector<std::filesystem::path> files;
    for (const auto& name : silent)
        files.push_back(sources / name);
    files.insert(files.begin() + 2, sources / "tone.mp3");
    RecordingProgress progress;
    const auto result = ImportMusic(store, files, progress);
    EXPECT_EQ(result.imported, 1);
    EXPECT_EQ(result.skipped, 4);
    std::vector<std::pair<std::string, SkipReason>> expected;
    for (const auto& name : silent)
        expected.emplace_back(name, SkipReason::NoAudio);
    EXPECT_EQ(progress.skipped, expected);
    ASSERT_EQ(store.MusicCount(), 1);
    EXPECT_EQ(store.MusicList[0].FileName.text(), "M0.mp3");
    EXPECT_EQ(store.MusicList[0].SongName.text(), "tone.mp3");
    EXPECT_EQ(store.MusicList[0].PlayTime, 3);
    // Nothing of the skipped files reached the album folder.
    std::vector<std::string> stored;
    for (const auto& entry : std::filesystem::directory_iterator(store.AlbumPath()))
        if (entry.path().extension() == ".mp3")
            stored.push_back(entry.path().filename().string());
    EXPECT_EQ(stored, std::vector<std::string>{"M0.mp3"});
}

TEST_F(ImportFixture, LongSongNamesAreCutToTheField) {
    // 255 bytes as a Linux file name, but "é" takes four bytes in GB18030: 499 bytes stored.
    std::string name = "abc";
    for (int i = 0; i < 124; ++i)
        name += "é";
    name += ".mp3";
    std::filesystem::copy_file(sources / "tone.mp3", sources / name);
    RecordingProgress progress;
    ImportMusic(store, {sources / name}, progress);
    ASSERT_EQ(store.MusicCount(), 1);
    EXPECT_EQ(store.MusicList[0].SongName.gbk().size(), 255u);
}

TEST(NextFreeFileNumber, SmallestUnusedNumber) {
    QTemporaryDir dir;
    const std::filesystem::path root(dir.path().toStdString());
    EXPECT_EQ(NextFreeFileNumber(root, "M", "mp3"), "0");
    std::ofstream(root / "M0.mp3");
    std::ofstream(root / "M2.mp3");
    EXPECT_EQ(NextFreeFileNumber(root, "M", "mp3"), "1");
    std::filesystem::create_symlink(root / "nowhere", root / "M1.mp3");
    EXPECT_EQ(NextFreeFileNumber(root, "M", "mp3"), "3");
}

} // namespace
} // namespace vistello::audio
