#pragma once
// The album store: the list of albums and the pictures and songs of the open album, held as
// three record arrays with their current indexes, and the files they live in.
//
// One AlbumStore is owned by the application and passed by reference to every window,
// dialog and command; tests make as many as they like over temporary folders. The arrays
// are public because every editor changes them directly and then saves the list back.
// A vector's size is its list's count. Every index is -1 or lies inside its list.

#include "store/records.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace vistello::store {

class AlbumStore {
  public:
    // rootPath is the folder that holds the "Album" file and the album folders.
    explicit AlbumStore(std::filesystem::path rootPath);

    const std::filesystem::path& RootPath() const { return rootPath_; }
    // Folder of the open album; empty when no album is open or its name cannot be a folder.
    const std::filesystem::path& AlbumPath() const { return albumPath_; }

    std::vector<TAlbumInfo> AlbumList;
    std::vector<TPicInfo> PicList;
    std::vector<TMusicInfo> MusicList;
    int AlbumIndex = -1;
    int PicIndex = -1;
    int MusicIndex = -1;

    int AlbumCount() const { return static_cast<int>(AlbumList.size()); }
    int PicCount() const { return static_cast<int>(PicList.size()); }
    int MusicCount() const { return static_cast<int>(MusicList.size()); }

    // Loads "A" (album list), "P" (pictures), "M" (songs), case-insensitive; "" loads all
    // three in that order. A missing file leaves its list and index as they were; a loaded
    // list that is not empty makes its first entry current. Throws StoreError.
    void LoadInfo(std::string_view kind);
    // Rewrites the file of that kind ("" for all three) from its array. Throws StoreError.
    void SaveInfo(std::string_view kind);

    // Opens album `index`: empties the picture and song lists, forms AlbumPath and loads
    // both lists. An album whose name cannot be a folder opens with empty lists.
    void openAlbum(int index);
    // Forgets the open album: no path, empty lists, no current picture or song.
    void closeAlbum();

    // The album's name as shown (UTF-8, as stored) and as its folder name (trimmed).
    std::string albumName(int index) const;
    std::string albumFolderName(int index) const;
    // Folder of album `index`, or empty when its name cannot be a folder.
    std::filesystem::path albumFolder(int index) const;

    std::filesystem::path albumListFile() const { return rootPath_ / "Album"; }
    // A media file of the open album by its stored GBK name, or empty when there is no usable
    // folder or the name is not a media file's (a record may come from anywhere: it may name
    // a path, or one of the store's own files such as "PicInfo").
    std::filesystem::path mediaFile(std::string_view storedName) const;

  private:
    void loadKind(char kind);
    void saveKind(char kind);

    std::filesystem::path rootPath_;
    std::filesystem::path albumPath_;
};

} // namespace vistello::store
