#include "audio/music_import.h"

#include "audio/id3v1.h"
#include "audio/mp3_decoder.h"
#include "store/album_store.h"
#include "store/list_operations.h"
#include "store/store_error.h"

#include <algorithm>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace vistello::audio {

namespace {

// A song that can be read: anything else is skipped without a word.
bool readable(const std::filesystem::path& source) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error))
        return false;
    const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
}

// Copies a readable `source` to `destination`, replacing a file of that name; a failed copy
// leaves no partial file behind and is thrown as StoreError naming the destination.
void copySong(const std::filesystem::path& source, const std::filesystem::path& destination) {
    std::error_code error;
    if (std::filesystem::copy_file(source, destination, std::filesystem::copy_options::overwrite_existing,
                                   error))
        return;
    std::error_code ignored;
    std::filesystem::remove(destination, ignored);
    throw store::StoreError(error.value(), store::StoreAction::Write, destination);
}

} // namespace

MusicImportResult ImportMusic(store::AlbumStore& store, const std::vector<std::filesystem::path>& files,
                              MusicImportProgress& progress) {
    MusicImportResult result;
    const std::filesystem::path folder = store.AlbumPath();
    if (folder.empty())
        return result;
    TID3v1 tag;
    const std::size_t firstNew = store.MusicList.size();
    std::vector<std::filesystem::path> written;
    const auto count = static_cast<int>(files.size());
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            result.cancelled = true;
            break;
        }
        progress.fileStarting(i, count, files[i]);
        std::string storedName = "M";
        storedName.append(NextFreeFileNumber(folder, "M", "mp3")).append(".mp3");
        const auto skip = [&](SkipReason reason) {
            ++result.skipped;
            progress.fileSkipped(i, files[i], reason);
        };
        if (!readable(files[i])) {
            skip(SkipReason::NotCopied);
            continue;
        }
        // The length is measured by the decoder the player and the renderer use. A file in
        // which it finds no sound could never be played or rendered, so it is left out
        // like one that cannot be read, before anything is written.
        std::string ignored;
        const auto decoder = Mp3Decoder::open(files[i], {}, ignored);
        if (!decoder || decoder->lengthFrames() <= 0) {
            skip(SkipReason::NoAudio);
            continue;
        }
        tag.ReadFromFile(files[i]);
        try {
            copySong(files[i], folder / storedName);
        } catch (const store::StoreError&) {
            // The songs before it stay when the list can be saved with them.
            if (!written.empty())
                store::saveImportedBatch(store, store::MediaList::Songs, firstNew, written);
            throw;
        }
        written.push_back(folder / storedName);
        store::TMusicInfo song;
        // The whole seconds come from the exact double length: a single-precision value can
        // round a song a few samples short of a whole second up to that second.
        const double seconds = decoder->lengthSeconds();
        song.PlayTime = static_cast<std::int32_t>(std::clamp(seconds, 0.0, 2147483647.0));
        song.FileName.setText(storedName);
        song.SongName.setText(files[i].filename().string());
        song.Singer.setGbk(tag.artist); // tag texts are stored as the bytes they are
        song.Remark.setGbk(tag.comment);
        store.MusicList.push_back(song);
        ++result.imported;
    }
    store::saveImportedBatch(store, store::MediaList::Songs, firstNew, written);
    return result;
}

} // namespace vistello::audio
