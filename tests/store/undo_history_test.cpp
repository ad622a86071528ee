// The undo history: every kind of list change done, undone and redone, the media files and
// album folders it keeps hidden and when it lets them go, its depth, and failing writes.

#include "store_fixture.h"

#include "../write_failure.h"
#include "store/album_names.h"
#include "store/album_operations.h"
#include "store/list_operations.h"
#include "store/store_error.h"
#include "store/undo_history.h"

#include <optional>

using namespace vistello::store;
using namespace vistello::store::testing;
using vistello::failures::FileSizeLimit;

namespace {

namespace fs = std::filesystem;

class UndoHistoryTest : public ::testing::Test {
  protected:
    TempRoot root;
    AlbumStore store{root.path()};
    std::optional<UndoHistory> history;

    void SetUp() override {
        makeAlbum("a", 3, 2);
        makeAlbum("b", 1, 0);
        store.LoadInfo("A");
        store.AlbumIndex = 0;
        store.openAlbum(0);
        history.emplace(store);
    }
    fs::path folder(const std::string& album = "a") const { return root.path() / album; }
    fs::path kept(const std::string& album = "a") const {
        return folder(album) / std::string(kKeptFolderName);
    }

    // An album folder with pictures P<i>.jpg holding "pic<i>" and songs M<i>.mp3 holding "song<i>".
    void makeAlbum(const std::string& name, int pictures, int songs) {
        fs::create_directories(root.path() / name);
        std::vector<TAlbumInfo> albums =
            recordsFromBytes<TAlbumInfo>(readFileIfExists(root.path() / "Album").value_or(""));
        albums.push_back(album(name));
        writeRecords(root.path() / "Album", albums);
        std::vector<TPicInfo> pics;
        for (int i = 0; i < pictures; ++i) {
            pics.push_back(picture("P" + std::to_string(i) + ".jpg", i));
            writeBytes(root.path() / name / ("P" + std::to_string(i) + ".jpg"), "pic" + std::to_string(i));
        }
        writeRecords(root.path() / name / "PicInfo", pics);
        std::vector<TMusicInfo> list;
        for (int i = 0; i < songs; ++i) {
            list.push_back(song("M" + std::to_string(i) + ".mp3"));
            writeBytes(root.path() / name / ("M" + std::to_string(i) + ".mp3"), "song" + std::to_string(i));
        }
        writeRecords(root.path() / name / "MusicInfo", list);
    }
    // File names of a list as its file holds them, and as the store holds them.
    std::vector<std::string> storedNames(const std::string& list, const std::string& album = "a") const {
        std::vector<std::string> names;
        const std::string bytes = readBytes(folder(album) / list);
        if (list == "PicInfo")
            for (const auto& p : recordsFromBytes<TPicInfo>(bytes))
                names.push_back(p.FileName.text());
        else
            for (const auto& m : recordsFromBytes<TMusicInfo>(bytes))
                names.push_back(m.FileName.text());
        return names;
    }
    std::vector<std::string> pictureNames() const {
        std::vector<std::string> names;
        for (const auto& p : store.PicList)
            names.push_back(p.FileName.text());
        return names;
    }
    std::vector<std::string> storedAlbums() const {
        std::vector<std::string> names;
        for (const auto& a : recordsFromBytes<TAlbumInfo>(readBytes(root.path() / "Album")))
            names.push_back(a.AlbumName.text());
        return names;
    }
    int keptCount(const fs::path& hidden) const {
        std::error_code ec;
        int n = 0;
        for (fs::directory_iterator it(hidden, ec), end; !ec && it != end; it.increment(ec))
            ++n;
        return n;
    }
    using Names = std::vector<std::string>;
};

TEST_F(UndoHistoryTest, DeletedPictureIsKeptHiddenWhileItsDeletionCanBeUndone) {
    store.PicIndex = 1; // the selected row, as the window sets it
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1));
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P0.jpg", "P2.jpg"}));
    EXPECT_EQ(pictureNames(), (Names{"P0.jpg", "P2.jpg"}));
    EXPECT_EQ(store.PicIndex, 1);
    EXPECT_FALSE(fs::exists(folder() / "P1.jpg"));
    EXPECT_EQ(keptCount(kept()), 1);
    // Counted nowhere: its number is free for the next import.
    EXPECT_EQ(NextFreeFileNumber(folder(), "P", "jpg"), "1");

    history->undo();
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P0.jpg", "P1.jpg", "P2.jpg"}));
    EXPECT_EQ(pictureNames(), storedNames("PicInfo"));
    EXPECT_EQ(store.PicIndex, 1);
    EXPECT_EQ(readBytes(folder() / "P1.jpg"), "pic1");
    EXPECT_FALSE(fs::exists(kept())); // the hidden folder goes when it is empty
    EXPECT_EQ(history->redoSteps(), 1u);

    history->redo();
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P0.jpg", "P2.jpg"}));
    EXPECT_EQ(keptCount(kept()), 1);

    history.reset(); // the end of the run
    EXPECT_FALSE(fs::exists(kept()));
    EXPECT_FALSE(fs::exists(folder() / "P1.jpg"));
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P0.jpg", "P2.jpg"}));
}

TEST_F(UndoHistoryTest, DeletingAllSongsAndMovingComeBackExactly) {
    const std::string songsBefore = readBytes(folder() / "MusicInfo");
    history->perform(ChangeKind::DeleteAll, plannedDeleteAll(store, MediaList::Songs));
    EXPECT_EQ(readBytes(folder() / "MusicInfo"), "");
    EXPECT_EQ(store.MusicIndex, -1);
    EXPECT_FALSE(fs::exists(folder() / "M0.mp3"));
    EXPECT_EQ(keptCount(kept()), 2);

    const std::string picturesBefore = readBytes(folder() / "PicInfo");
    history->perform(ChangeKind::Move, *plannedMove(store, MediaList::Pictures, 0, MoveDirection::Down));
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P1.jpg", "P0.jpg", "P2.jpg"}));
    EXPECT_EQ(store.PicIndex, 1);

    history->undo();
    EXPECT_EQ(readBytes(folder() / "PicInfo"), picturesBefore);
    EXPECT_EQ(store.PicIndex, 0);
    history->undo();
    EXPECT_EQ(readBytes(folder() / "MusicInfo"), songsBefore);
    EXPECT_EQ(store.MusicCount(), 2);
    EXPECT_EQ(readBytes(folder() / "M1.mp3"), "song1");
    history->redo();
    history->redo();
    EXPECT_EQ(store.MusicCount(), 0);
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P1.jpg", "P0.jpg", "P2.jpg"}));
}

TEST_F(UndoHistoryTest, EditsAreRecordedAfterTheyWereSaved) {
    const ListSnapshot before = captureList(store, ListKind::Pictures);
    history->recordDone(ChangeKind::Edit, before); // nothing changed: nothing recorded
    EXPECT_EQ(history->undoSteps(), 0u);

    store.PicList[2].Title.setText("海边");
    store.PicList[2].StayTime = 9;
    store.SaveInfo("P");
    history->recordDone(ChangeKind::Edit, before);
    ASSERT_EQ(history->undoSteps(), 1u);
    EXPECT_EQ(history->nextUndo()->kind, ChangeKind::Edit);
    EXPECT_EQ(history->nextUndo()->album, "a");

    history->undo();
    const auto stored = recordsFromBytes<TPicInfo>(readBytes(folder() / "PicInfo"));
    EXPECT_EQ(stored[2].Title.text(), "");
    EXPECT_EQ(stored[2].StayTime, 2);
    EXPECT_EQ(store.PicList[2].StayTime, 2);
    history->redo();
    EXPECT_EQ(recordsFromBytes<TPicInfo>(readBytes(folder() / "PicInfo"))[2].Title.text(), "海边");
}

TEST_F(UndoHistoryTest, UndoneImportKeepsItsFilesUntilANewChangeMakesRedoImpossible) {
    const ListSnapshot before = captureList(store, ListKind::Pictures);
    writeBytes(folder() / "P3.jpg", "new");
    store.PicList.push_back(picture("P3.jpg"));
    store.SaveInfo("P");
    history->recordDone(ChangeKind::Import, before);

    history->undo();
    EXPECT_EQ(store.PicCount(), 3);
    EXPECT_FALSE(fs::exists(folder() / "P3.jpg"));
    EXPECT_EQ(keptCount(kept()), 1);
    history->redo();
    EXPECT_EQ(readBytes(folder() / "P3.jpg"), "new");
    EXPECT_EQ(storedNames("PicInfo").back(), "P3.jpg");

    history->undo();
    history->perform(ChangeKind::Move, *plannedMove(store, MediaList::Pictures, 1, MoveDirection::Up));
    EXPECT_EQ(history->redoSteps(), 0u);
    EXPECT_FALSE(fs::exists(kept())); // the undone import's file is gone for good
    EXPECT_EQ(NextFreeFileNumber(folder(), "P", "jpg"), "3");
}

TEST_F(UndoHistoryTest, ANumberFreedByAnUndoableDeletionIsReusedAndBothFilesComeBackInTurn) {
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 0));
    const ListSnapshot before = captureList(store, ListKind::Pictures);
    const std::string number = NextFreeFileNumber(folder(), "P", "jpg");
    ASSERT_EQ(number, "0");
    writeBytes(folder() / "P0.jpg", "imported");
    store.PicList.push_back(picture("P0.jpg"));
    store.SaveInfo("P");
    history->recordDone(ChangeKind::Import, before);

    history->undo(); // the import
    history->undo(); // the deletion
    EXPECT_EQ(readBytes(folder() / "P0.jpg"), "pic0");
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P0.jpg", "P1.jpg", "P2.jpg"}));
    history->redo();
    history->redo();
    EXPECT_EQ(readBytes(folder() / "P0.jpg"), "imported");
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P1.jpg", "P2.jpg", "P0.jpg"}));
    EXPECT_EQ(keptCount(kept()), 1); // the first P0.jpg, while its deletion can be undone
}

TEST_F(UndoHistoryTest, UndoOpensTheAlbumOfTheChange) {
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Songs, 0));
    store.AlbumIndex = 1;
    store.openAlbum(1);
    EXPECT_EQ(history->nextUndo()->album, "a");
    history->undo();
    EXPECT_EQ(store.AlbumIndex, 0);
    EXPECT_EQ(store.AlbumPath(), folder("a"));
    EXPECT_EQ(store.MusicCount(), 2);
    EXPECT_EQ(store.MusicIndex, 0);
    EXPECT_EQ(readBytes(folder() / "M0.mp3"), "song0");
}

TEST_F(UndoHistoryTest, DeletedAlbumFolderIsKeptHiddenInTheStore) {
    history->perform(ChangeKind::DeleteAlbum, *plannedAlbumDeletion(store));
    EXPECT_EQ(storedAlbums(), (Names{"b"}));
    EXPECT_EQ(store.AlbumIndex, 0);
    EXPECT_EQ(store.AlbumPath(), folder("b")); // the album that followed is open
    EXPECT_FALSE(fs::exists(folder("a")));
    EXPECT_EQ(keptCount(root.path() / std::string(kKeptFolderName)), 1);
    EXPECT_EQ(history->nextUndo()->album, "a");

    history->perform(ChangeKind::DeleteAlbum, *plannedAlbumDeletion(store));
    EXPECT_FALSE(fs::exists(root.path() / "Album")); // the last album takes the list file along
    EXPECT_EQ(store.AlbumIndex, -1);

    history->undo();
    EXPECT_EQ(storedAlbums(), (Names{"b"}));
    history->undo();
    EXPECT_EQ(storedAlbums(), (Names{"a", "b"}));
    EXPECT_EQ(store.AlbumIndex, 0);
    EXPECT_EQ(store.PicCount(), 3);
    EXPECT_EQ(readBytes(folder("a") / "P2.jpg"), "pic2");
    EXPECT_FALSE(fs::exists(root.path() / std::string(kKeptFolderName)));

    history->redo();
    history.reset();
    EXPECT_FALSE(fs::exists(folder("a")));
    EXPECT_FALSE(fs::exists(root.path() / std::string(kKeptFolderName)));
    EXPECT_TRUE(fs::exists(folder("b") / "P0.jpg"));
}

TEST_F(UndoHistoryTest, EachAlbumCreatedInOneVisitIsOneChange) {
    const ListSnapshot before = captureList(store, ListKind::Albums);
    createAlbum(store, "c");
    createAlbum(store, "d");
    store.LoadInfo("A");
    history->recordCreatedAlbums(before);
    ASSERT_EQ(history->undoSteps(), 2u);
    EXPECT_EQ(history->nextUndo()->kind, ChangeKind::CreateAlbum);
    EXPECT_EQ(history->nextUndo()->album, "d");

    history->undo();
    EXPECT_EQ(storedAlbums(), (Names{"a", "b", "c"}));
    EXPECT_FALSE(fs::exists(folder("d")));
    EXPECT_EQ(store.AlbumIndex, 2);
    EXPECT_EQ(store.AlbumPath(), folder("c"));
    EXPECT_EQ(checkNewAlbumName(store, "d"), NewNameCheck::Available);
    history->undo();
    EXPECT_EQ(storedAlbums(), (Names{"a", "b"}));
    EXPECT_FALSE(fs::exists(folder("c")));
    history->redo();
    history->redo();
    EXPECT_EQ(storedAlbums(), (Names{"a", "b", "c", "d"}));
    EXPECT_TRUE(fs::exists(folder("d") / "PicInfo"));
    EXPECT_EQ(store.AlbumIndex, 3);
}

TEST_F(UndoHistoryTest, TheOldestChangeFallsOffAndItsFileGoesForGood) {
    history.reset();
    history.emplace(store, 2);
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 0));
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 0));
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 0));
    EXPECT_EQ(history->undoSteps(), 2u);
    EXPECT_EQ(keptCount(kept()), 2);
    history->undo();
    history->undo();
    history->undo(); // nothing left to take back
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P1.jpg", "P2.jpg"}));
    EXPECT_FALSE(fs::exists(folder() / "P0.jpg"));
}

TEST_F(UndoHistoryTest, SixtyStepsGoBackAndForth) {
    const std::string original = readBytes(folder() / "PicInfo");
    std::vector<std::string> orders{original};
    for (int i = 0; i < 60; ++i) {
        history->perform(ChangeKind::Move,
                         *plannedMove(store, MediaList::Pictures, i % 2, MoveDirection::Down));
        orders.push_back(readBytes(folder() / "PicInfo"));
    }
    EXPECT_EQ(history->undoSteps(), 60u);
    for (int i = 60; i > 0; --i) {
        history->undo();
        ASSERT_EQ(readBytes(folder() / "PicInfo"), orders[static_cast<std::size_t>(i - 1)]) << i;
    }
    EXPECT_EQ(history->redoSteps(), 60u);
    for (int i = 0; i < 60; ++i)
        history->redo();
    EXPECT_EQ(readBytes(folder() / "PicInfo"), orders.back());
}

TEST_F(UndoHistoryTest, LeftoversOfARunThatEndedAbruptlyGoAtTheStart) {
    history.reset();
    fs::create_directories(kept("b"));
    writeBytes(kept("b") / "0-P7.jpg", "old");
    fs::create_directories(root.path() / std::string(kKeptFolderName) / "0-gone");
    fs::create_directories(root.path() / "BackPic");
    writeBytes(root.path() / "BackPic" / "bg.jpg", "bg");
    history.emplace(store);
    EXPECT_FALSE(fs::exists(kept("b")));
    EXPECT_FALSE(fs::exists(root.path() / std::string(kKeptFolderName)));
    EXPECT_TRUE(fs::exists(folder("b") / "P0.jpg"));
    EXPECT_EQ(readBytes(root.path() / "BackPic" / "bg.jpg"), "bg");
    // The hidden folder's name can never become an album.
    EXPECT_EQ(checkNewAlbumName(store, std::string(kKeptFolderName)), NewNameCheck::Exists);
}

TEST_F(UndoHistoryTest, TheStoresOwnFilesAreNeverKeptForARecord) {
    std::vector<TPicInfo> pics{picture("PicInfo"), picture("MusicInfo"),
                               picture(std::string(kKeptFolderName))};
    writeRecords(folder() / "PicInfo", pics);
    store.openAlbum(0);
    history->perform(ChangeKind::DeleteAll, plannedDeleteAll(store, MediaList::Pictures));
    EXPECT_EQ(readBytes(folder() / "PicInfo"), "");
    EXPECT_EQ(storedNames("MusicInfo"), (Names{"M0.mp3", "M1.mp3"}));
    history->undo();
    EXPECT_EQ(store.PicCount(), 3);
}

// Every change and every undo whose list cannot be written leaves the lists, the files and the
// folders as they were, and stays where it was in the history.
TEST_F(UndoHistoryTest, AWriteThatFailsChangesNothing) {
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"delete",
         [&] { history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1)); }},
        {"move",
         [&] {
             history->perform(ChangeKind::Move,
                              *plannedMove(store, MediaList::Pictures, 0, MoveDirection::Down));
         }},
        {"delete album", [&] { history->perform(ChangeKind::DeleteAlbum, *plannedAlbumDeletion(store)); }},
    };
    const std::string albums = readBytes(root.path() / "Album");
    const std::string pictures = readBytes(folder() / "PicInfo");
    const std::string songs = readBytes(folder() / "MusicInfo");
    for (const Case& c : cases) {
        {
            FileSizeLimit noWrites(0);
            EXPECT_THROW(c.change(), StoreError) << c.name;
        }
        EXPECT_EQ(readBytes(root.path() / "Album"), albums) << c.name;
        EXPECT_EQ(readBytes(folder() / "PicInfo"), pictures) << c.name;
        EXPECT_EQ(readBytes(folder() / "MusicInfo"), songs) << c.name;
        EXPECT_EQ(store.AlbumCount(), 2) << c.name;
        EXPECT_EQ(store.PicCount(), 3) << c.name;
        EXPECT_EQ(store.MusicCount(), 2) << c.name;
        EXPECT_EQ(readBytes(folder() / "P1.jpg"), "pic1") << c.name;
        EXPECT_EQ(readBytes(folder() / "M0.mp3"), "song0") << c.name;
        EXPECT_FALSE(fs::exists(kept())) << c.name;
        EXPECT_EQ(history->undoSteps(), 0u) << c.name;
    }

    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1));
    {
        FileSizeLimit noWrites(0);
        EXPECT_THROW(history->undo(), StoreError);
    }
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P0.jpg", "P2.jpg"}));
    EXPECT_EQ(pictureNames(), (Names{"P0.jpg", "P2.jpg"}));
    EXPECT_FALSE(fs::exists(folder() / "P1.jpg")); // back in keeping, not lost
    EXPECT_EQ(keptCount(kept()), 1);
    ASSERT_EQ(history->undoSteps(), 1u);
    history->undo();
    EXPECT_EQ(readBytes(folder() / "P1.jpg"), "pic1");
}

// A file standing where the hidden folder belongs: the list was written, the item cannot be
// kept, and the list is written back.
TEST_F(UndoHistoryTest, AnItemThatCannotBeKeptPutsTheListBack) {
    struct Case {
        const char* name;
        fs::path hidden;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"delete", kept(),
         [&] { history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1)); }},
        {"delete all", kept(),
         [&] { history->perform(ChangeKind::DeleteAll, plannedDeleteAll(store, MediaList::Songs)); }},
        {"delete album", root.path() / std::string(kKeptFolderName),
         [&] { history->perform(ChangeKind::DeleteAlbum, *plannedAlbumDeletion(store)); }},
    };
    const std::string albums = readBytes(root.path() / "Album");
    const std::string pictures = readBytes(folder() / "PicInfo");
    const std::string songs = readBytes(folder() / "MusicInfo");
    for (const Case& c : cases) {
        writeBytes(c.hidden, "a file where the hidden folder belongs");
        EXPECT_THROW(c.change(), StoreError) << c.name;
        fs::remove(c.hidden);
        EXPECT_EQ(readBytes(root.path() / "Album"), albums) << c.name;
        EXPECT_EQ(readBytes(folder() / "PicInfo"), pictures) << c.name;
        EXPECT_EQ(readBytes(folder() / "MusicInfo"), songs) << c.name;
        EXPECT_EQ(store.AlbumCount(), 2) << c.name;
        EXPECT_EQ(store.PicCount(), 3) << c.name;
        EXPECT_EQ(store.MusicCount(), 2) << c.name;
        EXPECT_EQ(readBytes(folder() / "P1.jpg"), "pic1") << c.name;
        EXPECT_EQ(readBytes(folder() / "M1.mp3"), "song1") << c.name;
        EXPECT_EQ(history->undoSteps(), 0u) << c.name;
    }
}

TEST_F(UndoHistoryTest, RestoringNeverReplacesWhatAppearedUnderTheName) {
    history->perform(ChangeKind::Delete, *plannedDelete(store, MediaList::Pictures, 1));
    writeBytes(folder() / "P1.jpg", "someone else's");
    EXPECT_THROW(history->undo(), StoreError);
    EXPECT_EQ(readBytes(folder() / "P1.jpg"), "someone else's");
    EXPECT_EQ(storedNames("PicInfo"), (Names{"P0.jpg", "P2.jpg"}));
    EXPECT_EQ(keptCount(kept()), 1);
    EXPECT_EQ(history->undoSteps(), 1u);
}

} // namespace
