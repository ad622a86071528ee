#pragma once
// Mp3Decoder turns one MP3 file into interleaved signed 16-bit PCM through FFmpeg
// (libavformat demuxes, libavcodec decodes, libswresample converts to the caller's rate and
// channel count). It is the one MP3 decoder of the program: the player streams from it and
// the video renderer pulls its sound track from it.
//
// The length is exact: it is counted packet by packet when the file is opened, with the
// encoder delay and padding of a LAME/Xing header taken off, and equals the number of source
// frames that read() delivers from start to end. Not thread-safe; one user at a time.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace vistello::audio {

struct PcmFormat {
    int sampleRate = 0; // frames per second
    int channels = 0;   // 1 or 2 (any count libswresample supports)
};

class Mp3Decoder {
  public:
    // Opens `path`. A field of `output` left 0 takes the file's own value. Returns nullptr
    // and a message naming the file and the failing step in `error` when it cannot be opened.
    static std::unique_ptr<Mp3Decoder> open(const std::filesystem::path& path, PcmFormat output,
                                            std::string& error);
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    PcmFormat sourceFormat() const;
    PcmFormat outputFormat() const;
    // Exact decoded length in source frames (one frame = one sample of every channel).
    std::int64_t lengthFrames() const;
    double lengthSeconds() const;
    // Size of the whole file in bytes.
    std::int64_t fileSize() const;
    // Read position of the demuxer in the file in bytes; fileSize() once read() has ended.
    std::int64_t filePosition() const;

    // Writes up to out.size() / outputFormat().channels frames of interleaved samples and
    // returns the number of frames written; 0 means the end of the song (or a broken file).
    std::size_t read(std::span<std::int16_t> out);
    // Moves to source frame `frame` (clamped to the song); the next read() continues there.
    bool seek(std::int64_t frame);

  private:
    struct State;
    explicit Mp3Decoder(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace vistello::audio
