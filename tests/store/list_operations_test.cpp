// Moving and deleting pictures and songs of the open album.

#include "store_fixture.h"

#include "../write_failure.h"
#include "store/store_error.h"

#include "store/list_operations.h"

using namespace vistello::store;
using namespace vistello::store::testing;

namespace {

class ListOperationsTest : public ::testing::Test {
  protected:
    TempRoot root;
    AlbumStore store{root.path()};
    std::filesystem::path folder = root.path() / "album";

    void SetUp() override {
        std::filesystem::create_directories(folder);
        writeRecords(root.path() / "Album", std::vector{album("album")});
        store.LoadInfo("A");
    }
    void withPictures(int n) {
        std::vector<TPicInfo> pics;
        for (int i = 0; i < n; ++i) {
            pics.push_back(picture("P" + std::to_string(i) + ".jpg", i));
            writeBytes(folder / ("P" + std::to_string(i) + ".jpg"), "jpeg");
        }
        writeRecords(folder / "PicInfo", pics);
        store.openAlbum(0);
    }
    std::vector<int> storedStayTimes() {
        std::vector<int> times;
        for (const auto& p : recordsFromBytes<TPicInfo>(readBytes(folder / "PicInfo")))
            times.push_back(p.StayTime);
        return times;
    }
};

TEST_F(ListOperationsTest, MovesSwapRecordsAndSave) {
    withPictures(3);
    EXPECT_EQ(moveEntry(store, MediaList::Pictures, 0, MoveDirection::Down), 1);
    EXPECT_EQ(store.PicIndex, 1);
    EXPECT_EQ(storedStayTimes(), (std::vector{1, 0, 2}));
    EXPECT_EQ(moveEntry(store, MediaList::Pictures, -1, MoveDirection::Down),
              1); // no selection: first goes down
    EXPECT_EQ(storedStayTimes(), (std::vector{0, 1, 2}));
    EXPECT_TRUE(std::filesystem::exists(folder / "P0.jpg")); // files keep their names
}

TEST_F(ListOperationsTest, ImpossibleMovesChangeNothing) {
    withPictures(1);
    EXPECT_FALSE(moveEntry(store, MediaList::Pictures, 0, MoveDirection::Down));
    withPictures(3);
    EXPECT_FALSE(moveEntry(store, MediaList::Pictures, 0, MoveDirection::Up));
    EXPECT_FALSE(moveEntry(store, MediaList::Pictures, -1, MoveDirection::Up));
    EXPECT_FALSE(moveEntry(store, MediaList::Pictures, 2, MoveDirection::Down));
    EXPECT_EQ(storedStayTimes(), (std::vector{0, 1, 2}));
}

TEST_F(ListOperationsTest, MovingToANewPlaceShiftsTheEntriesBetween) {
    withPictures(5);
    EXPECT_EQ(moveEntryTo(store, MediaList::Pictures, 0, 3), 3);
    EXPECT_EQ(store.PicIndex, 3);
    EXPECT_EQ(storedStayTimes(), (std::vector{1, 2, 3, 0, 4}));
    EXPECT_EQ(moveEntryTo(store, MediaList::Pictures, 4, 1), 1);
    EXPECT_EQ(storedStayTimes(), (std::vector{1, 4, 2, 3, 0}));
    for (const auto& [from, to] : {std::pair{2, 2}, {-1, 0}, {0, 5}, {5, 0}})
        EXPECT_FALSE(moveEntryTo(store, MediaList::Pictures, from, to)) << from << " to " << to;
    EXPECT_EQ(storedStayTimes(), (std::vector{1, 4, 2, 3, 0}));
}

TEST_F(ListOperationsTest, DeletingSelectsTheFollowingEntryOrTheNewLast) {
    withPictures(5);
    EXPECT_EQ(deleteEntry(store, MediaList::Pictures, 4), 3);
    EXPECT_EQ(deleteEntry(store, MediaList::Pictures, 1), 1);
    EXPECT_EQ(storedStayTimes(), (std::vector{0, 2, 3}));
    EXPECT_FALSE(std::filesystem::exists(folder / "P1.jpg"));
    EXPECT_FALSE(std::filesystem::exists(folder / "P4.jpg"));
    EXPECT_FALSE(deleteEntry(store, MediaList::Pictures, -1));
}

TEST_F(ListOperationsTest, DeletingTheOnlyEntryLeavesAnEmptyFile) {
    withPictures(1);
    EXPECT_EQ(deleteEntry(store, MediaList::Pictures, 0), -1);
    EXPECT_EQ(store.PicIndex, -1);
    EXPECT_EQ(readBytes(folder / "PicInfo"), "");
}

TEST_F(ListOperationsTest, DeleteAllRemovesFiles) {
    std::vector<TMusicInfo> songs;
    for (int i = 0; i < 4; ++i) {
        songs.push_back(song("M" + std::to_string(i) + ".mp3"));
        writeBytes(folder / ("M" + std::to_string(i) + ".mp3"), "mp3");
    }
    writeRecords(folder / "MusicInfo", songs);
    store.openAlbum(0);
    deleteAllEntries(store, MediaList::Songs);
    EXPECT_EQ(store.MusicIndex, -1);
    EXPECT_EQ(readBytes(folder / "MusicInfo"), "");
    EXPECT_FALSE(std::filesystem::exists(folder / "M3.mp3"));
}

TEST_F(ListOperationsTest, RecordsNamingTheStoresOwnFilesDeleteOnlyTheirRecords) {
    // Every name but the last two is one of the store's own files: a list, a list's
    // temporary copy, a hidden file, in any case.
    const std::vector<std::string> own = {"MusicInfo", "musicINFO", "Album", "MusicInfo.Ab3xYz", ".kept"};
    for (const std::string& name : own)
        writeBytes(folder / name, "own");
    writeBytes(folder / "P0.jpg", "jpeg");
    writeBytes(folder / "M0.mp3", "mp3");
    std::vector<TPicInfo> pics;
    for (const std::string& name : own)
        pics.push_back(picture(name));
    pics.push_back(picture("P0.jpg"));
    writeRecords(folder / "PicInfo", pics);
    const std::vector<TMusicInfo> songs{song("PicInfo"), song("M0.mp3")};
    writeRecords(folder / "MusicInfo", songs);
    store.openAlbum(0);
    const std::string songBytes = readBytes(folder / "MusicInfo");

    for (std::size_t i = 0; i < own.size(); ++i) {
        EXPECT_TRUE(store.mediaFile(own[i]).empty()) << own[i];
        deleteEntry(store, MediaList::Pictures, 0);
    }
    EXPECT_EQ(readBytes(folder / "MusicInfo"), songBytes); // the song list is whole
    for (const char* name : {"musicINFO", "Album", "MusicInfo.Ab3xYz", ".kept"})
        EXPECT_EQ(readBytes(folder / name), "own") << name;
    ASSERT_EQ(store.PicCount(), 1);

    deleteEntry(store, MediaList::Songs, 0); // "PicInfo": the picture list stays
    EXPECT_EQ(readBytes(folder / "PicInfo").size(), sizeof(TPicInfo));
    deleteAllEntries(store, MediaList::Pictures); // a real media file still goes with its entry
    EXPECT_FALSE(std::filesystem::exists(folder / "P0.jpg"));
    EXPECT_EQ(store.mediaFile("M0.mp3"), folder / "M0.mp3");
}

TEST_F(ListOperationsTest, RecordFileNamesNeverReachOutsideTheAlbumFolder) {
    writeBytes(root.path() / "bait", "keep");
    std::vector<TPicInfo> pics{picture("../bait"), picture("../Album"), picture(""), picture("..")};
    writeRecords(folder / "PicInfo", pics);
    store.openAlbum(0);
    deleteAllEntries(store, MediaList::Pictures);
    EXPECT_EQ(readBytes(root.path() / "bait"), "keep");
    EXPECT_TRUE(std::filesystem::exists(root.path() / "Album"));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

// The list is written before a media file goes: when it cannot be, the entry stays in memory
// and on disk with its file, and the list in memory is still the one in the file.
TEST_F(ListOperationsTest, AnEntryWhoseListCannotBeRewrittenKeepsItsFile) {
    withPictures(3);
    const std::string stored = readBytes(folder / "PicInfo");
    {
        vistello::failures::FileSizeLimit noWrites(0);
        EXPECT_THROW(deleteEntry(store, MediaList::Pictures, 1), StoreError);
        EXPECT_THROW(moveEntry(store, MediaList::Pictures, 0, MoveDirection::Down), StoreError);
    }
    EXPECT_EQ(readBytes(folder / "PicInfo"), stored);
    EXPECT_EQ(store.PicCount(), 3);
    EXPECT_EQ(store.PicList[0].StayTime, 0);
    EXPECT_TRUE(std::filesystem::exists(folder / "P1.jpg"));
    EXPECT_EQ(deleteEntry(store, MediaList::Pictures, 1), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "P1.jpg"));
    EXPECT_FALSE(std::filesystem::exists(folder / ".vistello-undo"));
}

} // namespace
