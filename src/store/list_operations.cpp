#include "store/list_operations.h"

#include "store/picture_motion.h"
#include "store/record_file.h"
#include "store/store_error.h"

#include <algorithm>
#include <utility>

namespace vistello::store {

namespace {

// Calls f with the list's record array and its snapshot as the store holds it now.
template <class F> decltype(auto) withList(const AlbumStore& store, MediaList list, F&& f) {
    const ListSnapshot now = captureList(store, listKind(list));
    if (list == MediaList::Pictures)
        return f(store.PicList, now);
    return f(store.MusicList, now);
}

// Forgets the motions kept under the file names of the pictures from `firstNew` on: a number
// freed by a deletion and reused by an import must not bring back the old picture's motion.
// Throws StoreError with the Motion file as it was.
void forgetMotionsOfNewPictures(const AlbumStore& store, std::size_t firstNew) {
    MotionTable motions = MotionTable::load(store.AlbumPath());
    const std::size_t before = motions.size();
    for (std::size_t i = firstNew; i < store.PicList.size(); ++i)
        motions.remove(store.PicList[i].FileName.gbk());
    if (motions.size() != before)
        writeFileAtomically(store.AlbumPath() / kMotionFileName, motions.serialise(store.PicList));
}

} // namespace

ListKind listKind(MediaList list) {
    return list == MediaList::Pictures ? ListKind::Pictures : ListKind::Songs;
}

std::optional<ListSnapshot> plannedMove(const AlbumStore& store, MediaList list, int selectedRow,
                                        MoveDirection direction) {
    return withList(store, list, [&](auto records, const ListSnapshot& now) -> std::optional<ListSnapshot> {
        const int n = static_cast<int>(records.size());
        int s = selectedRow;
        if (n < 2)
            return std::nullopt;
        int t;
        if (direction == MoveDirection::Up) {
            if (s < 1 || s >= n)
                return std::nullopt;
            t = s - 1;
        } else {
            if (s > n - 2)
                return std::nullopt;
            s = std::max(s, 0);
            t = s + 1;
        }
        std::swap(records[static_cast<std::size_t>(s)], records[static_cast<std::size_t>(t)]);
        return withRecords(now, records, t);
    });
}

std::optional<ListSnapshot> plannedMoveTo(const AlbumStore& store, MediaList list, int from, int to) {
    return withList(store, list, [&](auto records, const ListSnapshot& now) -> std::optional<ListSnapshot> {
        const int n = static_cast<int>(records.size());
        if (from < 0 || from >= n || to < 0 || to >= n || from == to)
            return std::nullopt;
        const auto first = records.begin();
        if (from < to)
            std::rotate(first + from, first + from + 1, first + to + 1);
        else
            std::rotate(first + to, first + from, first + from + 1);
        return withRecords(now, records, to);
    });
}

std::optional<ListSnapshot> plannedDelete(const AlbumStore& store, MediaList list, int selectedRow) {
    return withList(store, list, [&](auto records, const ListSnapshot& now) -> std::optional<ListSnapshot> {
        if (selectedRow < 0 || selectedRow >= static_cast<int>(records.size()))
            return std::nullopt;
        records.erase(records.begin() + selectedRow);
        return withRecords(now, records, std::min(selectedRow, static_cast<int>(records.size()) - 1));
    });
}

ListSnapshot plannedDeleteAll(const AlbumStore& store, MediaList list) {
    ListSnapshot empty = captureList(store, listKind(list));
    empty.records = std::make_shared<const std::string>();
    empty.index = -1;
    return empty;
}

std::optional<ListSnapshot> plannedPictureEdit(const AlbumStore& store, int row, const TPicInfo& record,
                                               const PictureMotion& motion) {
    if (row < 0 || row >= store.PicCount())
        return std::nullopt;
    std::vector<TPicInfo> records = store.PicList;
    records[static_cast<std::size_t>(row)] = record;
    return withMotion(withRecords(captureList(store, ListKind::Pictures), records, row),
                      record.FileName.gbk(), motion);
}

void changeListAtOnce(AlbumStore& store, const ListSnapshot& to) {
    KeptItems kept;
    changeList(store, to, kept);
    discardItems(kept);
}

std::optional<int> moveEntry(AlbumStore& store, MediaList list, int selectedRow, MoveDirection direction) {
    const std::optional<ListSnapshot> moved = plannedMove(store, list, selectedRow, direction);
    if (!moved)
        return std::nullopt;
    changeListAtOnce(store, *moved);
    return moved->index;
}

std::optional<int> moveEntryTo(AlbumStore& store, MediaList list, int from, int to) {
    const std::optional<ListSnapshot> moved = plannedMoveTo(store, list, from, to);
    if (!moved)
        return std::nullopt;
    changeListAtOnce(store, *moved);
    return moved->index;
}

std::optional<int> deleteEntry(AlbumStore& store, MediaList list, int selectedRow) {
    const std::optional<ListSnapshot> shorter = plannedDelete(store, list, selectedRow);
    if (!shorter)
        return std::nullopt;
    changeListAtOnce(store, *shorter);
    return shorter->index;
}

void deleteAllEntries(AlbumStore& store, MediaList list) {
    changeListAtOnce(store, plannedDeleteAll(store, list));
}

void saveImportedBatch(AlbumStore& store, MediaList list, std::size_t firstNew,
                       const std::vector<std::filesystem::path>& written) {
    try {
        if (list == MediaList::Pictures && firstNew < store.PicList.size())
            forgetMotionsOfNewPictures(store, firstNew);
        store.SaveInfo(list == MediaList::Pictures ? "P" : "M");
    } catch (const StoreError&) {
        std::error_code ignored;
        for (const std::filesystem::path& file : written)
            std::filesystem::remove(file, ignored);
        if (list == MediaList::Pictures)
            store.PicList.resize(firstNew);
        else
            store.MusicList.resize(firstNew);
        throw;
    }
}

} // namespace vistello::store
