// Speed of the MP3 path. The song is a 60-second stereo tone made with the ffmpeg tool at
// start. Counters: "xRealtime" is song seconds handled per second of work; the length count
// (demuxing only) is compared against a full decode in the same run.

#include "audio/mp3_decoder.h"
#include "audio/spectrum_analyser.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace {

using vistello::audio::Mp3Decoder;

const std::filesystem::path& song() {
    static const std::filesystem::path path = [] {
        auto file = std::filesystem::temp_directory_path() / "vistello-bench-song.mp3";
        const std::string command = "ffmpeg -nostdin -v error -y -f lavfi -i "
                                    "\"sine=frequency=440:sample_rate=44100:duration=60\" -ac 2 "
                                    "-c:a libmp3lame -b:a 192k \"" +
                                    file.string() + "\"";
        if (std::system(command.c_str()) != 0)
            std::abort();
        return file;
    }();
    return path;
}

void BM_CountLength(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) {
        std::string error;
        auto decoder = Mp3Decoder::open(song(), {}, error);
        seconds = decoder->lengthSeconds();
        benchmark::DoNotOptimize(seconds);
    }
    state.counters["xRealtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CountLength)->Unit(benchmark::kMillisecond);

void BM_DecodeWhole(benchmark::State& state) {
    const bool resample = state.range(0) != 0;
    double seconds = 0;
    std::vector<std::int16_t> buffer(8192);
    for (auto _ : state) {
        std::string error;
        auto decoder = Mp3Decoder::open(
            song(), resample ? vistello::audio::PcmFormat{48000, 2} : vistello::audio::PcmFormat{}, error);
        while (decoder->read(buffer) > 0) {
        }
        seconds = decoder->lengthSeconds();
    }
    state.counters["xRealtime"] = benchmark::Counter(seconds, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DecodeWhole)->Arg(0)->Arg(1)->ArgName("resampleTo48k")->Unit(benchmark::kMillisecond);

void BM_SpectrumFrame(benchmark::State& state) {
    vistello::audio::SpectrumAnalyser analyser;
    std::vector<float> samples(vistello::audio::SpectrumAnalyser::kSize);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(std::sin(2.0 * std::numbers::pi * 12 * i / samples.size()));
    for (auto _ : state)
        benchmark::DoNotOptimize(analyser.analyse(samples));
}
BENCHMARK(BM_SpectrumFrame);

} // namespace

BENCHMARK_MAIN();
