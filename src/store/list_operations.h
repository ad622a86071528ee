#pragma once
// Editing the picture and song lists of the open album: moving an entry one place, deleting
// the current entry or all entries. Each change is saved at once; media files are deleted
// with their entries, moves touch records only.

#include "store/album_store.h"

#include <optional>
#include <string>

namespace vistello::store {

enum class MediaList { Pictures, Songs };
enum class MoveDirection { Up, Down };

// Moves the entry at `selectedRow` (-1 for none, which moves the first entry down) one place.
// Returns the row that holds it afterwards, which becomes the current index, or nothing
// when the move is not possible.
std::optional<int> moveEntry(AlbumStore& store, MediaList list, int selectedRow, MoveDirection direction);

// Deletes the entry at `selectedRow` and its file. Returns the new current index (the entry
// that followed, or the new last one; -1 when the list is empty), or nothing when no row
// was selected.
std::optional<int> deleteEntry(AlbumStore& store, MediaList list, int selectedRow);

// Deletes every entry of the list and its file, and leaves an empty list file.
void deleteAllEntries(AlbumStore& store, MediaList list);

// The question asked before deleting all entries of the list.
std::string deleteAllQuestion(const AlbumStore& store, MediaList list);

} // namespace vistello::store
