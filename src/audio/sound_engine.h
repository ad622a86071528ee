#pragma once
// SoundEngine is what the MP3 player needs from an audio engine: one current stream opened
// from a file, its decoded length, its position in file bytes, playback control, seeking in
// decoded bytes and the spectrum of what is heard now. AudioEngine is the real one; tests of
// the player put a scripted engine in its place.
//
// Units: decoded bytes are 16-bit samples of the file's own rate and channel count; file
// positions are bytes of the MP3 file. A stream that could not be opened has every length 0.

#include <array>
#include <cstdint>
#include <filesystem>

namespace vistello::audio {

// Magnitudes of a 512-point transform: element k is the bin at k × rate / 512 Hz, and a
// full-scale sine reads about 1.0 in its bin.
using SpectrumData = std::array<float, 256>;

class SoundEngine {
  public:
    virtual ~SoundEngine() = default;

    // Opens `path` as the current stream, releasing the one before; it starts paused at 0.
    virtual void open(const std::filesystem::path& path) = 0;
    virtual std::uint64_t lengthBytes() const = 0;
    virtual double bytesToSeconds(std::uint64_t bytes) const = 0;
    virtual std::int64_t fileLength() const = 0;
    // Position of what is heard now, in file bytes; fileLength() once the song has ended.
    virtual std::int64_t filePosition() = 0;
    virtual void play() = 0; // from the stream's position
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void stop() = 0; // stops and releases the stream
    virtual void setPosition(std::uint64_t decodedBytes) = 0;
    virtual SpectrumData spectrum() = 0;
    // Length in seconds of `path` through a separate stream that is released at once;
    // 0 when the file cannot be decoded. The current stream is not touched.
    virtual double measureSeconds(const std::filesystem::path& path) = 0;
};

} // namespace vistello::audio
