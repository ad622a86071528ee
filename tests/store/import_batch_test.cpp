// The import loop that pictures and songs share: numbering of the album's copies, records and
// FileName, skipped files and their reasons, cancelling, a step that cannot write, and no
// open album.

#include "store_fixture.h"

#include "store/album_operations.h"
#include "store/import_batch.h"
#include "store/store_error.h"

#include <cerrno>

using namespace vistello::store;
using namespace vistello::store::testing;

namespace {

namespace fs = std::filesystem;

// Records every report; cancels when `cancelAt` files have started.
struct RecordingProgress : ImportProgress {
    int cancelAt = -1;
    std::vector<std::string> started;
    std::vector<std::pair<int, SkipReason>> skipped;
    bool cancelled() const override { return static_cast<int>(started.size()) == cancelAt; }
    void fileStarting(int index, int count, const fs::path& path) override {
        started.push_back(std::to_string(index + 1) + "/" + std::to_string(count) + " " +
                          path.filename().string());
    }
    void fileSkipped(int index, const fs::path&, SkipReason reason) override {
        skipped.emplace_back(index, reason);
    }
};

class ImportBatchTest : public ::testing::Test {
  protected:
    TempRoot root;
    AlbumStore store{root.path()};

    void SetUp() override {
        createAlbum(store, "a");
        store.openAlbum(0);
        ASSERT_FALSE(store.AlbumPath().empty());
    }
    // A step that copies the source's name into the album's copy, skips names starting with
    // "skip-" (NoAudio) and fails to write names starting with "full-".
    template <class Record> ImportOne<Record> step() {
        return [](const fs::path& source, const fs::path& destination) -> std::variant<Record, SkipReason> {
            const std::string name = source.filename().string();
            if (name.starts_with("skip-"))
                return SkipReason::NoAudio;
            if (name.starts_with("full-"))
                throw StoreError(ENOSPC, StoreAction::Write, destination);
            writeBytes(destination, name);
            Record record;
            record.Remark.setText(name);
            return record;
        };
    }
    std::vector<TPicInfo> savedPictures() const {
        AlbumStore reread(root.path());
        reread.LoadInfo("A");
        reread.openAlbum(0);
        return reread.PicList;
    }
};

} // namespace

TEST_F(ImportBatchTest, RecordsTakeTheFreeNumbersAndSkippedFilesAreReported) {
    writeBytes(store.AlbumPath() / "P1.jpg", "taken");
    RecordingProgress progress;
    const ImportResult result = importBatch<TPicInfo>(
        store, {"/x/one.bmp", "/x/skip-two.bmp", "/x/three.bmp"}, progress, step<TPicInfo>());
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(result.skipped, 1);
    EXPECT_FALSE(result.cancelled);
    EXPECT_EQ(progress.started,
              (std::vector<std::string>{"1/3 one.bmp", "2/3 skip-two.bmp", "3/3 three.bmp"}));
    EXPECT_EQ(progress.skipped, (std::vector<std::pair<int, SkipReason>>{{1, SkipReason::NoAudio}}));
    for (const std::vector<TPicInfo>& pictures : {store.PicList, savedPictures()}) {
        ASSERT_EQ(pictures.size(), 2u);
        EXPECT_EQ(pictures[0].FileName.text(), "P0.jpg");
        EXPECT_EQ(pictures[0].Remark.text(), "one.bmp");
        EXPECT_EQ(pictures[1].FileName.text(), "P2.jpg");
        EXPECT_EQ(pictures[1].Remark.text(), "three.bmp");
    }
    EXPECT_EQ(readBytes(store.AlbumPath() / "P2.jpg"), "three.bmp");
}

TEST_F(ImportBatchTest, SongsGoToTheSongList) {
    RecordingProgress progress;
    importBatch<TMusicInfo>(store, {"/x/song.mp3"}, progress, step<TMusicInfo>());
    ASSERT_EQ(store.MusicList.size(), 1u);
    EXPECT_EQ(store.MusicList[0].FileName.text(), "M0.mp3");
    EXPECT_TRUE(store.PicList.empty());
}

TEST_F(ImportBatchTest, CancelStopsBeforeTheNextFileAndSaves) {
    RecordingProgress progress;
    progress.cancelAt = 1;
    const ImportResult result =
        importBatch<TPicInfo>(store, {"/x/one.bmp", "/x/two.bmp"}, progress, step<TPicInfo>());
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.imported, 1);
    EXPECT_EQ(savedPictures().size(), 1u);
    EXPECT_FALSE(fs::exists(store.AlbumPath() / "P1.jpg"));
}

TEST_F(ImportBatchTest, AStepThatCannotWriteEndsTheBatchKeepingThoseBefore) {
    RecordingProgress progress;
    EXPECT_THROW(importBatch<TPicInfo>(store, {"/x/one.bmp", "/x/full-two.bmp", "/x/three.bmp"}, progress,
                                       step<TPicInfo>()),
                 StoreError);
    EXPECT_EQ(progress.started.size(), 2u);
    ASSERT_EQ(savedPictures().size(), 1u);
    EXPECT_EQ(savedPictures()[0].FileName.text(), "P0.jpg");
}

TEST_F(ImportBatchTest, NoOpenAlbumImportsNothing) {
    store.closeAlbum();
    RecordingProgress progress;
    const ImportResult result = importBatch<TPicInfo>(store, {"/x/one.bmp"}, progress, step<TPicInfo>());
    EXPECT_EQ(result.imported, 0);
    EXPECT_TRUE(progress.started.empty());
}
