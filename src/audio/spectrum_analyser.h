#pragma once
// SpectrumAnalyser turns the last 512 samples that were heard into the magnitudes of their
// frequency bins: Hann window, real 512-point transform by FFmpeg's av_tx, magnitudes scaled
// so that a full-scale sine reads about 1.0 in its bin. One analyser per engine; not shared
// between threads.

#include "audio/sound_engine.h"

#include <memory>
#include <span>

namespace vistello::audio {

class SpectrumAnalyser {
  public:
    static constexpr int kSize = 512;

    SpectrumAnalyser();
    ~SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser&) = delete;
    SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

    // `samples` holds kSize mono samples in -1..1, oldest first; fewer are padded with silence.
    SpectrumData analyse(std::span<const float> samples);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace vistello::audio
