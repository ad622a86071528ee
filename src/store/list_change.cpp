#include "store/list_change.h"

#include "store/album_names.h"
#include "store/gbk_text.h"
#include "store/list_motions.h"
#include "store/store_error.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <unistd.h>
#include <vector>

namespace vistello::store {

namespace fs = std::filesystem;

namespace {

std::size_t recordSize(ListKind kind) {
    switch (kind) {
    case ListKind::Albums:
        return sizeof(TAlbumInfo);
    case ListKind::Pictures:
        return sizeof(TPicInfo);
    case ListKind::Songs:
        break;
    }
    return sizeof(TMusicInfo);
}

// What a record of the list may own and so have moved aside: for an album a folder directly
// under the root that is none of the store's own names; for a picture or song a media file of
// its album, never a list file, a list's temporary copy or a hidden file.
bool mayOwn(ListKind kind, std::string_view name) {
    if (kind == ListKind::Albums)
        return isUsableFolderName(name) && !isReservedAlbumName(name) && name != kKeptFolderName;
    return isMediaFileName(name);
}

template <class Record, class Name>
void collectNames(ListKind kind, std::string_view records, std::set<std::string>& names, Name nameOf) {
    for (const Record& record : recordsFromBytes<Record>(records)) {
        std::string name = trimName(nameOf(record));
        if (mayOwn(kind, name))
            names.insert(std::move(name));
    }
}

// Only what a list can own is ever moved: a folder (or link) for an album, a file (or link)
// for a picture or song; a record naming something else leaves it where it is.
bool isItemOfKind(ListKind kind, const fs::path& path) {
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(path, ec).type();
    if (type == fs::file_type::symlink)
        return true;
    return kind == ListKind::Albums ? type == fs::file_type::directory : type == fs::file_type::regular;
}

fs::path listFolder(const AlbumStore& store, const ListSnapshot& list) {
    if (list.kind == ListKind::Albums)
        return store.RootPath();
    if (store.AlbumPath().empty() || store.AlbumPath().filename().string() != list.album)
        throw StoreError(ENOENT, StoreAction::AlbumNotOpen, store.RootPath() / list.album);
    return store.AlbumPath();
}

void writeList(const AlbumStore& store, const fs::path& folder, const ListSnapshot& list) {
    switch (list.kind) {
    case ListKind::Albums:
        // The album list file goes with the last album, as deleting an album has it.
        if (list.records->empty()) {
            if (::unlink(store.albumListFile().c_str()) != 0 && errno != ENOENT)
                throw StoreError(errno, StoreAction::Delete, store.albumListFile());
            return;
        }
        writeFileAtomically(store.albumListFile(), *list.records);
        return;
    case ListKind::Pictures:
        writeFileAtomically(folder / "PicInfo", *list.records);
        return;
    case ListKind::Songs:
        writeFileAtomically(folder / "MusicInfo", *list.records);
        return;
    }
}

template <class Record> void takeRecords(std::vector<Record>& records, int& index, const ListSnapshot& list) {
    records = recordsFromBytes<Record>(*list.records);
    index = std::clamp(list.index, -1, static_cast<int>(records.size()) - 1);
}

void setMemory(AlbumStore& store, const ListSnapshot& list) {
    switch (list.kind) {
    case ListKind::Albums:
        takeRecords(store.AlbumList, store.AlbumIndex, list);
        return;
    case ListKind::Pictures:
        takeRecords(store.PicList, store.PicIndex, list);
        return;
    case ListKind::Songs:
        takeRecords(store.MusicList, store.MusicIndex, list);
        return;
    }
}

std::vector<std::string> difference(const std::set<std::string>& a, const std::set<std::string>& b) {
    std::vector<std::string> result;
    std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(result));
    return result;
}

} // namespace

int ListSnapshot::count() const {
    return static_cast<int>(records->size() / recordSize(kind));
}

ListSnapshot captureList(const AlbumStore& store, ListKind kind) {
    ListSnapshot list;
    list.kind = kind;
    switch (kind) {
    case ListKind::Albums:
        return withRecords(list, store.AlbumList, store.AlbumIndex);
    case ListKind::Pictures:
        list.album = store.AlbumPath().filename().string();
        list = withRecords(list, store.PicList, store.PicIndex);
        list.motions = std::make_shared<const std::string>(motionsText(store.AlbumPath(), *list.records));
        return list;
    case ListKind::Songs:
        list.album = store.AlbumPath().filename().string();
        return withRecords(list, store.MusicList, store.MusicIndex);
    }
    return list;
}

std::optional<ListSnapshot> withMotion(const ListSnapshot& pictures, std::string_view fileName,
                                       const PictureMotion& motion) {
    if (pictures.kind != ListKind::Pictures)
        return std::nullopt;
    const std::vector<TPicInfo> records = recordsFromBytes<TPicInfo>(*pictures.records);
    const std::string wanted = trimName(gbkToUtf8(fileName));
    const bool listed = std::any_of(records.begin(), records.end(), [&](const TPicInfo& picture) {
        return trimName(gbkToUtf8(picture.FileName.gbk())) == wanted;
    });
    MotionTable motions = motionsOf(pictures);
    if (!listed || !motions.set(fileName, motion))
        return std::nullopt;
    ListSnapshot changed = pictures;
    changed.motions = std::make_shared<const std::string>(motions.serialise(records));
    return changed;
}

MotionTable motionsOf(const ListSnapshot& list) {
    if (list.kind != ListKind::Pictures)
        return {};
    return MotionTable::parse(*list.motions);
}

std::set<std::string> namedItems(ListKind kind, std::string_view records) {
    std::set<std::string> names;
    switch (kind) {
    case ListKind::Albums:
        collectNames<TAlbumInfo>(kind, records, names,
                                 [](const TAlbumInfo& a) { return a.AlbumName.text(); });
        break;
    case ListKind::Pictures:
        collectNames<TPicInfo>(kind, records, names,
                               [](const TPicInfo& p) { return gbkToUtf8(p.FileName.gbk()); });
        break;
    case ListKind::Songs:
        collectNames<TMusicInfo>(kind, records, names,
                                 [](const TMusicInfo& m) { return gbkToUtf8(m.FileName.gbk()); });
        break;
    }
    return names;
}

void changeList(AlbumStore& store, const ListSnapshot& to, KeptItems& kept) {
    const fs::path folder = listFolder(store, to);
    const ListSnapshot from = captureList(store, to.kind);
    const std::set<std::string> namedBefore = namedItems(from.kind, *from.records);
    const std::set<std::string> namedAfter = namedItems(to.kind, *to.records);
    // The motions go with the records: the Motion file is written before the list file and
    // put back whenever the list file ends up as it was. A picture list that says nothing of
    // its motions keeps the album's as they are.
    std::optional<MotionFileRewrite> motions;
    if (to.kind == ListKind::Pictures)
        motions.emplace(folder, to.motions->empty() ? *from.motions : *to.motions, *to.records);
    auto putBackMotions = [&] {
        if (motions)
            motions->putBack(); // when even that fails, the file keeps the new motions
    };

    // Puts restored items back into keeping when a later step fails.
    std::vector<std::string> restored;
    auto keepRestored = [&] {
        for (const std::string& name : restored) {
            try {
                kept[name] = keepItem(folder / name);
            } catch (const StoreError&) {
                // It stays in the folder, unnamed: nothing is lost.
            }
        }
    };

    try {
        for (const std::string& name : difference(namedAfter, namedBefore)) {
            const auto found = kept.find(name);
            if (found == kept.end())
                continue; // was missing when its record went: the record comes back alone
            restoreItem(found->second, folder / name);
            kept.erase(found);
            restored.push_back(name);
        }
        if (motions)
            motions->write();
        try {
            writeList(store, folder, to);
        } catch (...) {
            putBackMotions();
            throw;
        }
    } catch (...) {
        keepRestored();
        throw;
    }

    std::vector<std::string> moved;
    try {
        for (const std::string& name : difference(namedBefore, namedAfter)) {
            if (!isItemOfKind(to.kind, folder / name))
                continue;
            if (const auto old = kept.find(name); old != kept.end())
                discardItem(old->second); // nothing could bring that one back any more
            kept[name] = keepItem(folder / name);
            moved.push_back(name);
        }
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        for (const std::string& name : moved) {
            try {
                restoreItem(kept[name], folder / name);
                kept.erase(name);
            } catch (const StoreError&) {
            }
        }
        try {
            writeList(store, folder, from);
        } catch (const StoreError&) {
            // The new list stays on disk, with its motions, so memory follows it; what was
            // moved back is unnamed.
            setMemory(store, to);
            std::rethrow_exception(failure);
        }
        putBackMotions();
        keepRestored();
        std::rethrow_exception(failure);
    }
    setMemory(store, to);
}

} // namespace vistello::store
