#pragma once
// AudioEngine is the program's audio engine: it streams an MP3 file through Mp3Decoder and
// plays it on an SDL2 audio device. When no device can be opened (no sound card, or the
// caller asks for silence) it plays silently against a clock: the song is consumed at its
// own rate, so position, end of song and spectrum behave as if it were heard.
//
// Threads: SDL calls back on a thread of its own; the callback reads only the decoder and
// the shared playback state, under one mutex, and never a Qt object. Everything else runs
// on the caller's thread. Each stream (and its device) is released when it is replaced,
// stopped, or, for measuring, right after use.

#include "audio/sound_engine.h"

#include <chrono>
#include <functional>
#include <memory>

namespace vistello::audio {

class AudioEngine final : public SoundEngine {
  public:
    enum class Output { Device, Silent };
    using Clock = std::function<std::chrono::nanoseconds()>;

    // Output::Device tries SDL and falls back to silence; `clock` (steady clock when empty)
    // paces the silent output.
    explicit AudioEngine(Output output = Output::Device, Clock clock = {});
    ~AudioEngine() override;
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Whether the current stream plays on a sound device (false: silently against the clock).
    bool playsOnDevice() const;

    void open(const std::filesystem::path& path) override;
    std::uint64_t lengthBytes() const override;
    double bytesToSeconds(std::uint64_t bytes) const override;
    std::int64_t fileLength() const override;
    std::int64_t filePosition() override;
    void play() override;
    void pause() override;
    void resume() override;
    void stop() override;
    void setPosition(std::uint64_t decodedBytes) override;
    SpectrumData spectrum() override;
    double measureSeconds(const std::filesystem::path& path) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace vistello::audio
