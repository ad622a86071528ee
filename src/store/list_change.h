#pragma once
// One list of the store as a whole value, and the one way a list is replaced by another so
// that nothing is lost whatever fails: media files and album folders that the new list names
// come back first, then the list file is rewritten, and only then are the items that no
// record names any more moved into keeping. A failure at any step puts back what the steps
// before it did, so the lists in memory, the list files and the folders keep agreeing.

#include "store/album_store.h"
#include "store/kept_items.h"
#include "store/record_file.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vistello::store {

enum class ListKind { Albums, Pictures, Songs };

struct ListSnapshot {
    ListKind kind = ListKind::Albums;
    // Folder name of the album the picture or song list belongs to; empty for the album list.
    std::string album;
    // The records exactly as the list file holds them; shared between the changes of a history.
    std::shared_ptr<const std::string> records = std::make_shared<const std::string>();
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

// The items a list's records name: album folders, or media files of the album. Names that
// cannot be an item of the folder (the store's own files, paths) are left out.
std::set<std::string> namedItems(ListKind kind, std::string_view records);

// Makes `to` the store's list of its kind, in memory and on disk, from the list as it is now.
// Pictures and songs belong to the open album, which must be to.album. Items that `to` names
// and the current list does not are restored from `kept`; items that only the current list
// names are moved into `kept`. The album list's file is deleted when the list becomes empty.
// Throws StoreError with everything as it was.
void changeList(AlbumStore& store, const ListSnapshot& to, KeptItems& kept);

} // namespace vistello::store
