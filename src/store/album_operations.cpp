#include "store/album_operations.h"

#include "store/album_names.h"
#include "store/kept_items.h"
#include "store/list_operations.h"
#include "store/store_error.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistello::store {

namespace fs = std::filesystem;

NewNameCheck checkNewAlbumName(const AlbumStore& store, std::string_view typed) {
    const std::string name = albumNameFromTyped(typed);
    if (name.empty())
        return NewNameCheck::Empty;
    if (name.find_first_of(kForbiddenNameCharacters) != std::string::npos || !isUsableFolderName(name))
        return name == "." || name == ".." ? NewNameCheck::Exists : NewNameCheck::Forbidden;
    // The store's own names are taken even before their file or folder exists.
    if (isReservedAlbumName(name))
        return NewNameCheck::Exists;
    std::error_code ec;
    if (name == kKeptFolderName ||
        fs::symlink_status(store.RootPath() / name, ec).type() != fs::file_type::not_found)
        return NewNameCheck::Exists;
    return NewNameCheck::Available;
}

namespace {

void createEmptyFile(const fs::path& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw StoreError(errno, StoreAction::CreateFile, file);
    ::close(fd);
}

fs::path withoutTrailingSeparator(const fs::path& p) {
    return (!p.has_filename() && p.has_parent_path()) ? p.parent_path() : p;
}

} // namespace

std::string createAlbum(AlbumStore& store, std::string_view typed) {
    const std::string name = albumNameFromTyped(typed);
    if (checkNewAlbumName(store, name) != NewNameCheck::Available)
        throw StoreError(EEXIST, StoreAction::CreateAlbum, store.RootPath() / name);

    TAlbumInfo record;
    record.AlbumName.setText(name);
    store.AlbumList.push_back(record);
    try {
        store.SaveInfo("A");
    } catch (...) {
        store.AlbumList.pop_back();
        throw;
    }

    const fs::path folder = store.RootPath() / name;
    try {
        if (::mkdir(folder.c_str(), 0755) != 0)
            throw StoreError(errno, StoreAction::CreateFolder, folder);
        createEmptyFile(folder / "PicInfo");
        createEmptyFile(folder / "MusicInfo");
    } catch (...) {
        // Take the record back so the list never names an album without its folder.
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        store.AlbumList.pop_back();
        if (store.AlbumList.empty())
            fs::remove(store.albumListFile(), ignored);
        else
            store.SaveInfo("A");
        throw;
    }
    return name;
}

std::optional<ListSnapshot> plannedAlbumDeletion(const AlbumStore& store) {
    const int index = store.AlbumIndex;
    if (index < 0 || index >= store.AlbumCount())
        return std::nullopt;
    std::vector<TAlbumInfo> albums = store.AlbumList;
    albums.erase(albums.begin() + index);
    // The album that followed the deleted one becomes current, or the new last one.
    return withRecords(captureList(store, ListKind::Albums), albums,
                       std::min(index, static_cast<int>(albums.size()) - 1));
}

void deleteCurrentAlbum(AlbumStore& store) {
    const std::optional<ListSnapshot> shorter = plannedAlbumDeletion(store);
    if (!shorter)
        return;
    // The list is rewritten (or deleted with the last album) before the folder goes.
    changeListAtOnce(store, *shorter);
    store.openAlbum(store.AlbumIndex);
}

bool DeleteFolder(const AlbumStore& store, const fs::path& folder) {
    const fs::path normal = withoutTrailingSeparator(folder.lexically_normal());
    const fs::path root = withoutTrailingSeparator(store.RootPath().lexically_normal());
    if (normal.parent_path() != root || !isUsableFolderName(normal.filename().string()))
        return false;
    std::error_code ec;
    if (fs::symlink_status(normal, ec).type() != fs::file_type::directory)
        return false;
    fs::remove_all(normal, ec);
    return !ec && !fs::exists(normal, ec);
}

} // namespace vistello::store
