#pragma once
// Importing pictures into the open album: each source file is decoded whatever its kind,
// stored in the album folder as the album's own baseline JPEG copy "P<n>.jpg" (n the
// smallest free number) and appended to the picture list with 3 seconds and the random
// effect; the list is saved once at the end of the batch. Source files are only read.
//
// The run is widget-free: the import dialog and the command-line tool follow it through
// ImportProgress, which is also how a user's cancel reaches it.

#include "media/message_sink.h"
#include "store/album_names.h"

#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>
#include <string_view>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::media {

// Decodes `source` with LoadPictureFile and writes it to `destination` as a baseline colour
// JPEG of quality 90 at full size. The file is written under a temporary name and renamed
// into place, so a failure leaves nothing at `destination`. True when the file was written.
bool ConvertPictureToJpeg(const QString& source, const QString& destination, MessageSink& messages);

using store::NextFreeFileNumber;

// Follows an import run. cancelled() is asked at the top of each file's turn, so a cancel
// given while a file is converted takes effect before the next one.
class ImportProgress {
  public:
    virtual ~ImportProgress() = default;
    virtual bool cancelled() const { return false; }
    // File `index` (from 0) of `count` is about to be converted.
    virtual void fileStarting(int index, int count, const QString& path) {
        (void)index, (void)count, (void)path;
    }
};

struct ImportResult {
    int imported = 0;       // records appended
    int skipped = 0;        // files that could not be converted
    bool cancelled = false; // the run stopped before its last file
};

// Imports `files` in order into the open album of `store` and saves its picture list (also
// after a cancel). With no open album nothing happens. A source that cannot be decoded is
// skipped; a picture that cannot be written into the album ends the batch with StoreError
// naming it, after saving the list with the pictures imported before it. When the list cannot
// be saved, the batch's files are deleted, the list is left as it was, and StoreError is thrown.
ImportResult ImportPictures(store::AlbumStore& store, const QStringList& files, ImportProgress& progress,
                            MessageSink& messages);

} // namespace vistello::media
