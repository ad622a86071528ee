#include "store/list_operations.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace vistello::store {

namespace {

// Calls f with the list's record array, its current index and its kind letter.
template <class F>
decltype(auto) withList(AlbumStore& store, MediaList list, F&& f) {
    if (list == MediaList::Pictures)
        return f(store.PicList, store.PicIndex, "P");
    return f(store.MusicList, store.MusicIndex, "M");
}

template <class Record>
void deleteMediaFile(const AlbumStore& store, const Record& record) {
    const std::filesystem::path file = store.mediaFile(record.FileName.gbk());
    std::error_code ignored; // a file that cannot be deleted stays; its record goes all the same
    if (!file.empty())
        std::filesystem::remove(file, ignored);
}

} // namespace

std::optional<int> moveEntry(AlbumStore& store, MediaList list, int selectedRow, MoveDirection direction) {
    return withList(store, list, [&](auto& records, int& index, const char* kind) -> std::optional<int> {
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
        index = t;
        store.SaveInfo(kind);
        return t;
    });
}

std::optional<int> deleteEntry(AlbumStore& store, MediaList list, int selectedRow) {
    return withList(store, list, [&](auto& records, int& index, const char* kind) -> std::optional<int> {
        if (selectedRow < 0 || selectedRow >= static_cast<int>(records.size()))
            return std::nullopt;
        index = selectedRow;
        deleteMediaFile(store, records[static_cast<std::size_t>(selectedRow)]);
        records.erase(records.begin() + selectedRow);
        store.SaveInfo(kind);
        index = std::min(index, static_cast<int>(records.size()) - 1);
        return index;
    });
}

void deleteAllEntries(AlbumStore& store, MediaList list) {
    withList(store, list, [&](auto& records, int& index, const char* kind) {
        for (const auto& record : records)
            deleteMediaFile(store, record);
        records.clear();
        index = -1;
        store.SaveInfo(kind);
    });
}

std::string deleteAllQuestion(const AlbumStore& store, MediaList list) {
    if (list == MediaList::Pictures)
        return "本相册共有" + std::to_string(store.PicCount()) + "张图片，确定全部都删除吗？";
    return "本相册共有" + std::to_string(store.MusicCount()) + "首音乐，确定全部都删除吗？";
}

} // namespace vistello::store
