#pragma once
// The input/output error of the album store: what the store was doing, the operating system's
// error code and the file, as data. Its what() is a plain technical line for logs and tests
// ("write \"/home/a/旅行/PicInfo\": No such file or directory"); the words the user reads are
// made above the store, from action(), code() and file() (texts/store_error_text).

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

// The action's name in the technical what(), such as "create folder".
const char* actionName(StoreAction action);

class StoreError : public std::system_error {
  public:
    StoreError(int errorCode, StoreAction action, const std::filesystem::path& file);

    StoreAction action() const noexcept { return action_; }
    const std::filesystem::path& file() const noexcept { return file_; }

  private:
    StoreAction action_;
    std::filesystem::path file_;
};

} // namespace vistello::store
