#pragma once
// Creating and deleting albums: the checks of a new name, the creation of the record, the
// folder and its two empty lists, and the deletion of the open album with its folder.

#include "store/album_store.h"
#include "store/list_change.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vistello::store {

enum class NewNameCheck {
    Empty,     // nothing but blanks typed
    Exists,    // something of that name lies in the root folder already (folder or file), or
               // the name is one the store keeps for itself ("Album", "BackPic")
    Forbidden, // holds a character that cannot stand in a folder name
    Available,
};

// Checks a typed name against the root folder (not against the album list).
NewNameCheck checkNewAlbumName(const AlbumStore& store, std::string_view typed);

// Creates the album named by `typed` (which must check Available): appends its record,
// rewrites the album list, creates the folder with empty "PicInfo" and "MusicInfo". If the
// folder or its files cannot be made, the record is taken back and StoreError is thrown.
// Returns the album's name.
std::string createAlbum(AlbumStore& store, std::string_view typed);

// The album list without the open album (AlbumIndex), its index the album that followed it
// (or the new last one, -1 when none is left); nothing when no album is open.
std::optional<ListSnapshot> plannedAlbumDeletion(const AlbumStore& store);

// Deletes the open album (AlbumIndex): its record and, with the last album, the album list
// file, and then its folder; makes the next album (or the new last one) current and opens it.
// Throws StoreError with nothing changed when the list cannot be rewritten.
void deleteCurrentAlbum(AlbumStore& store);

// Deletes a folder with everything in it; true when it is gone. Only an album folder
// directly inside the store's root is ever deleted, never the root itself.
bool DeleteFolder(const AlbumStore& store, const std::filesystem::path& folder);

} // namespace vistello::store
