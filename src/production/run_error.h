#pragma once
// RunError: why a production run failed or was refused, as data: what failed, on which file
// or row, and the reason. The windows and the command-line tool word it for their users.

#include "store/store_error.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace vistello::production {

enum class RunFailure {
    None,
    // Refused before anything was written (the run's outcome is NotStarted):
    NoFormat,          // no row of the format table chosen
    NoOutput,          // no output file named
    OutputIsFolder,    // file: the output path, which names a folder
    OutputIsAlbumFile, // file: the output path, one of the album's own files
    MusicTooShort,     // synchronisation asked for with too little music
    // Failures during the run:
    Picture,          // file, row: an album picture that cannot be read; reasons: the decoder's
    Background,       // file: a background picture that cannot be read; reasons: the decoder's
    Song,             // file, row, title: a song that cannot be used; code: ENOENT when absent
    OutputNotCreated, // file: the output; code: why its temporary file cannot be made beside it
    OutputNotSaved,   // file: the output; code: why the finished video cannot take its name
    Encoder,          // detail: the encoder's own report (the file could not be written, say)
    OutOfMemory,
    Store,   // file, code, storeAction: a StoreError that reached the run
    Unknown, // detail: what was thrown, when it said anything
};

struct RunError {
    RunError() = default;
    explicit RunError(RunFailure failure, std::filesystem::path failedFile = {})
        : what(failure), file(std::move(failedFile)) {}

    RunFailure what = RunFailure::None;
    std::filesystem::path file;
    int row = -1;      // a picture's or a song's place in the album's list, from 0
    std::string title; // a song's title as the list shows it
    std::error_code code;
    std::vector<std::string> reasons; // a picture decoder's messages, in order
    std::string detail;
    store::StoreAction storeAction = store::StoreAction::Read; // for RunFailure::Store

    explicit operator bool() const { return what != RunFailure::None; }
};

} // namespace vistello::production
