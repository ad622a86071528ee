#include "production/sound_track.h"

#include "audio/mp3_decoder.h"

namespace vistello::production {

SoundTrack::SoundTrack(std::vector<std::unique_ptr<audio::Mp3Decoder>> songs) : songs_(std::move(songs)) {}
SoundTrack::SoundTrack(SoundTrack&&) noexcept = default;
SoundTrack& SoundTrack::operator=(SoundTrack&&) noexcept = default;
SoundTrack::~SoundTrack() = default;

std::size_t SoundTrack::read(std::span<std::int16_t> out) {
    const std::size_t wanted = out.size() / kChannels;
    std::size_t done = 0;
    while (done < wanted && current_ < songs_.size()) {
        const std::size_t got =
            songs_[current_]->read(out.subspan(done * kChannels, (wanted - done) * kChannels));
        if (got == 0) {
            songs_[current_].reset(); // release the finished song's decoder at once
            ++current_;
            continue;
        }
        done += got;
    }
    return done;
}

void fadeOut(std::span<std::int16_t> samples, int channels) {
    if (channels <= 0)
        return;
    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    for (std::size_t f = 0; f < frames; ++f) {
        // Gain from 1 at the first frame down to 0 after the last one.
        const double gain = static_cast<double>(frames - f) / static_cast<double>(frames + 1);
        for (int c = 0; c < channels; ++c) {
            auto& sample = samples[f * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
            sample = static_cast<std::int16_t>(sample * gain);
        }
    }
}

} // namespace vistello::production
