#include "audio/mp3_player.h"

#include "scripted_engine.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vistello::audio {
namespace {

using test::EngineScript;
using test::ScriptedEngine;

struct Progress {
    ProgressSender sender;
    std::int64_t max;
    std::int64_t pos;
    std::string time;
    bool operator==(const Progress&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Progress& p) {
    return out << "{" << (p.sender == ProgressSender::Timer ? "timer" : "none") << "," << p.max << ","
               << p.pos << "," << p.time << "}";
}

// A player over a scripted engine that records every progress event and timer switch.
struct PlayerFixture : testing::Test {
    std::shared_ptr<EngineScript> script = std::make_shared<EngineScript>();
    Mp3PlayerModel player{std::make_unique<ScriptedEngine>(script)};
    std::vector<Progress> events;
    std::vector<bool> timer;

    PlayerFixture() {
        player.OnProgress = [this](ProgressSender s, std::int64_t max, std::int64_t pos,
                                   const std::string& t) {
            events.push_back({s, max, pos, t});
        };
        player.OnTimerChanged = [this](bool on) { timer.push_back(on); };
        player.setSize(177, 121);
        // A song of 600 seconds in a 10 000 000-byte file.
        script->lengthBytes = 600ull * 176400;
        script->fileLength = 10'000'000;
    }
    void clearLogs() {
        script->calls.clear();
        events.clear();
        timer.clear();
    }
};

TEST(FormatPlayTime, WritesMinutesAndSecondsAndDropsHours) {
    const std::tuple<std::int64_t, const char*> cases[] = {
        {0, "00:00"},
        {9, "00:09"},
        {65, "01:05"},
        {600, "10:00"},
        {3599, "59:59"},
        {3725, "02:05"},
        {5'000'000'000LL, "53:20"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(Mp3PlayerModel::FormatPlayTime(seconds), text) << seconds;
}

TEST_F(PlayerFixture, DefaultsAndStopOnANeverPlayedPlayer) {
    EXPECT_EQ(player.BackColor, 0x000000u);
    EXPECT_EQ(player.Pen, 0xFFFFFFu);
    EXPECT_EQ(player.Peak, 0x00FFFFu);
    EXPECT_EQ(player.LineWidth, 3);
    EXPECT_EQ(player.LineFallOff, 6);
    EXPECT_EQ(player.state(), PlayerState::Closed);
    EXPECT_FALSE(player.timerEnabled());

    player.Stop();
    EXPECT_EQ(script->calls, std::vector<std::string>{"stop"});
    EXPECT_EQ(events, (std::vector<Progress>{{ProgressSender::None, 0, 0, "00:00"}}));
}

TEST_F(PlayerFixture, TickReportsPositionAndTimeWithoutOverflow) {
    player.setFileName("song.mp3");
    player.Play();
    EXPECT_EQ(script->calls, (std::vector<std::string>{"open song.mp3", "play"}));
    EXPECT_EQ(player.state(), PlayerState::Playing);
    EXPECT_EQ(timer, std::vector<bool>{true});

    script->filePosition = 5'000'000; // × 600 s needs more than 32 bits
    player.tick();
    EXPECT_EQ(events, (std::vector<Progress>{{ProgressSender::Timer, 10'000'000, 5'000'000, "05:00"}}));
    EXPECT_EQ(player.spectrum().levels().bars[0], 50);
}

TEST_F(PlayerFixture, StopsOnTheTickAfterTheEndWasReached) {
    player.setFileName("song.mp3");
    player.Play();
    script->filePosition = 10'000'000;
    player.tick();
    EXPECT_EQ(player.state(), PlayerState::Playing);
    player.tick();
    EXPECT_EQ(player.state(), PlayerState::Closed);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (Progress{ProgressSender::Timer, 10'000'000, 10'000'000, "10:00"}));
    EXPECT_EQ(events[1], (Progress{ProgressSender::None, 10'000'000, 0, "00:00"}));
    EXPECT_EQ(timer, (std::vector<bool>{true, false}));
}

TEST_F(PlayerFixture, PauseResumesWhileStopReopens) {
    player.setFileName("song.mp3");
    player.Play();
    player.Pause();
    EXPECT_EQ(player.state(), PlayerState::Paused);
    player.Play();
    EXPECT_EQ(script->calls, (std::vector<std::string>{"open song.mp3", "play", "pause", "resume"}));
    clearLogs();
    player.Stop();
    player.Play();
    EXPECT_EQ(script->calls, (std::vector<std::string>{"stop", "open song.mp3", "play"}));
    EXPECT_EQ(player.filePosition(), 0);
}

TEST_F(PlayerFixture, PauseForSeekSilencesReportsUntilSeekTo) {
    player.setFileName("song.mp3");
    player.Play();
    player.PauseForSeek();
    player.Play(); // resumed without a seek: still silent
    script->filePosition = 1'000'000;
    player.tick();
    EXPECT_TRUE(events.empty());

    player.PauseForSeek();
    clearLogs();
    player.SeekTo(5'000'000); // half the track bar
    EXPECT_EQ(script->calls,
              (std::vector<std::string>{"setPosition " + std::to_string(300ull * 176400), "resume"}));
    EXPECT_EQ(player.state(), PlayerState::Playing);
    script->filePosition = 5'000'000;
    player.tick();
    EXPECT_EQ(events, (std::vector<Progress>{{ProgressSender::Timer, 10'000'000, 5'000'000, "05:00"}}));
}

TEST_F(PlayerFixture, SeekOnAFileThatCouldNotBeOpenedGoesToZero) {
    script->fileLength = 0;
    script->lengthBytes = 0;
    player.setFileName("broken.mp3");
    player.Play();
    clearLogs();
    player.SeekTo(1234);
    EXPECT_EQ(script->calls.front(), "setPosition 0");
    player.tick(); // position 0 is not below length 0: the player stops
    EXPECT_EQ(player.state(), PlayerState::Closed);
}

TEST_F(PlayerFixture, NewFileNameStopsThePlayingSong) {
    player.setFileName("one.mp3");
    player.Play();
    clearLogs();
    player.setFileName("two.mp3");
    EXPECT_EQ(player.state(), PlayerState::Closed);
    EXPECT_EQ(events, (std::vector<Progress>{{ProgressSender::None, 10'000'000, 0, "00:00"}}));
    EXPECT_EQ(player.FileName(), "two.mp3");
    clearLogs();
    player.setFileName(""); // clearing a closed player raises nothing
    EXPECT_TRUE(events.empty());
}

TEST_F(PlayerFixture, SpectrumLookIsTakenAtFileNameAssignment) {
    player.Pen = 0x00FF00;
    player.LineWidth = 6;
    player.setFileName("song.mp3");
    player.Pen = 0x0000FF;
    EXPECT_EQ(player.spectrum().Pen, 0x00FF00u);
    EXPECT_EQ(player.spectrum().LineWidth, 6);
    EXPECT_EQ(player.spectrum().bitmap().size(), QSize(177, 121));
    player.setFileName("song.mp3");
    EXPECT_EQ(player.spectrum().Pen, 0x0000FFu);
}

TEST_F(PlayerFixture, LengthInSecondsMeasuresWithoutTouchingThePlayer) {
    script->measuredSeconds = 185.93;
    player.setFileName("song.mp3");
    EXPECT_FLOAT_EQ(player.LengthInSeconds(), 185.93f);
    EXPECT_EQ(script->calls, std::vector<std::string>{"measure song.mp3"});
    EXPECT_EQ(player.state(), PlayerState::Closed);
}

} // namespace
} // namespace vistello::audio
