#include "store/kept_items.h"

#include "store/store_error.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace vistello::store {

namespace fs = std::filesystem;

namespace {

bool standsThere(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found;
}

// Renames without ever replacing what stands at `to`: the check and the rename are one call
// where the file system offers it.
int renameNoReplace(const fs::path& from, const fs::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    if (standsThere(to))
        return EEXIST;
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

void removeEmptyFolder(const fs::path& folder) {
    std::error_code ec;
    if (fs::is_empty(folder, ec) && !ec)
        fs::remove(folder, ec);
}

} // namespace

fs::path keepItem(const fs::path& item) {
    const fs::path folder = item.parent_path() / std::string(kKeptFolderName);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        throw StoreError(errno, StoreAction::CreateFolder, folder);
    const std::string name = item.filename().string();
    for (unsigned n = 0;; ++n) {
        const fs::path kept = folder / (std::to_string(n) + "-" + name);
        const int error = renameNoReplace(item, kept);
        if (error == 0)
            return kept;
        if (error != EEXIST && error != ENOTEMPTY) {
            removeEmptyFolder(folder);
            throw StoreError(error, StoreAction::Keep, item);
        }
    }
}

void restoreItem(const fs::path& kept, const fs::path& destination) {
    if (const int error = renameNoReplace(kept, destination); error != 0)
        throw StoreError(error, StoreAction::Restore, destination);
    removeEmptyFolder(kept.parent_path());
}

void discardItem(const fs::path& kept) {
    std::error_code ec;
    fs::remove_all(kept, ec);
    removeEmptyFolder(kept.parent_path());
}

void discardItems(KeptItems& items) {
    for (const auto& [name, kept] : items)
        discardItem(kept);
    items.clear();
}

void removeKeptFolders(const fs::path& root) {
    std::error_code ec;
    fs::remove_all(root / std::string(kKeptFolderName), ec);
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code entryError;
        // Only real folders: a link to a folder elsewhere is not looked into.
        if (it->symlink_status(entryError).type() == fs::file_type::directory)
            fs::remove_all(it->path() / std::string(kKeptFolderName), entryError);
    }
}

} // namespace vistello::store
