#include "audio/music_import.h"

#include "audio/id3v1.h"
#include "audio/mp3_decoder.h"
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

// One song's turn of the import: the album's copy at `destination`, and its record.
std::variant<store::TMusicInfo, store::SkipReason> importSong(const std::filesystem::path& source,
                                                              const std::filesystem::path& destination) {
    if (!readable(source))
        return store::SkipReason::NotCopied;
    // The length is measured by the decoder the player and the renderer use. A file in
    // which it finds no sound could never be played or rendered, so it is left out
    // like one that cannot be read, before anything is written.
    std::string ignored;
    const auto decoder = Mp3Decoder::open(source, {}, ignored);
    if (!decoder || decoder->lengthFrames() <= 0)
        return store::SkipReason::NoAudio;
    TID3v1 tag;
    tag.ReadFromFile(source);
    copySong(source, destination);
    store::TMusicInfo song;
    // The whole seconds come from the exact double length: a single-precision value can
    // round a song a few samples short of a whole second up to that second.
    const double seconds = decoder->lengthSeconds();
    song.PlayTime = static_cast<std::int32_t>(std::clamp(seconds, 0.0, 2147483647.0));
    song.SongName.setText(source.filename().string());
    song.Singer.setGbk(tag.artist); // tag texts are stored as the bytes they are
    song.Remark.setGbk(tag.comment);
    return song;
}

} // namespace

store::ImportResult ImportMusic(store::AlbumStore& store, const std::vector<std::filesystem::path>& files,
                                store::ImportProgress& progress) {
    return store::importBatch<store::TMusicInfo>(store, files, progress, importSong);
}

} // namespace vistello::audio
