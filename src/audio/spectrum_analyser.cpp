#include "audio/spectrum_analyser.h"

#include "ffmpeg/handles.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace vistello::audio {

struct SpectrumAnalyser::State {
    ffmpeg::TxContextPtr context;
    av_tx_fn transform = nullptr;
    // av_tx may use SIMD loads, so its buffers are aligned; the output holds N/2 + 1 bins.
    alignas(64) std::array<float, kSize> input{};
    alignas(64) std::array<AVComplexFloat, kSize / 2 + 1> output{};
    std::array<float, kSize> window{};
};

SpectrumAnalyser::SpectrumAnalyser() : state_(std::make_unique<State>()) {
    AVTXContext* raw = nullptr;
    const float scale = 1.0f;
    const int rc = av_tx_init(&raw, &state_->transform, AV_TX_FLOAT_RDFT, 0, kSize, &scale, 0);
    state_->context.reset(raw);
    if (rc < 0)
        throw std::runtime_error("spectrum transform: " + ffmpeg::errorText(rc));
    for (int i = 0; i < kSize; ++i)
        state_->window[i] = 0.5f - 0.5f * static_cast<float>(std::cos(2.0 * std::numbers::pi * i / kSize));
}

SpectrumAnalyser::~SpectrumAnalyser() = default;

SpectrumData SpectrumAnalyser::analyse(std::span<const float> samples) {
    State& s = *state_;
    const std::size_t count = std::min<std::size_t>(samples.size(), kSize);
    s.input.fill(0.0f);
    for (std::size_t i = 0; i < count; ++i)
        s.input[i] = samples[i] * s.window[i];
    s.transform(s.context.get(), s.output.data(), s.input.data(), sizeof(float));
    // A sine of amplitude A gives A × N/2 in its bin, halved by the Hann window's mean of 0.5.
    constexpr float kNormal = 4.0f / kSize;
    SpectrumData result{};
    for (std::size_t k = 0; k < result.size(); ++k)
        result[k] = std::hypot(s.output[k].re, s.output[k].im) * kNormal;
    return result;
}

} // namespace vistello::audio
