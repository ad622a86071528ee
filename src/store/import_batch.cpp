#include "store/import_batch.h"

#include "store/album_names.h"
#include "store/album_store.h"
#include "store/list_operations.h"
#include "store/store_error.h"

#include <string>

namespace vistello::store {

namespace {

// Where each kind of record goes: its list and the names of the album's copies.
template <class Record> struct Shelf;
template <> struct Shelf<TPicInfo> {
    static constexpr MediaList list = MediaList::Pictures;
    static constexpr std::string_view prefix = "P", extension = "jpg";
    static std::vector<TPicInfo>& records(AlbumStore& store) { return store.PicList; }
};
template <> struct Shelf<TMusicInfo> {
    static constexpr MediaList list = MediaList::Songs;
    static constexpr std::string_view prefix = "M", extension = "mp3";
    static std::vector<TMusicInfo>& records(AlbumStore& store) { return store.MusicList; }
};

} // namespace

template <class Record>
ImportResult importBatch(AlbumStore& store, const std::vector<std::filesystem::path>& files,
                         ImportProgress& progress, const ImportOne<Record>& importOne) {
    using Kind = Shelf<Record>;
    ImportResult result;
    const std::filesystem::path folder = store.AlbumPath();
    if (folder.empty())
        return result;
    std::vector<Record>& records = Kind::records(store);
    const std::size_t firstNew = records.size();
    std::vector<std::filesystem::path> written;
    const auto count = static_cast<int>(files.size());
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            result.cancelled = true;
            break;
        }
        progress.fileStarting(i, count, files[i]);
        std::string storedName(Kind::prefix);
        storedName.append(NextFreeFileNumber(folder, Kind::prefix, Kind::extension))
            .append(".")
            .append(Kind::extension);
        std::variant<Record, SkipReason> imported;
        try {
            imported = importOne(files[i], folder / storedName);
        } catch (const StoreError&) {
            // The files before it stay when the list can be saved with them; the next file
            // would most likely fail the same way.
            if (!written.empty())
                saveImportedBatch(store, Kind::list, firstNew, written);
            throw;
        }
        if (const SkipReason* reason = std::get_if<SkipReason>(&imported)) {
            ++result.skipped;
            progress.fileSkipped(i, files[i], *reason);
            continue;
        }
        written.push_back(folder / storedName);
        Record& record = std::get<Record>(imported);
        record.FileName.setText(storedName);
        records.push_back(record);
        ++result.imported;
    }
    saveImportedBatch(store, Kind::list, firstNew, written);
    return result;
}

template ImportResult importBatch<TPicInfo>(AlbumStore&, const std::vector<std::filesystem::path>&,
                                            ImportProgress&, const ImportOne<TPicInfo>&);
template ImportResult importBatch<TMusicInfo>(AlbumStore&, const std::vector<std::filesystem::path>&,
                                              ImportProgress&, const ImportOne<TMusicInfo>&);

} // namespace vistello::store
