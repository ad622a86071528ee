// Pictures' motions through every list change and its undo: old albums that never gain a
// Motion file, deletions, moves and imports that keep each motion with its picture (or start
// a reused name without one), damaged and unreadable files, and failing writes that must
// leave the list file, the Motion file and the lists in memory agreeing.

#include "store_fixture.h"

#include "../write_failure.h"
#include "store/album_names.h"
#include "store/album_operations.h"
#include "store/list_motions.h"
#include "store/list_operations.h"
#include "store/store_error.h"
#include "store/undo_history.h"

#include <functional>
#include <optional>

using namespace vistello::store;
using namespace vistello::store::testing;
using vistello::failures::FileSizeLimit;

namespace {

namespace fs = std::filesystem;

const PictureMotion kPan = PictureMotion::custom({0, 0, 0.5, 0.5}, {0.5, 0.5, 0.5, 0.5}, Easing::EaseOut);

class ListMotionsTest : public ::testing::Test {
  protected:
    TempRoot root;
    AlbumStore store{root.path()};
    std::optional<UndoHistory> history;
    fs::path folder = root.path() / "a";
    fs::path motionFile = folder / "Motion";

    void SetUp() override {
        fs::create_directories(folder);
        fs::create_directories(root.path() / "b");
        writeRecords(root.path() / "Album", std::vector{album("a"), album("b")});
        std::vector<TPicInfo> pics;
        for (int i = 0; i < 3; ++i) {
            pics.push_back(picture("P" + std::to_string(i) + ".jpg", i));
            writeBytes(folder / ("P" + std::to_string(i) + ".jpg"), "pic" + std::to_string(i));
        }
        writeRecords(folder / "PicInfo", pics);
        writeRecords(folder / "MusicInfo", std::vector{song("M0.mp3")});
        writeBytes(folder / "M0.mp3", "song0");
        store.LoadInfo("A");
        store.AlbumIndex = 0;
        store.openAlbum(0);
        history.emplace(store);
    }

    // Sets a motion as the picture editor's save does: one Edit change.
    void setMotion(const std::string& fileName, const PictureMotion& motion) {
        const std::optional<ListSnapshot> edited =
            withMotion(captureList(store, ListKind::Pictures), fileName, motion);
        ASSERT_TRUE(edited.has_value()) << fileName;
        history->perform(ChangeKind::Edit, *edited);
    }
    // P0 automatic, P1 panning.
    void setTwoMotions() {
        setMotion("P0.jpg", PictureMotion::automatic());
        setMotion("P1.jpg", kPan);
    }
    PictureMotion stored(const std::string& fileName) const {
        return MotionTable::load(folder).get(fileName);
    }
    PictureMotion captured(const std::string& fileName) const {
        return motionsOf(captureList(store, ListKind::Pictures)).get(fileName);
    }
    std::vector<std::string> pictureNames() const {
        std::vector<std::string> names;
        for (const auto& p : store.PicList)
            names.push_back(p.FileName.text());
        return names;
    }
    // An import of one picture as the import dialog makes it: file, record, batch save.
    void importPicture(const std::string& fileName) {
        const ListSnapshot before = captureList(store, ListKind::Pictures);
        writeBytes(folder / fileName, "imported");
        store.PicList.push_back(picture(fileName));
        saveImportedBatch(store, MediaList::Pictures, store.PicList.size() - 1, {folder / fileName});
        history->recordDone(ChangeKind::Import, before);
    }
    using Names = std::vector<std::string>;
};

TEST_F(ListMotionsTest, AnOldAlbumChangesAsBeforeAndGainsNoMotionFile) {
    const std::vector<std::function<void()>> changes = {
        [&] {
            history->perform(ChangeKind::Move,
                             *plannedMove(store, MediaList::Pictures, 0, MoveDirection::Down));
        },
        [&] { history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1)); },
        [&] { importPicture("P0.jpg"); },
        [&] { history->perform(ChangeKind::DeleteAll, plannedDeleteAll(store, MediaList::Pictures)); },
        [&] { history->perform(ChangeKind::DeleteAll, plannedDeleteAll(store, MediaList::Songs)); },
    };
    for (const auto& change : changes)
        change();
    EXPECT_FALSE(fs::exists(motionFile));
    while (history->undoSteps() > 0)
        history->undo();
    EXPECT_FALSE(fs::exists(motionFile));
    EXPECT_EQ(pictureNames(), (Names{"P0.jpg", "P1.jpg", "P2.jpg"}));
    while (history->redoSteps() > 0)
        history->redo();
    EXPECT_FALSE(fs::exists(motionFile));
    EXPECT_TRUE(holdsNoMotion(*captureList(store, ListKind::Pictures).motions));
}

TEST_F(ListMotionsTest, AMotionEditIsOneChangeThatUndoesAndRedoes) {
    setTwoMotions();
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\nP0.jpg automatic\n"
                                     "P1.jpg custom ease-out 0 0 0.5 0.5 0.5 0.5 0.5 0.5\n");
    ASSERT_EQ(history->undoSteps(), 2u);
    EXPECT_EQ(history->nextUndo()->kind, ChangeKind::Edit);
    history->undo();
    EXPECT_EQ(stored("P1.jpg"), PictureMotion());
    EXPECT_EQ(stored("P0.jpg"), PictureMotion::automatic());
    history->undo();
    EXPECT_TRUE(MotionTable::load(folder).empty());
    history->redo();
    history->redo();
    EXPECT_EQ(stored("P1.jpg"), kPan);

    setMotion("P1.jpg", PictureMotion()); // None takes the motion away
    EXPECT_EQ(stored("P1.jpg"), PictureMotion());
    EXPECT_EQ(stored("P0.jpg"), PictureMotion::automatic());
}

TEST_F(ListMotionsTest, EditorSavesRecordAndMotionTogetherAndTheHistoryRecordsIt) {
    const ListSnapshot before = captureList(store, ListKind::Pictures);
    TPicInfo record = store.PicList[2];
    record.Title.setText("海边");
    const std::optional<ListSnapshot> edited = plannedPictureEdit(store, 2, record, kPan);
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(edited->index, 2);
    changeListAtOnce(store, *edited);
    EXPECT_EQ(store.PicList[2].Title.text(), "海边");
    EXPECT_EQ(recordsFromBytes<TPicInfo>(readBytes(folder / "PicInfo"))[2].Title.text(), "海边");
    EXPECT_EQ(stored("P2.jpg"), kPan);
    history->recordDone(ChangeKind::Edit, before);
    ASSERT_EQ(history->undoSteps(), 1u);

    // A save that changes the motion alone is a change too.
    const ListSnapshot beforeMotion = captureList(store, ListKind::Pictures);
    changeListAtOnce(store, *plannedPictureEdit(store, 2, store.PicList[2], PictureMotion::automatic()));
    history->recordDone(ChangeKind::Edit, beforeMotion);
    ASSERT_EQ(history->undoSteps(), 2u);
    history->recordDone(ChangeKind::Edit, captureList(store, ListKind::Pictures));
    EXPECT_EQ(history->undoSteps(), 2u) << "the same list and motions record nothing";

    history->undo();
    EXPECT_EQ(stored("P2.jpg"), kPan);
    history->undo();
    EXPECT_EQ(stored("P2.jpg"), PictureMotion());
    EXPECT_EQ(store.PicList[2].Title.text(), "");
}

TEST_F(ListMotionsTest, MotionsRefusedOrOutsideTheListPlanNothing) {
    const ListSnapshot pictures = captureList(store, ListKind::Pictures);
    EXPECT_FALSE(withMotion(pictures, "P9.jpg", kPan)) << "no picture of the list";
    EXPECT_FALSE(withMotion(pictures, "", kPan));
    EXPECT_FALSE(withMotion(captureList(store, ListKind::Songs), "M0.mp3", kPan));
    EXPECT_FALSE(withMotion(pictures, "P0.jpg",
                            PictureMotion::custom({0.6, 0, 0.5, 0.5}, {0, 0, 1, 1}, Easing::Linear)));
    EXPECT_FALSE(plannedPictureEdit(store, 3, store.PicList[0], kPan));
    EXPECT_FALSE(plannedPictureEdit(store, -1, store.PicList[0], kPan));
    ASSERT_TRUE(withMotion(pictures, " P0.jpg ", kPan)) << "names are trimmed as when the file is opened";
    EXPECT_EQ(motionsOf(*withMotion(pictures, " P0.jpg ", kPan)).get("P0.jpg"), kPan);
}

TEST_F(ListMotionsTest, APictureListMadeWithoutMotionsKeepsTheAlbumsMotions) {
    setTwoMotions();
    ListSnapshot byHand;
    byHand.kind = ListKind::Pictures;
    byHand.album = "a";
    std::vector<TPicInfo> reversed(store.PicList.rbegin(), store.PicList.rend());
    byHand = withRecords(byHand, reversed, 0);
    changeListAtOnce(store, byHand);
    EXPECT_EQ(pictureNames(), (Names{"P2.jpg", "P1.jpg", "P0.jpg"}));
    EXPECT_EQ(stored("P0.jpg"), PictureMotion::automatic());
    EXPECT_EQ(stored("P1.jpg"), kPan);
}

TEST_F(ListMotionsTest, DeletionsAndMovesKeepEachMotionWithItsPicture) {
    setTwoMotions();
    const std::string withBoth = readBytes(motionFile);

    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1));
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\nP0.jpg automatic\n");
    EXPECT_EQ(captured("P1.jpg"), PictureMotion());
    history->undo();
    EXPECT_EQ(readBytes(motionFile), withBoth);
    EXPECT_EQ(captured("P1.jpg"), kPan);
    history->redo();
    history->undo();
    EXPECT_EQ(stored("P1.jpg"), kPan);

    history->perform(ChangeKind::Move, *plannedMove(store, MediaList::Pictures, 0, MoveDirection::Down));
    history->perform(ChangeKind::Move, *plannedMoveTo(store, MediaList::Pictures, 2, 0));
    EXPECT_EQ(pictureNames(), (Names{"P2.jpg", "P1.jpg", "P0.jpg"}));
    EXPECT_EQ(stored("P0.jpg"), PictureMotion::automatic());
    EXPECT_EQ(stored("P1.jpg"), kPan);
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\nP1.jpg custom ease-out 0 0 0.5 0.5 0.5 0.5 0.5 0.5\n"
                                     "P0.jpg automatic\n")
        << "entries follow the list order";

    history->perform(ChangeKind::DeleteAll, plannedDeleteAll(store, MediaList::Pictures));
    EXPECT_TRUE(MotionTable::load(folder).empty());
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\n");
    history->undo();
    EXPECT_EQ(pictureNames(), (Names{"P2.jpg", "P1.jpg", "P0.jpg"}));
    EXPECT_EQ(stored("P0.jpg"), PictureMotion::automatic());
    EXPECT_EQ(stored("P1.jpg"), kPan);
    history->undo();
    history->undo();
    EXPECT_EQ(readBytes(motionFile), withBoth);
}

TEST_F(ListMotionsTest, AnImportReusingAFreedNameStartsWithoutMotionAndUndoBringsTheOldOneBack) {
    setTwoMotions();
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1));
    ASSERT_EQ(NextFreeFileNumber(folder, "P", "jpg"), "1");
    // As an older run or another program may leave it: the freed name still has a motion.
    writeBytes(motionFile, "Vistello motion 1\nP0.jpg automatic\nP1.jpg automatic\n");
    importPicture("P1.jpg");
    EXPECT_EQ(pictureNames(), (Names{"P0.jpg", "P2.jpg", "P1.jpg"}));
    EXPECT_EQ(stored("P1.jpg"), PictureMotion());
    EXPECT_EQ(captured("P1.jpg"), PictureMotion());
    EXPECT_EQ(stored("P0.jpg"), PictureMotion::automatic());

    history->undo(); // the import
    history->undo(); // the deletion
    EXPECT_EQ(readBytes(folder / "P1.jpg"), "pic1");
    EXPECT_EQ(stored("P1.jpg"), kPan);
    history->redo();
    history->redo();
    EXPECT_EQ(readBytes(folder / "P1.jpg"), "imported");
    EXPECT_EQ(stored("P1.jpg"), PictureMotion());
}

TEST_F(ListMotionsTest, ADamagedOrUnreadableMotionFileReadsAsNoneAndNeverStopsAChange) {
    writeBytes(motionFile, "Vistello motion 1\nP0.jpg automatic\nP1.jpg custom linear 0 0 2 2 0 0 1 1\n");
    store.openAlbum(0);
    EXPECT_TRUE(holdsNoMotion(*captureList(store, ListKind::Pictures).motions));
    history->perform(ChangeKind::Move, *plannedMove(store, MediaList::Pictures, 0, MoveDirection::Down));
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\n") << "the next change writes a sound file";
    history->undo();
    EXPECT_EQ(readBytes(motionFile), "Vistello motion 1\n");

    fs::remove(motionFile);
    fs::create_directories(motionFile / "inside"); // a folder where the file belongs
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 0));
    history->undo();
    EXPECT_EQ(pictureNames(), (Names{"P0.jpg", "P1.jpg", "P2.jpg"}));
    EXPECT_TRUE(fs::is_directory(motionFile / "inside"));
    // A motion to keep cannot be written there: the edit fails with nothing changed.
    const std::string pictures = readBytes(folder / "PicInfo");
    EXPECT_THROW(setMotion("P0.jpg", kPan), StoreError);
    EXPECT_EQ(readBytes(folder / "PicInfo"), pictures);
    EXPECT_EQ(history->undoSteps(), 0u);
}

// A failure at any step leaves the list file, the Motion file and memory as they were: the
// Motion file is written first and put back when the list file cannot follow.
TEST_F(ListMotionsTest, AFailedWriteLeavesBothFilesAndMemoryAsTheyWere) {
    setTwoMotions();
    const std::string pictures = readBytes(folder / "PicInfo");
    const std::string motions = readBytes(motionFile);
    ASSERT_LT(motions.size(), 200u);
    ASSERT_GT(pictures.size(), 600u);
    struct Case {
        const char* name;
        rlim_t limit; // 0: no write at all; 200: the Motion file but not the list
        std::function<void()> change;
    };
    const Case cases[] = {
        {"delete", 0,
         [&] { history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1)); }},
        {"delete, list fails", 200,
         [&] { history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1)); }},
        {"move, list fails", 200,
         [&] {
             history->perform(ChangeKind::Move,
                              *plannedMove(store, MediaList::Pictures, 0, MoveDirection::Down));
         }},
        {"motion edit", 0, [&] { setMotion("P2.jpg", kPan); }},
        {"record and motion edit, list fails", 200,
         [&] {
             TPicInfo record = store.PicList[0];
             record.StayTime = 9;
             history->perform(ChangeKind::Edit, *plannedPictureEdit(store, 0, record, PictureMotion()));
         }},
    };
    for (const Case& c : cases) {
        {
            FileSizeLimit limit(c.limit);
            EXPECT_THROW(c.change(), StoreError) << c.name;
        }
        EXPECT_EQ(readBytes(folder / "PicInfo"), pictures) << c.name;
        EXPECT_EQ(readBytes(motionFile), motions) << c.name;
        EXPECT_EQ(store.PicCount(), 3) << c.name;
        EXPECT_EQ(store.PicList[0].StayTime, 0) << c.name;
        EXPECT_EQ(readBytes(folder / "P1.jpg"), "pic1") << c.name;
        EXPECT_EQ(history->undoSteps(), 2u) << c.name;
    }

    // An undo whose list cannot be written stays undoable, with the motions of its state.
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1));
    const std::string afterDelete = readBytes(motionFile);
    {
        FileSizeLimit limit(200);
        EXPECT_THROW(history->undo(), StoreError);
    }
    EXPECT_EQ(readBytes(motionFile), afterDelete);
    EXPECT_EQ(pictureNames(), (Names{"P0.jpg", "P2.jpg"}));
    history->undo();
    EXPECT_EQ(readBytes(motionFile), motions);
}

TEST_F(ListMotionsTest, AnItemThatCannotBeKeptPutsTheMotionsBackWithTheList) {
    setTwoMotions();
    const std::string pictures = readBytes(folder / "PicInfo");
    const std::string motions = readBytes(motionFile);
    writeBytes(folder / std::string(kKeptFolderName), "a file where the hidden folder belongs");
    EXPECT_THROW(history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1)),
                 StoreError);
    EXPECT_EQ(readBytes(folder / "PicInfo"), pictures);
    EXPECT_EQ(readBytes(motionFile), motions);
    EXPECT_EQ(store.PicCount(), 3);
    EXPECT_EQ(captured("P1.jpg"), kPan);
}

TEST_F(ListMotionsTest, AlbumDeletionAndItsUndoKeepTheMotionFile) {
    setTwoMotions();
    const std::string motions = readBytes(motionFile);
    history->perform(ChangeKind::DeleteAlbum, *plannedAlbumDeletion(store));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(store.AlbumPath(), root.path() / "b");
    EXPECT_FALSE(fs::exists(root.path() / "b" / "Motion"));
    history->undo();
    EXPECT_EQ(store.AlbumPath(), folder);
    EXPECT_EQ(readBytes(motionFile), motions);
    EXPECT_EQ(captured("P1.jpg"), kPan);
    // The album's edits are still there to be undone, with their motions.
    history->undo();
    EXPECT_EQ(stored("P1.jpg"), PictureMotion());
}

TEST_F(ListMotionsTest, AnUndoInAnotherAlbumWritesThatAlbumsMotions) {
    setMotion("P0.jpg", PictureMotion::automatic());
    store.AlbumIndex = 1;
    store.openAlbum(1);
    history->undo();
    EXPECT_EQ(store.AlbumPath(), folder);
    EXPECT_EQ(stored("P0.jpg"), PictureMotion());
    EXPECT_FALSE(fs::exists(root.path() / "b" / "Motion"));
}

} // namespace
