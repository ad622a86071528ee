#pragma once
// Importing pictures into the open album: each source file is decoded whatever its kind,
// stored in the album folder as the album's own baseline JPEG copy "P<n>.jpg" (n the
// smallest free number) and appended to the picture list with 3 seconds and the random
// effect; the list is saved once at the end of the batch. Source files are only read.
//
// The run is the import loop of store/import_batch.h with the picture's own step: the import
// dialog and the command-line tool follow it through store::ImportProgress, which is also how
// a user's cancel reaches it.

#include "media/message_sink.h"
#include "store/album_names.h"
#include "store/import_batch.h"

#include <QString>

#include <filesystem>
#include <vector>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::media {

// Decodes `source` with LoadPictureFile and writes it to `destination` as a baseline colour
// JPEG of quality 90 at full size. The file is written under a temporary name and renamed
// into place, so a failure leaves nothing at `destination`. True when the file was written.
bool ConvertPictureToJpeg(const QString& source, const QString& destination, MessageSink& messages);

using store::NextFreeFileNumber;

// Imports `files` in order into the open album of `store` and saves its picture list (also
// after a cancel). With no open album nothing happens. A source that cannot be decoded is
// skipped (SkipReason::NoPicture); a picture that cannot be written into the album ends the
// batch with StoreError naming it, after saving the list with the pictures imported before it.
// When the list cannot be saved, the batch's files are deleted, the list is left as it was, and
// StoreError is thrown. The decoders' messages go to `messages`.
store::ImportResult ImportPictures(store::AlbumStore& store, const std::vector<std::filesystem::path>& files,
                                   store::ImportProgress& progress, MessageSink& messages);

} // namespace vistello::media
