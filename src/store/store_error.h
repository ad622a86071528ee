#pragma once
// The input/output error of the album store: carries the operating system's error code and
// names the file, so the window program's top-level handler can show it in an error box.
// Its text is for the user and therefore Chinese, the system's reason included (strerror
// speaks English), such as: 无法创建文件夹“/home/a/旅行”：文件已存在

#include <filesystem>
#include <string>
#include <system_error>

namespace vistello::store {

// What the store was doing when a file operation failed.
enum class StoreAction {
    Open, // opening a file to read it
    Read,
    CreateFile,
    CreateFolder,
    Write,   // rewriting a list file (its temporary copy included)
    Replace, // putting the rewritten copy in the list file's place
    Delete,
    CreateAlbum,   // the name is taken
    NoAlbumFolder, // the open album's name cannot be a folder, so its lists have no place
    Keep,          // moving a deleted item aside, where an undo can bring it back
    Restore,       // bringing a kept item back to its place
    FindAlbum,     // an undo or redo names an album that is no longer in the list
    AlbumNotOpen   // a list change names an album that is not the open one
};

// The operating system's reason for an errno value, in Chinese.
std::string systemErrorText(int errorCode);

class StoreError : public std::system_error {
  public:
    StoreError(int errorCode, StoreAction action, const std::filesystem::path& file);

    const char* what() const noexcept override { return message_.c_str(); }
    const std::filesystem::path& file() const noexcept { return file_; }

  private:
    std::filesystem::path file_;
    std::string message_;
};

} // namespace vistello::store
