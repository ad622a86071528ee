// Creating and deleting albums.

#include "store_fixture.h"

#include "../write_failure.h"

#include "store/album_names.h"
#include "store/album_operations.h"
#include "store/store_error.h"

using namespace vistello::store;
using namespace vistello::store::testing;

namespace {

class AlbumOperationsTest : public ::testing::Test {
  protected:
    TempRoot root;
    AlbumStore store{root.path()};
};

TEST_F(AlbumOperationsTest, NameChecks) {
    std::filesystem::create_directories(root.path() / "BackPic");
    writeBytes(root.path() / "Album", "");
    struct Case {
        std::string typed;
        NewNameCheck expected;
    } cases[] = {
        {"", NewNameCheck::Empty},
        {" \t ", NewNameCheck::Empty},
        {"BackPic", NewNameCheck::Exists},
        {"  BackPic ", NewNameCheck::Exists},
        {"Album", NewNameCheck::Exists}, // a file, not a folder: refused all the same
        {".", NewNameCheck::Exists},
        {"..", NewNameCheck::Exists},
        {"a/b", NewNameCheck::Forbidden},
        {"a?b", NewNameCheck::Forbidden},
        {"家庭 2007", NewNameCheck::Available},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkNewAlbumName(store, c.typed), c.expected) << c.typed;
}

TEST_F(AlbumOperationsTest, CreatedAlbumIsTrimmedAndHasItsFolderAndEmptyLists) {
    EXPECT_EQ(createAlbum(store, "  旅行  "), "旅行");
    EXPECT_EQ(createAlbum(store, "second"), "second");
    AlbumStore reread(root.path());
    reread.LoadInfo("A");
    ASSERT_EQ(reread.AlbumCount(), 2);
    EXPECT_EQ(reread.albumName(0), "旅行");
    EXPECT_EQ(readBytes(root.path() / "旅行" / "PicInfo"), "");
    EXPECT_EQ(readBytes(root.path() / "旅行" / "MusicInfo"), "");
}

TEST_F(AlbumOperationsTest, LongNameIsCutSoRecordAndFolderAgree) {
    const std::string typed(60, 'x');
    std::string longName;
    for (int i = 0; i < 50; ++i)
        longName += "长"; // 100 GBK bytes
    const std::string name = createAlbum(store, longName);
    EXPECT_EQ(name.size(), 45u * 3); // 45 characters of 2 GBK / 3 UTF-8 bytes
    EXPECT_TRUE(std::filesystem::is_directory(root.path() / name));
    EXPECT_EQ(store.albumName(0), name);
}

TEST_F(AlbumOperationsTest, TheStoresOwnNamesAreTakenInAnEmptyStoreToo) {
    // Nothing lies in the root yet: no "Album" file, no "BackPic" folder.
    for (const char* typed : {"Album", " album ", "ALBUM", "BackPic", "backpic"})
        EXPECT_EQ(checkNewAlbumName(store, typed), NewNameCheck::Exists) << typed;
    EXPECT_EQ(checkNewAlbumName(store, "Albums"), NewNameCheck::Available);
    EXPECT_THROW(createAlbum(store, "Album"), StoreError);
    EXPECT_THROW(createAlbum(store, "BackPic"), StoreError);
    EXPECT_EQ(store.AlbumCount(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(root.path()));
}

TEST_F(AlbumOperationsTest, ShortenedNamesAreToldWithTheNameTheyGet) {
    std::string fits, tooLong;
    for (int i = 0; i < 45; ++i)
        fits += "长";
    tooLong = fits + "长 x";
    EXPECT_EQ(shortenedAlbumName("  " + fits + "  "), "");
    EXPECT_EQ(shortenedAlbumName(tooLong), fits);
    EXPECT_EQ(shortenedAlbumName(std::string(89, 'a') + " bc"), std::string(89, 'a')); // cut, then trimmed
    EXPECT_EQ(createAlbum(store, tooLong), fits);
}

TEST_F(AlbumOperationsTest, FailedFolderCreationTakesTheRecordBack) {
    createAlbum(store, "keep");
    // A dangling link of the same name is invisible to exists() but blocks mkdir.
    std::filesystem::create_symlink(root.path() / "nowhere", root.path() / "blocked");
    EXPECT_EQ(checkNewAlbumName(store, "blocked"), NewNameCheck::Exists);
    std::filesystem::remove(root.path() / "blocked");
    std::filesystem::create_directories(root.path() / "ro");
    AlbumStore inner(root.path() / "ro" / "missing-root"); // the root itself does not exist
    EXPECT_THROW(createAlbum(inner, "x"), StoreError);
    EXPECT_EQ(inner.AlbumCount(), 0);
    AlbumStore reread(root.path());
    reread.LoadInfo("A");
    EXPECT_EQ(reread.AlbumCount(), 1);
}

TEST_F(AlbumOperationsTest, DeletingSelectsTheFollowingOrTheNewLastAlbum) {
    for (auto name : {"a", "b", "c"})
        createAlbum(store, name);
    store.AlbumIndex = 1;
    store.openAlbum(1);
    deleteCurrentAlbum(store);
    EXPECT_FALSE(std::filesystem::exists(root.path() / "b"));
    ASSERT_EQ(store.AlbumCount(), 2);
    EXPECT_EQ(store.AlbumIndex, 1);
    EXPECT_EQ(store.albumName(1), "c");
    deleteCurrentAlbum(store); // the last one: the one before it becomes current
    EXPECT_EQ(store.AlbumIndex, 0);
    EXPECT_EQ(store.AlbumPath(), root.path() / "a");
    deleteCurrentAlbum(store); // the only one: the list file goes too
    EXPECT_EQ(store.AlbumIndex, -1);
    EXPECT_FALSE(std::filesystem::exists(root.path() / "Album"));
    EXPECT_TRUE(store.AlbumPath().empty());
}

TEST_F(AlbumOperationsTest, HostileRecordNeverDeletesOutsideItsFolder) {
    std::filesystem::create_directories(root.path() / "inner");
    writeBytes(root.path() / "inner" / "precious", "keep");
    for (const std::string& name : std::vector<std::string>{"", ".", "..", "inner/..", "../x"}) {
        TAlbumInfo record;
        record.AlbumName.setGbk(name);
        writeRecords(root.path() / "Album", std::vector{record, album("inner")});
        AlbumStore s(root.path());
        s.LoadInfo("A");
        s.AlbumIndex = 0;
        s.openAlbum(0);
        deleteCurrentAlbum(s);
        EXPECT_EQ(s.AlbumCount(), 1) << name;
        EXPECT_EQ(readBytes(root.path() / "inner" / "precious"), "keep") << name;
        EXPECT_TRUE(std::filesystem::exists(root.path() / "Album")) << name;
    }
    EXPECT_FALSE(DeleteFolder(store, root.path()));
    EXPECT_FALSE(DeleteFolder(store, root.path() / ".."));
    EXPECT_FALSE(DeleteFolder(store, root.path() / "inner" / ".." / ".."));
}

// The album list is rewritten before the folder goes: a list that cannot be written costs no
// picture, and the album stays in the list as on disk.
TEST_F(AlbumOperationsTest, AnAlbumWhoseListCannotBeRewrittenKeepsItsFolder) {
    createAlbum(store, "a");
    createAlbum(store, "b");
    writeBytes(root.path() / "a" / "P0.jpg", "pic");
    writeRecords(root.path() / "a" / "PicInfo", std::vector{picture("P0.jpg")});
    store.AlbumIndex = 0;
    store.openAlbum(0);
    const std::string albums = readBytes(root.path() / "Album");
    {
        vistello::failures::FileSizeLimit noWrites(0);
        EXPECT_THROW(deleteCurrentAlbum(store), StoreError);
    }
    EXPECT_EQ(readBytes(root.path() / "Album"), albums);
    EXPECT_EQ(readBytes(root.path() / "a" / "P0.jpg"), "pic");
    EXPECT_EQ(store.AlbumCount(), 2);
    EXPECT_EQ(store.PicCount(), 1);
    deleteCurrentAlbum(store);
    EXPECT_FALSE(std::filesystem::exists(root.path() / "a"));
    EXPECT_FALSE(std::filesystem::exists(root.path() / ".vistello-undo"));
    EXPECT_EQ(store.albumName(store.AlbumIndex), "b");
}

} // namespace
