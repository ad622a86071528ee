// The store's errors as the user reads them: Chinese, naming the file, with the system's reason.

#include "../store/store_fixture.h"

#include "production/run_error.h"
#include "store/album_operations.h"
#include "store/store_error.h"
#include "texts/run_error_text.h"
#include "texts/store_error_text.h"

#include <cerrno>

using namespace vistello;
using namespace vistello::store;
using namespace vistello::store::testing;
using vistello::texts::storeErrorText;
using vistello::texts::systemErrorText;

namespace {

class StoreErrorTest : public ::testing::Test {
  protected:
    TempRoot root;
    AlbumStore store{root.path()};

    // The words for the StoreError that `action` throws, with its code.
    template <class Action> std::pair<std::string, int> errorOf(Action action) {
        try {
            action();
        } catch (const StoreError& e) {
            return {storeErrorText(e), e.code().value()};
        }
        return {"<no error>", 0};
    }
    std::string quoted(const std::filesystem::path& file) const { return "“" + file.string() + "”"; }
};

TEST_F(StoreErrorTest, SystemReasonsAreChinese) {
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {EPERM, "不允许的操作"},   {ENOENT, "没有那个文件或文件夹"}, {EACCES, "权限不够"},
        {EEXIST, "文件已存在"},    {EISDIR, "这是一个文件夹"},       {ENOSPC, "磁盘空间不足"},
        {EROFS, "只读文件系统"},   {EDQUOT, "超出磁盘配额"},         {EIO, "输入/输出错误"},
        {99999, "系统错误 99999"}, // a code the table does not know still says which it is
    };
    for (const auto& c : cases)
        EXPECT_EQ(systemErrorText(c.code), c.text) << c.code;
}

TEST_F(StoreErrorTest, FailuresNameTheFileInChinese) {
    std::filesystem::create_directories(root.path() / "Album"); // a folder where the list file belongs
    EXPECT_EQ(errorOf([&] { store.LoadInfo("A"); }),
              std::pair("无法读取" + quoted(root.path() / "Album") + "：这是一个文件夹", EISDIR));
    std::filesystem::remove(root.path() / "Album");

    AlbumStore missing(root.path() / "gone");
    missing.AlbumList.push_back(album("a"));
    EXPECT_EQ(
        errorOf([&] { missing.SaveInfo("A"); }),
        std::pair("无法写入" + quoted(root.path() / "gone" / "Album") + "：没有那个文件或文件夹", ENOENT));

    std::filesystem::create_directories(root.path() / "BackPic");
    EXPECT_EQ(errorOf([&] { createAlbum(store, "BackPic"); }),
              std::pair("无法创建相册" + quoted(root.path() / "BackPic") + "：文件已存在", EEXIST));

    store.AlbumList.push_back(album("a"));
    {
        FileSizeLimit limit(10); // the list of one album needs 91 bytes
        EXPECT_EQ(errorOf([&] { store.SaveInfo("A"); }),
                  std::pair("无法写入" + quoted(root.path() / "Album") + "：文件过大", EFBIG));
    }
    store.AlbumList.clear();

    // A list rewritten in a folder that has gone names the list, not its temporary copy.
    createAlbum(store, "旅行");
    store.openAlbum(0);
    std::filesystem::remove_all(root.path() / "旅行");
    EXPECT_EQ(
        errorOf([&] { store.SaveInfo("P"); }),
        std::pair("无法写入" + quoted(root.path() / "旅行" / "PicInfo") + "：没有那个文件或文件夹", ENOENT));
}

// A store failure during a production run comes back as data and reads as the windows' box.
TEST_F(StoreErrorTest, AStoreFailureOfARunReadsAsTheStoresOwn) {
    production::RunError error(production::RunFailure::Store, root.path() / "旅行" / "Motion");
    error.code = std::error_code(EACCES, std::generic_category());
    error.storeAction = StoreAction::Read;
    EXPECT_EQ(texts::runErrorText(error),
              "无法读取" + quoted(root.path() / "旅行" / "Motion") + "：权限不够");
    EXPECT_EQ(texts::runErrorText(error),
              storeErrorText(StoreError(EACCES, StoreAction::Read, root.path() / "旅行" / "Motion")));
}

} // namespace
