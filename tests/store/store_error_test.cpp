// The store's errors as data: what the store was doing, the system's code and the file it
// failed on (the list itself, never its temporary copy), and a plain what() naming the file.

#include "store_fixture.h"

#include "store/album_operations.h"
#include "store/store_error.h"

#include <cerrno>
#include <optional>

using namespace vistello::store;
using namespace vistello::store::testing;

namespace {

struct Failure {
    StoreAction action;
    int code;
    std::filesystem::path file;
    bool operator==(const Failure&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Failure& f) {
    return out << actionName(f.action) << ' ' << f.code << ' ' << f.file;
}

class StoreErrorTest : public ::testing::Test {
  protected:
    TempRoot root;
    AlbumStore store{root.path()};

    // What the StoreError that `action` throws carries; nothing when it throws none.
    template <class Action> std::optional<Failure> failureOf(Action action) {
        try {
            action();
        } catch (const StoreError& e) {
            // The technical text names what was done and the file, for logs.
            EXPECT_NE(std::string(e.what()).find(actionName(e.action())), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(e.file().string()), std::string::npos) << e.what();
            return Failure{e.action(), e.code().value(), e.file()};
        }
        return std::nullopt;
    }
};

TEST_F(StoreErrorTest, FailuresCarryTheActionTheCodeAndTheFile) {
    std::filesystem::create_directories(root.path() / "Album"); // a folder where the list file belongs
    EXPECT_EQ(failureOf([&] { store.LoadInfo("A"); }),
              (Failure{StoreAction::Read, EISDIR, root.path() / "Album"}));
    std::filesystem::remove(root.path() / "Album");

    AlbumStore missing(root.path() / "gone");
    missing.AlbumList.push_back(album("a"));
    EXPECT_EQ(failureOf([&] { missing.SaveInfo("A"); }),
              (Failure{StoreAction::Write, ENOENT, root.path() / "gone" / "Album"}));

    std::filesystem::create_directories(root.path() / "BackPic");
    EXPECT_EQ(failureOf([&] { createAlbum(store, "BackPic"); }),
              (Failure{StoreAction::CreateAlbum, EEXIST, root.path() / "BackPic"}));

    store.AlbumList.push_back(album("a"));
    {
        FileSizeLimit limit(10); // the list of one album needs 91 bytes
        EXPECT_EQ(failureOf([&] { store.SaveInfo("A"); }),
                  (Failure{StoreAction::Write, EFBIG, root.path() / "Album"}));
    }
    store.AlbumList.clear();

    // A list rewritten in a folder that has gone names the list, not its temporary copy.
    createAlbum(store, "旅行");
    store.openAlbum(0);
    std::filesystem::remove_all(root.path() / "旅行");
    EXPECT_EQ(failureOf([&] { store.SaveInfo("P"); }),
              (Failure{StoreAction::Write, ENOENT, root.path() / "旅行" / "PicInfo"}));
}

} // namespace
