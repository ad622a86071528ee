#pragma once
// Room for the video before a run starts: the size its file is expected to take, from the
// format's rates and the video's length, against the space left on the file system it is
// written to. A run that cannot fit is refused before it fills the disk.

#include "production/production_settings.h"

#include <cstdint>
#include <optional>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::production {

struct OutputSpace {
    std::uintmax_t expectedBytes = 0;
    // Free to this user on the output's file system, plus the file the run would replace.
    std::uintmax_t availableBytes = 0;
    bool fits() const { return expectedBytes <= availableBytes; }
};

// The expected size of a video of `frames` frames of `format` at the rate of `options`: a format
// with a constant multiplex rate (VCD) takes that rate; the other discs their average video
// rate and the sound's rate, with an allowance for the headers of every pack. The MP4 formats
// have no fixed rate: their estimate is a generous 0.1 bit per pixel at the default quality,
// doubling for every 6 steps of the rate factor below it, and the sound.
std::uintmax_t expectedVideoBytes(const VideoFormat& format, const EncodeOptions& options,
                                  std::int64_t frames);

// The expected size of the run of `album` with `settings`, and the room for it; nullopt when
// the output's folder cannot be asked (a missing folder: the run then reports its failure).
std::optional<OutputSpace> outputSpace(const store::AlbumStore& album, const ProductionSettings& settings);

} // namespace vistello::production
