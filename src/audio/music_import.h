#pragma once
// Importing songs into the open album: each MP3 file is measured by the MP3 decoder the
// player uses, copied unchanged into the album folder as "M<n>.mp3" (n the smallest free
// number), its ID3v1 tag read, and a TMusicInfo appended to the song list; the list is saved
// once at the end of the batch, also after a cancel. A file with no decodable sound is left
// out, as is one that cannot be copied. Source files are only read.
//
// The run is widget-free: the import dialog and the command-line tool follow it through
// MusicImportProgress, which is also how a user's cancel reaches it.

#include "store/album_names.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::audio {

using store::NextFreeFileNumber;

// Why a file was left out of the import.
enum class SkipReason {
    NotCopied, // it could not be read or copied into the album folder
    NoAudio,   // the decoder finds no MP3 sound in it
};

class MusicImportProgress {
  public:
    virtual ~MusicImportProgress() = default;
    // Asked at the top of each file's turn: a cancel given during a file stops the next one.
    virtual bool cancelled() const { return false; }
    // File `index` (from 0) of `count` is about to be imported.
    virtual void fileStarting(int index, int count, const std::filesystem::path& path) {
        (void)index, (void)count, (void)path;
    }
    // File `index` was left out (the dialog says nothing of it).
    virtual void fileSkipped(int index, const std::filesystem::path& path, SkipReason reason) {
        (void)index, (void)path, (void)reason;
    }
};

struct MusicImportResult {
    int imported = 0;       // records appended (the last `imported` entries of MusicList)
    int skipped = 0;        // files left out: not copied, or without decodable sound
    bool cancelled = false; // the run stopped before its last file
};

// Imports `files` in order into the open album of `store` and saves its song list. With no
// open album nothing happens. A source that cannot be read is skipped; a song that cannot be
// written into the album ends the batch with StoreError naming it, after saving the list with
// the songs imported before it. When the list cannot be saved, the batch's files are deleted,
// the list is left as it was, and StoreError is thrown.
MusicImportResult ImportMusic(store::AlbumStore& store, const std::vector<std::filesystem::path>& files,
                              MusicImportProgress& progress);

} // namespace vistello::audio
