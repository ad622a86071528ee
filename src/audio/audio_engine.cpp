#include "audio/audio_engine.h"

#include "audio/mp3_decoder.h"
#include "audio/spectrum_analyser.h"

#include <SDL.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace vistello::audio {

namespace {

constexpr int kBytesPerSample = 2;

// Switches off the SIGINT and SIGTERM handlers SDL installs with its event loop (which the
// audio subsystem brings along): they turn the signals into SDL quit events that nobody
// reads, so the program could no longer be ended by kill, Ctrl+C or a logout. Must run
// before every SDL initialisation.
bool initAudioWithoutSignalHandlers() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

// Keeps SDL's audio subsystem initialised for as long as it lives (SDL counts the users);
// a silent engine does not touch SDL at all.
class SdlAudioSubsystem {
  public:
    explicit SdlAudioSubsystem(bool wanted) : ready_(wanted && initAudioWithoutSignalHandlers()) {}
    ~SdlAudioSubsystem() {
        if (ready_)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    SdlAudioSubsystem(const SdlAudioSubsystem&) = delete;
    SdlAudioSubsystem& operator=(const SdlAudioSubsystem&) = delete;
    bool ready() const { return ready_; }

  private:
    bool ready_;
};

// An open SDL audio device; closing it waits for a running callback to return.
class AudioDevice {
  public:
    explicit AudioDevice(SDL_AudioDeviceID id) : id_(id) {}
    ~AudioDevice() { SDL_CloseAudioDevice(id_); }
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;
    SDL_AudioDeviceID id() const { return id_; }

  private:
    SDL_AudioDeviceID id_;
};

// What the SDL callback and the caller's thread share, all under `mutex`.
struct Playback {
    std::mutex mutex;
    std::unique_ptr<Mp3Decoder> decoder;
    int channels = 0;
    std::int64_t playedFrames = 0; // source frames handed to the output so far
    bool finished = false;
    std::array<float, SpectrumAnalyser::kSize> history{}; // last mono samples heard, a ring
    std::size_t historyNext = 0;

    // Records `frames` frames of `samples` as heard; fewer than `asked` means the song ended.
    void consume(const std::int16_t* samples, std::size_t frames, std::size_t asked) {
        for (std::size_t f = 0; f < frames; ++f) {
            float sum = 0.0f;
            for (int c = 0; c < channels; ++c)
                sum += samples[f * channels + c];
            history[historyNext] = sum / (32768.0f * channels);
            historyNext = (historyNext + 1) % history.size();
        }
        playedFrames += static_cast<std::int64_t>(frames);
        if (frames < asked)
            finished = true;
    }
    void clearHistory() {
        history.fill(0.0f);
        historyNext = 0;
    }
};

void SDLCALL fillDevice(void* userdata, Uint8* stream, int length) {
    auto& playback = *static_cast<Playback*>(userdata);
    std::lock_guard lock(playback.mutex);
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    const std::size_t asked = static_cast<std::size_t>(length) / kBytesPerSample / playback.channels;
    std::size_t frames = 0;
    if (!playback.finished)
        frames = playback.decoder->read({samples, asked * playback.channels});
    std::fill(samples + frames * playback.channels, samples + asked * playback.channels, std::int16_t{0});
    if (!playback.finished)
        playback.consume(samples, frames, asked);
}

} // namespace

struct AudioEngine::State {
    explicit State(Output wanted) : output(wanted), sdl(wanted == Output::Device) {}

    Output output;
    Clock clock;
    SdlAudioSubsystem sdl;
    SpectrumAnalyser analyser;

    PcmFormat format;
    std::int64_t lengthFrames = 0;
    std::int64_t fileLength = 0;
    std::unique_ptr<Playback> playback; // declared before the device, so it outlives it
    std::unique_ptr<AudioDevice> device;

    // Silent output: frames due are counted from `clockStart` at the song's rate.
    bool clockRunning = false;
    std::chrono::nanoseconds clockStart{};
    std::int64_t clockBaseFrames = 0;
    std::vector<std::int16_t> scratch;

    void release() {
        device.reset();
        playback.reset();
        format = {};
        lengthFrames = 0;
        fileLength = 0;
        clockRunning = false;
    }

    void startClock() {
        clockRunning = true;
        clockStart = clock();
        clockBaseFrames = playback->playedFrames;
    }

    // Consumes what the silent output would have played by now.
    void advanceSilently() {
        if (device || !playback || !clockRunning)
            return;
        const auto elapsed = clock() - clockStart;
        const std::int64_t due =
            clockBaseFrames +
            static_cast<std::int64_t>(static_cast<double>(elapsed.count()) * format.sampleRate / 1e9);
        std::lock_guard lock(playback->mutex);
        constexpr std::size_t kChunkFrames = 1024;
        scratch.resize(kChunkFrames * format.channels);
        while (playback->playedFrames < due && !playback->finished) {
            const auto asked =
                static_cast<std::size_t>(std::min<std::int64_t>(due - playback->playedFrames, kChunkFrames));
            const std::size_t frames = playback->decoder->read({scratch.data(), asked * format.channels});
            playback->consume(scratch.data(), frames, asked);
        }
    }
};

AudioEngine::AudioEngine(Output output, Clock clock) : state_(std::make_unique<State>(output)) {
    state_->clock = clock ? std::move(clock) : [] {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
    };
}

AudioEngine::~AudioEngine() {
    state_->release();
}

bool AudioEngine::playsOnDevice() const {
    return state_->device != nullptr;
}

void AudioEngine::open(const std::filesystem::path& path) {
    State& s = *state_;
    s.release();
    std::string error;
    auto decoder = Mp3Decoder::open(path, {}, error);
    if (!decoder)
        return; // an empty stream: every length 0, so the player stops on its next tick
    s.format = decoder->sourceFormat();
    s.lengthFrames = decoder->lengthFrames();
    s.fileLength = decoder->fileSize();
    s.playback = std::make_unique<Playback>();
    s.playback->decoder = std::move(decoder);
    s.playback->channels = s.format.channels;
    if (s.output == Output::Device && s.sdl.ready()) {
        SDL_AudioSpec wanted{};
        wanted.freq = s.format.sampleRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = static_cast<Uint8>(s.format.channels);
        wanted.samples = 1024;
        wanted.callback = fillDevice;
        wanted.userdata = s.playback.get();
        SDL_AudioSpec obtained{};
        // No allowed changes: SDL converts to whatever the hardware takes.
        const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (id != 0)
            s.device = std::make_unique<AudioDevice>(id);
    }
}

std::uint64_t AudioEngine::lengthBytes() const {
    return static_cast<std::uint64_t>(state_->lengthFrames) * state_->format.channels * kBytesPerSample;
}

double AudioEngine::bytesToSeconds(std::uint64_t bytes) const {
    const double bytesPerSecond =
        static_cast<double>(state_->format.sampleRate) * state_->format.channels * kBytesPerSample;
    return bytesPerSecond > 0 ? static_cast<double>(bytes) / bytesPerSecond : 0.0;
}

std::int64_t AudioEngine::fileLength() const {
    return state_->fileLength;
}

std::int64_t AudioEngine::filePosition() {
    State& s = *state_;
    if (!s.playback)
        return 0;
    s.advanceSilently();
    std::lock_guard lock(s.playback->mutex);
    if (s.playback->finished || s.lengthFrames <= 0)
        return s.playback->finished ? s.fileLength : 0;
    // What is heard, as the same share of the file; the end is reached only when the
    // decoder has delivered its last frame.
    const auto played = std::clamp<std::int64_t>(s.playback->playedFrames, 0, s.lengthFrames);
    const auto position =
        static_cast<std::int64_t>(static_cast<__int128>(played) * s.fileLength / s.lengthFrames);
    return std::min(position, s.fileLength - 1);
}

void AudioEngine::play() {
    State& s = *state_;
    if (!s.playback)
        return;
    if (s.device)
        SDL_PauseAudioDevice(s.device->id(), 0);
    else if (!s.clockRunning)
        s.startClock();
}

void AudioEngine::pause() {
    State& s = *state_;
    if (!s.playback)
        return;
    if (s.device) {
        SDL_PauseAudioDevice(s.device->id(), 1);
    } else {
        s.advanceSilently();
        s.clockRunning = false;
    }
}

void AudioEngine::resume() {
    play();
}

void AudioEngine::stop() {
    state_->release();
}

void AudioEngine::setPosition(std::uint64_t decodedBytes) {
    State& s = *state_;
    if (!s.playback)
        return;
    const auto frame = static_cast<std::int64_t>(
        decodedBytes / (static_cast<std::uint64_t>(s.format.channels) * kBytesPerSample));
    {
        std::lock_guard lock(s.playback->mutex);
        s.playback->decoder->seek(frame);
        s.playback->playedFrames = std::min(frame, s.lengthFrames);
        s.playback->finished = false;
        s.playback->clearHistory();
    }
    if (s.clockRunning)
        s.startClock();
}

SpectrumData AudioEngine::spectrum() {
    State& s = *state_;
    std::array<float, SpectrumAnalyser::kSize> samples{};
    if (s.playback) {
        s.advanceSilently();
        std::lock_guard lock(s.playback->mutex);
        const auto& ring = s.playback->history;
        for (std::size_t i = 0; i < ring.size(); ++i)
            samples[i] = ring[(s.playback->historyNext + i) % ring.size()];
    }
    return s.analyser.analyse(samples);
}

double AudioEngine::measureSeconds(const std::filesystem::path& path) {
    std::string error;
    const auto decoder = Mp3Decoder::open(path, {}, error);
    return decoder ? decoder->lengthSeconds() : 0.0;
}

} // namespace vistello::audio
