#include "audio/audio_engine.h"
#include "audio/mp3_player.h"
#include "audio/spectrum_analyser.h"

#include "mp3_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <thread>

namespace vistello::audio {
namespace {

using namespace std::chrono_literals;
using test::makeMp3;

// 12 × 44100 / 512 Hz lies exactly on bin 12 of the 512-point transform.
constexpr double kBin12Hz = 12.0 * 44100.0 / 512.0;

TEST(SpectrumAnalyser, FullScaleSineReadsOneInItsBin) {
    SpectrumAnalyser analyser;
    for (const int bin : {5, 12, 40, 133}) {
        std::array<float, SpectrumAnalyser::kSize> samples{};
        for (int i = 0; i < SpectrumAnalyser::kSize; ++i)
            samples[i] =
                static_cast<float>(std::sin(2.0 * std::numbers::pi * bin * i / SpectrumAnalyser::kSize));
        const SpectrumData data = analyser.analyse(samples);
        EXPECT_NEAR(data[bin], 1.0f, 0.01f) << bin;
        EXPECT_NEAR(data[bin + 1], 0.5f, 0.01f) << "Hann leaks half into the neighbours";
        EXPECT_LT(data[bin + 3], 0.01f);
    }
    const SpectrumData silence = analyser.analyse({});
    EXPECT_EQ(*std::max_element(silence.begin(), silence.end()), 0.0f);
}

// A silent engine whose clock the test moves by hand, over a generated two-second tone.
struct SilentEngineFixture : testing::Test {
    QTemporaryDir dir;
    std::filesystem::path song = std::filesystem::path(dir.path().toStdString()) / "tone.mp3";
    std::shared_ptr<std::chrono::nanoseconds> now = std::make_shared<std::chrono::nanoseconds>(0);
    AudioEngine engine{AudioEngine::Output::Silent, [now = now] { return *now; }};

    void SetUp() override {
        ASSERT_TRUE(makeMp3(song, {44100, 2, 88200, {"-c:a", "libmp3lame", "-b:a", "128k"}, kBin12Hz}));
    }
};

TEST_F(SilentEngineFixture, PlaysAgainstTheClockToTheFileEnd) {
    engine.open(song);
    EXPECT_FALSE(engine.playsOnDevice());
    EXPECT_EQ(engine.lengthBytes(), 88200u * 4);
    EXPECT_DOUBLE_EQ(engine.bytesToSeconds(engine.lengthBytes()), 2.0);
    EXPECT_EQ(engine.fileLength(), static_cast<std::int64_t>(std::filesystem::file_size(song)));
    EXPECT_EQ(engine.filePosition(), 0);

    engine.play();
    *now += 1s;
    EXPECT_NEAR(static_cast<double>(engine.filePosition()), engine.fileLength() / 2.0,
                engine.fileLength() * 0.01);
    const SpectrumData data = engine.spectrum();
    EXPECT_EQ(std::max_element(data.begin() + 5, data.end()) - data.begin(), 12);
    EXPECT_GT(data[12], 0.05f);

    engine.pause();
    *now += 10s; // a paused stream does not move
    EXPECT_LT(engine.filePosition(), engine.fileLength());
    engine.resume();
    *now += 1500ms;
    EXPECT_EQ(engine.filePosition(), engine.fileLength());
}

TEST_F(SilentEngineFixture, SetPositionMovesToTheMiddle) {
    engine.open(song);
    engine.setPosition(engine.lengthBytes() / 2);
    EXPECT_NEAR(static_cast<double>(engine.filePosition()), engine.fileLength() / 2.0,
                engine.fileLength() * 0.01);
    engine.play();
    *now += 500ms;
    EXPECT_NEAR(static_cast<double>(engine.filePosition()), engine.fileLength() * 0.75,
                engine.fileLength() * 0.02);
}

TEST_F(SilentEngineFixture, MeasuringAndBrokenFilesLeaveNoStreamBehind) {
    engine.open(song);
    EXPECT_NEAR(engine.measureSeconds(song), 2.0, 1e-9);
    EXPECT_EQ(engine.lengthBytes(), 88200u * 4); // the current stream is untouched
    EXPECT_EQ(engine.measureSeconds(song.parent_path() / "missing.mp3"), 0.0);

    engine.open(song.parent_path() / "missing.mp3");
    EXPECT_EQ(engine.lengthBytes(), 0u);
    EXPECT_EQ(engine.fileLength(), 0);
    engine.play();
    engine.setPosition(100);
    EXPECT_EQ(engine.filePosition(), 0);
    engine.stop();
    engine.stop();
}

TEST_F(SilentEngineFixture, PlayerRunsFromStartToStopWithRisingProgress) {
    auto owned = std::make_unique<AudioEngine>(AudioEngine::Output::Silent, [now = now] { return *now; });
    Mp3PlayerModel player(std::move(owned));
    std::vector<std::int64_t> positions;
    std::vector<std::string> times;
    player.OnProgress = [&](ProgressSender, std::int64_t, std::int64_t pos, const std::string& time) {
        positions.push_back(pos);
        times.push_back(time);
    };
    player.setFileName(song);
    player.Play();
    for (int tick = 0; tick < 100 && player.state() == PlayerState::Playing; ++tick) {
        *now += 50ms;
        player.tick();
    }
    EXPECT_EQ(player.state(), PlayerState::Closed);
    ASSERT_GE(positions.size(), 40u);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end() - 1));
    EXPECT_EQ(positions[positions.size() - 2], player.fileLength());
    EXPECT_EQ(positions.back(), 0);
    EXPECT_EQ(times.back(), "00:00");
    EXPECT_NE(std::find(times.begin(), times.end(), "00:01"), times.end());
}

TEST(AudioEngineDevice, PlaysThroughSdlToTheEnd) {
    QTemporaryDir dir;
    const std::filesystem::path song = std::filesystem::path(dir.path().toStdString()) / "short.mp3";
    ASSERT_TRUE(makeMp3(song, {44100, 2, 13230}));
    AudioEngine engine; // SDL_AUDIODRIVER=dummy under ctest
    engine.open(song);
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (driver != nullptr && std::string(driver) == "dummy") {
        EXPECT_TRUE(engine.playsOnDevice());
    }
    engine.play();
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (engine.filePosition() < engine.fileLength() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(10ms);
    EXPECT_EQ(engine.filePosition(), engine.fileLength());
    engine.stop();
    EXPECT_EQ(engine.fileLength(), 0);
}

} // namespace
} // namespace vistello::audio
