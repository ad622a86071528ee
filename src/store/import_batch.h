#pragma once
// The import loop that pictures and songs share. For each source file in order it asks whether
// the user cancelled, reports the file, names the album's copy after the smallest free number
// ("P<n>.jpg" for a picture, "M<n>.mp3" for a song), lets the kind's own step convert or copy
// the file there and describe it, and appends that record to the list. The list is saved once
// at the end of the batch (saveImportedBatch), also after a cancel. Source files are only read.
//
// The loop knows no Qt and no file kind: the picture import (media/) and the music import
// (audio/) hand it their per-file step, and the windows and the command-line tool follow every
// import through the one ImportProgress, which is also how a user's cancel reaches it.

#include "store/records.h"

#include <filesystem>
#include <functional>
#include <variant>
#include <vector>

namespace vistello::store {

class AlbumStore;

// Why a file was left out of an import.
enum class SkipReason {
    NotCopied, // it could not be read or copied into the album folder
    NoAudio,   // the MP3 decoder finds no sound in it
    NoPicture, // no picture decoder could read it
};

class ImportProgress {
  public:
    virtual ~ImportProgress() = default;
    // Asked at the top of each file's turn: a cancel given during a file stops the next one.
    virtual bool cancelled() const { return false; }
    // File `index` (from 0) of `count` is about to be imported.
    virtual void fileStarting(int index, int count, const std::filesystem::path& path) {
        (void)index, (void)count, (void)path;
    }
    // File `index` was left out (the windows say nothing of it).
    virtual void fileSkipped(int index, const std::filesystem::path& path, SkipReason reason) {
        (void)index, (void)path, (void)reason;
    }
};

struct ImportResult {
    int imported = 0;       // records appended (the last `imported` entries of the list)
    int skipped = 0;        // files left out
    bool cancelled = false; // the run stopped before its last file
};

// One file's turn: writes the album's copy of `source` at `destination` and returns its record
// (the loop fills in FileName), or says why the file was left out, having written nothing.
// A copy that cannot be written is thrown as StoreError naming `destination`.
template <class Record>
using ImportOne = std::function<std::variant<Record, SkipReason>(const std::filesystem::path& source,
                                                                 const std::filesystem::path& destination)>;

// Imports `files` in order into the open album of `store`: Record TPicInfo fills the picture
// list, TMusicInfo the song list, which is saved at the end. With no open album nothing
// happens. When `importOne` throws StoreError the batch ends: the list is saved with the files
// imported before it, and the error is thrown on. When the list cannot be saved, the batch's
// files are deleted, the list is left as it was, and StoreError is thrown.
template <class Record>
ImportResult importBatch(AlbumStore& store, const std::vector<std::filesystem::path>& files,
                         ImportProgress& progress, const ImportOne<Record>& importOne);

extern template ImportResult importBatch<TPicInfo>(AlbumStore&, const std::vector<std::filesystem::path>&,
                                                   ImportProgress&, const ImportOne<TPicInfo>&);
extern template ImportResult importBatch<TMusicInfo>(AlbumStore&, const std::vector<std::filesystem::path>&,
                                                     ImportProgress&, const ImportOne<TMusicInfo>&);

} // namespace vistello::store
