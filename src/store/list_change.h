#pragma once
// One list of the store as a whole value, and the one way a list is replaced by another so
// that nothing is lost whatever fails: media files and album folders that the new list names
// come back first, then the list file is rewritten, and only then are the items that no
// record names any more moved into keeping. A failure at any step puts back what the steps
// before it did, so the lists in memory, the list files and the folders keep agreeing.
//
// A picture list carries its pictures' motions with it (the album's "Motion" file, keyed by
// the records' FileName), so that every change of the list and its undo keep each picture's
// motion with the picture.

#include "store/album_store.h"
#include "store/kept_items.h"
#include "store/picture_motion.h"
#include "store/record_file.h"

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vistello::store {

enum class ListKind { Albums, Pictures, Songs };

struct ListSnapshot {
    ListKind kind = ListKind::Albums;
    // Folder name of the album the picture or song list belongs to; empty for the album list.
    std::string album;
    // The records exactly as the list file holds them; shared between the changes of a history.
    std::shared_ptr<const std::string> records = std::make_shared<const std::string>();
    // Pictures only: the motions of the list's pictures as the Motion file's text
    // (list_motions.h); shared like the records. Empty for the other lists, and in a picture
    // list made by hand, which then keeps the album's motions as they are.
    std::shared_ptr<const std::string> motions = std::make_shared<const std::string>();
    int index = -1; // the current entry

    int count() const;
};

// The list of that kind as the store holds it now (pictures and songs: of the open album).
ListSnapshot captureList(const AlbumStore& store, ListKind kind);

// The same list with other records and current index.
template <class Record>
ListSnapshot withRecords(const ListSnapshot& list, const std::vector<Record>& records, int index) {
    ListSnapshot changed = list;
    changed.records = std::make_shared<const std::string>(bytesOfRecords<Record>(records));
    changed.index = index;
    return changed;
}

// The picture list `pictures` with the motion of one picture set: the picture whose record
// stores `fileName` in its FileName (the stored GBK bytes, TPicInfo::FileName.gbk(); trimmed as
// when its file is opened) gets `motion`, and MotionKind::None takes its motion away. Records
// and index stay as they are, so a save of the picture editor sets the record and the motion
// in one list:
//     withMotion(withRecords(captureList(store, ListKind::Pictures), records, row),
//                records[row].FileName.gbk(), motion)
// Carried out by changeList (changeListAtOnce, or UndoHistory::perform(ChangeKind::Edit, ...)),
// the list file and the Motion file are rewritten together or not at all; a change carried
// out with changeListAtOnce is recorded for undo by UndoHistory::recordDone(ChangeKind::Edit,
// before) like any other save of the editor. Nothing when the list is not a picture list, none
// of its records stores that file name, or the motion is refused (a custom rectangle that is
// not on the picture, isOnPicture; an easing outside the enumeration).
std::optional<ListSnapshot> withMotion(const ListSnapshot& pictures, std::string_view fileName,
                                       const PictureMotion& motion);

// The motions a picture list carries (empty for the other lists); get() gives one picture's.
MotionTable motionsOf(const ListSnapshot& list);

// The items a list's records name: album folders, or media files of the album. Names that
// cannot be an item of the folder (the store's own files, paths) are left out.
std::set<std::string> namedItems(ListKind kind, std::string_view records);

// Makes `to` the store's list of its kind, in memory and on disk, from the list as it is now.
// Pictures and songs belong to the open album, which must be to.album. Items that `to` names
// and the current list does not are restored from `kept`; items that only the current list
// names are moved into `kept`. The album list's file is deleted when the list becomes empty.
// A picture list's motions are written to the album's Motion file first, then the list file,
// so the two change together (an album without motions gains no Motion file). Throws
// StoreError with everything as it was.
void changeList(AlbumStore& store, const ListSnapshot& to, KeptItems& kept);

} // namespace vistello::store
