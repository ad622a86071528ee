#include "store/album_store.h"

#include "store/album_names.h"
#include "store/record_file.h"
#include "store/store_error.h"

#include <cctype>
#include <cerrno>

namespace vistello::store {

namespace {

// Reads one list into `list`: a missing file changes nothing, a list with records makes
// its first entry current.
template <class Record>
void loadList(const std::filesystem::path& file, std::vector<Record>& list, int& index) {
    if (file.empty())
        return;
    std::optional<std::string> bytes = readFileIfExists(file);
    if (!bytes)
        return;
    list = recordsFromBytes<Record>(*bytes);
    if (!list.empty())
        index = 0;
}

template <class Record> void saveList(const std::filesystem::path& file, const std::vector<Record>& list) {
    writeFileAtomically(file, bytesOfRecords<Record>(list));
}

} // namespace

AlbumStore::AlbumStore(std::filesystem::path rootPath) : rootPath_(std::move(rootPath)) {}

void AlbumStore::LoadInfo(std::string_view kind) {
    if (kind.empty()) {
        for (char k : {'A', 'P', 'M'})
            loadKind(k);
        return;
    }
    loadKind(static_cast<char>(std::toupper(static_cast<unsigned char>(kind.front()))));
}

void AlbumStore::SaveInfo(std::string_view kind) {
    if (kind.empty()) {
        for (char k : {'A', 'P', 'M'})
            saveKind(k);
        return;
    }
    saveKind(static_cast<char>(std::toupper(static_cast<unsigned char>(kind.front()))));
}

void AlbumStore::loadKind(char kind) {
    switch (kind) {
    case 'A':
        loadList(albumListFile(), AlbumList, AlbumIndex);
        break;
    case 'P':
        loadList(albumPath_.empty() ? albumPath_ : albumPath_ / "PicInfo", PicList, PicIndex);
        break;
    case 'M':
        loadList(albumPath_.empty() ? albumPath_ : albumPath_ / "MusicInfo", MusicList, MusicIndex);
        break;
    default:
        break;
    }
}

void AlbumStore::saveKind(char kind) {
    if (kind == 'A') {
        saveList(albumListFile(), AlbumList);
        return;
    }
    if (kind != 'P' && kind != 'M')
        return;
    // An album whose name cannot be a folder has nowhere to keep its lists.
    if (albumPath_.empty())
        throw StoreError(ENOENT, StoreAction::NoAlbumFolder, rootPath_);
    if (kind == 'P')
        saveList(albumPath_ / "PicInfo", PicList);
    else
        saveList(albumPath_ / "MusicInfo", MusicList);
}

void AlbumStore::openAlbum(int index) {
    closeAlbum();
    if (index < 0 || index >= AlbumCount())
        return;
    albumPath_ = albumFolder(index);
    LoadInfo("P");
    LoadInfo("M");
}

void AlbumStore::closeAlbum() {
    albumPath_.clear();
    PicList.clear();
    MusicList.clear();
    PicIndex = -1;
    MusicIndex = -1;
}

std::string AlbumStore::albumName(int index) const {
    return AlbumList.at(static_cast<std::size_t>(index)).AlbumName.text();
}

std::string AlbumStore::albumFolderName(int index) const {
    return trimName(albumName(index));
}

std::filesystem::path AlbumStore::albumFolder(int index) const {
    const std::string name = albumFolderName(index);
    if (!isUsableFolderName(name))
        return {};
    return rootPath_ / name;
}

std::filesystem::path AlbumStore::mediaFile(std::string_view storedName) const {
    const std::string name = trimName(gbkToUtf8(storedName));
    if (albumPath_.empty() || !isMediaFileName(name))
        return {};
    return albumPath_ / name;
}

} // namespace vistello::store
