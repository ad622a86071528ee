#pragma once
// SoundTrack plays the album's songs end to end as one stream of interleaved 16-bit stereo
// samples at the output rate, decoded and resampled by the audio module's MP3 decoder.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace vistello::audio {
class Mp3Decoder;
}

namespace vistello::production {

class SoundTrack {
  public:
    SoundTrack() = default;
    explicit SoundTrack(std::vector<std::unique_ptr<audio::Mp3Decoder>> songs);
    SoundTrack(SoundTrack&&) noexcept;
    SoundTrack& operator=(SoundTrack&&) noexcept;
    ~SoundTrack();

    static constexpr int kChannels = 2;

    // Fills out (interleaved stereo) from the songs in order; returns the frames written,
    // fewer than asked only at the end of the last song.
    std::size_t read(std::span<std::int16_t> out);

  private:
    std::vector<std::unique_ptr<audio::Mp3Decoder>> songs_;
    std::size_t current_ = 0;
};

// Lowers the level of interleaved samples linearly to silence over their whole length, so a
// sound track cut at the end of the video does not stop abruptly.
void fadeOut(std::span<std::int16_t> samples, int channels);

} // namespace vistello::production
