#pragma once
// Editing the picture and song lists of the open album: moving an entry one place or to a new
// place, deleting the current entry or all entries. Each change is planned as the list it
// leaves (plannedMove, plannedMoveTo, plannedDelete, plannedDeleteAll), which an undo history
// can carry out and take back; the plain operations carry it out at once, saving the list
// before any media file goes, so a list that cannot be written costs no file. Moves touch
// records only.

#include "store/album_store.h"
#include "store/list_change.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vistello::store {

enum class MediaList { Pictures, Songs };
enum class MoveDirection { Up, Down };

ListKind listKind(MediaList list);

// The list after moving the entry at `selectedRow` (-1 for none, which moves the first entry
// down) one place, its index the row that holds it afterwards; nothing when the move is not
// possible.
std::optional<ListSnapshot> plannedMove(const AlbumStore& store, MediaList list, int selectedRow,
                                        MoveDirection direction);
// The list after moving the entry at `from` to row `to` (the entries between shift by one
// place), as a row dragged to a new place; its index `to`. Nothing when either row is outside
// the list or they are the same.
std::optional<ListSnapshot> plannedMoveTo(const AlbumStore& store, MediaList list, int from, int to);
// The list without the entry at `selectedRow`, its index the entry that followed (or the new
// last one; -1 when the list is empty); nothing when no row was selected.
std::optional<ListSnapshot> plannedDelete(const AlbumStore& store, MediaList list, int selectedRow);
// The empty list.
ListSnapshot plannedDeleteAll(const AlbumStore& store, MediaList list);
// The picture list after a save of the picture editor: the record at `row` replaced by
// `record` and that picture's motion set to `motion` (MotionKind::None: no motion), its index
// `row`. Carry it out with changeListAtOnce, which rewrites the list file and the Motion file
// together, and record it with UndoHistory::recordDone(ChangeKind::Edit, before); or with
// UndoHistory::perform(ChangeKind::Edit, ...). Nothing when the row is outside the list or the
// motion is refused (see withMotion).
std::optional<ListSnapshot> plannedPictureEdit(const AlbumStore& store, int row, const TPicInfo& record,
                                               const PictureMotion& motion);

// The plans carried out at once, media files deleted for good. Each returns the new current
// index, or nothing when there was nothing to do. Throws StoreError with nothing changed.
std::optional<int> moveEntry(AlbumStore& store, MediaList list, int selectedRow, MoveDirection direction);
std::optional<int> moveEntryTo(AlbumStore& store, MediaList list, int from, int to);
std::optional<int> deleteEntry(AlbumStore& store, MediaList list, int selectedRow);
void deleteAllEntries(AlbumStore& store, MediaList list);

// Carries out a planned list at once: like changeList, with what no record names any more
// deleted for good.
void changeListAtOnce(AlbumStore& store, const ListSnapshot& to);

// Saves the list after an import appended entries from `firstNew` on, whose media files are
// `written`. A picture's file name that the import (re)used starts without motion: what the
// album's Motion file still keeps under it is forgotten first. When the list cannot be saved,
// the batch is taken back: its files go and the list in memory is again the one on disk; the
// StoreError is then thrown on.
void saveImportedBatch(AlbumStore& store, MediaList list, std::size_t firstNew,
                       const std::vector<std::filesystem::path>& written);

} // namespace vistello::store
