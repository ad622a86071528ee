#include "store/store_error.h"

namespace vistello::store {

const char* actionName(StoreAction action) {
    switch (action) {
    case StoreAction::Open:
        return "open";
    case StoreAction::Read:
        return "read";
    case StoreAction::CreateFile:
        return "create file";
    case StoreAction::CreateFolder:
        return "create folder";
    case StoreAction::Write:
        return "write";
    case StoreAction::Replace:
        return "replace";
    case StoreAction::Delete:
        return "delete";
    case StoreAction::CreateAlbum:
        return "create album";
    case StoreAction::NoAlbumFolder:
        return "no folder for the open album";
    case StoreAction::Keep:
        return "keep for undo";
    case StoreAction::Restore:
        return "restore";
    case StoreAction::FindAlbum:
        return "find album";
    case StoreAction::AlbumNotOpen:
        return "album not open";
    }
    return "access";
}

StoreError::StoreError(int errorCode, StoreAction action, const std::filesystem::path& file)
    : std::system_error(errorCode, std::generic_category(),
                        std::string(actionName(action)) + " \"" + file.string() + "\""),
      action_(action), file_(file) {}

} // namespace vistello::store
