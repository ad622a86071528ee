#pragma once
// Importing songs into the open album: each MP3 file is measured by the MP3 decoder the
// player uses, copied unchanged into the album folder as "M<n>.mp3" (n the smallest free
// number), its ID3v1 tag read, and a TMusicInfo appended to the song list; the list is saved
// once at the end of the batch, also after a cancel. A file with no decodable sound is left
// out, as is one that cannot be copied. Source files are only read.
//
// The run is the import loop of store/import_batch.h with the song's own step: the import
// dialog and the command-line tool follow it through store::ImportProgress, which is also how
// a user's cancel reaches it.

#include "store/album_names.h"
#include "store/import_batch.h"

#include <filesystem>
#include <vector>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::audio {

using store::NextFreeFileNumber;

// Imports `files` in order into the open album of `store` and saves its song list. With no
// open album nothing happens. A source that cannot be read is skipped (SkipReason::NotCopied),
// as is one in which the decoder finds no sound (SkipReason::NoAudio); a song that cannot be
// written into the album ends the batch with StoreError naming it, after saving the list with
// the songs imported before it. When the list cannot be saved, the batch's files are deleted,
// the list is left as it was, and StoreError is thrown.
store::ImportResult ImportMusic(store::AlbumStore& store, const std::vector<std::filesystem::path>& files,
                                store::ImportProgress& progress);

} // namespace vistello::audio
