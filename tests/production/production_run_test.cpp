// The production run: one render per format checked with ffprobe, the stop, the guard against
// a second run, and the failure paths; what the run tells is seen as the production dialog
// shows it.

#include "app/application/ui_texts.h"
#include "app/production_dialog/run_status.h"
#include "production/output_space.h"
#include "production/production_run.h"
#include "production_fixture.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include <sys/stat.h>

namespace vistello::production {
namespace {

using vistello::testing::makeAlbum;
using vistello::testing::probe;
using vistello::testing::streamOf;

// Records everything the run shows, as the production dialog shows it: each change of a
// status text, of the settings' enabled state and of the running buttons.
struct Window final : RunObserver {
    std::vector<QString> progress, time;
    std::vector<bool> settingsEnabled, running;
    int previews = 0;
    int events = 0;
    std::function<void()> onEvents;
    app::RunStatus status;

    void phaseChanged(RunPhase state) override {
        status.apply(state);
        record();
    }
    bool progressed(const RunProgress& notification) override {
        status.apply(notification);
        record();
        ++events;
        if (onEvents)
            onEvents();
        return true;
    }
    void preview(const effects::Bitmap&) override { ++previews; }

    void record() {
        const auto changed = [](auto& seen, const auto& now) {
            if (seen.empty() || seen.back() != now)
                seen.push_back(now);
        };
        changed(progress, status.progress);
        changed(time, status.time);
        changed(settingsEnabled, status.settingsEnabled);
        changed(running, status.running);
    }
    void expectIdleAgain() const {
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), app::runFinishedText());
        EXPECT_EQ(time.back(), app::idleTimeText());
        EXPECT_EQ(settingsEnabled, (std::vector<bool>{false, true}));
        ASSERT_FALSE(running.empty());
        EXPECT_FALSE(running.back());
    }
};

// The run's error in the window's words.
std::string said(const RunResult& result) {
    return app::runErrorText(result.error).toStdString();
}

class ProductionRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeAlbum(album_, {{64, 48, Qt::red, 0, 1, "红"}, {48, 64, Qt::blue, 0, 2, "蓝"}}, {1.0});
    }
    std::filesystem::path output(const std::string& name) const {
        return std::filesystem::path(dir_.path().toStdString()) / name;
    }

    QTemporaryDir dir_;
    store::AlbumStore album_{dir_.path().toStdString()};
};

TEST_F(ProductionRunTest, RendersEveryFormatWithTheTimelinesFrames) {
    for (const char* name : {"vcd", "svcd", "dvd"}) {
        SCOPED_TRACE(name);
        const VideoFormat& format = videoFormat(name);
        Window window;
        ProductionRun run(album_, window);
        ProductionSettings settings;
        settings.format = &format;
        settings.outputPath = output(format.prefix() + "0.mpg");
        const RunResult result = run.Start(settings);
        EXPECT_EQ(result.outcome, RunOutcome::Finished) << said(result);
        ASSERT_TRUE(result.fileWritten);
        // Two pictures without hold: 2 × 51 frames and the last one once more.
        EXPECT_EQ(result.frames, 103);
        EXPECT_EQ(window.previews, 100) << "phases 1 to 50 of each picture (phase 51 never comes)";
        EXPECT_EQ(window.progress.front(), app::idleProgressText());
        EXPECT_EQ(window.progress[1], QStringLiteral("准备生成..."));
        EXPECT_NE(std::find(window.progress.begin(), window.progress.end(), QStringLiteral("完成进度：50%")),
                  window.progress.end());
        window.expectIdleAgain();

        // The size a run expects before it starts is not less than the file it writes.
        EXPECT_LE(std::filesystem::file_size(settings.outputPath),
                  expectedVideoBytes(format, {}, result.frames));

        const QJsonObject probed = probe(settings.outputPath);
        const QJsonObject video = streamOf(probed, "video"), audio = streamOf(probed, "audio");
        EXPECT_EQ(video["nb_read_frames"].toString().toInt(), 103);
        EXPECT_EQ(video["width"].toInt(), std::string(name) == "vcd" ? 352 : format.codedWidth);
        EXPECT_EQ(video["height"].toInt(),
                  std::string(name) == "dvd" || std::string(name) == "svcd" ? 576 : 288);
        // The one-second song is followed by silence up to the video's 4.12 seconds.
        const double audioSeconds =
            audio["nb_read_frames"].toString().toDouble() * 1152 / audio["sample_rate"].toString().toDouble();
        EXPECT_NEAR(audioSeconds, 103 / 25.0, 0.03);
    }
}

TEST_F(ProductionRunTest, StopDuringTheFirstTransitionFinishesAPlayableFile) {
    Window window;
    ProductionRun run(album_, window);
    window.onEvents = [&] {
        if (window.events == 10) {
            run.Stop();
            EXPECT_FALSE(window.running.back()) << "the start button is usable at once";
        }
    };
    ProductionSettings settings;
    settings.outputPath = output("stopped.mpg");
    const RunResult result = run.Start(settings);
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    ASSERT_TRUE(result.fileWritten);
    window.expectIdleAgain();
    const QJsonObject video = streamOf(probe(settings.outputPath), "video");
    EXPECT_EQ(video["nb_read_frames"].toString().toInt(), result.frames);
    EXPECT_LT(result.frames, 103);
}

TEST_F(ProductionRunTest, SecondStartInsideARunIsRefused) {
    Window window;
    ProductionRun run(album_, window);
    ProductionSettings settings;
    settings.outputPath = output("first.mpg");
    ProductionSettings second = settings;
    second.outputPath = output("second.mpg");
    std::optional<RunResult> nested;
    window.onEvents = [&] {
        if (window.events == 5) {
            run.Stop();
            nested = run.Start(second); // the start button is enabled again after a stop
        }
    };
    const RunResult result = run.Start(settings);
    ASSERT_TRUE(nested.has_value());
    EXPECT_EQ(nested->outcome, RunOutcome::NotStarted);
    EXPECT_FALSE(std::filesystem::exists(second.outputPath));
    EXPECT_EQ(result.outcome, RunOutcome::Stopped);
    // Once the first run has ended, another may start at once.
    window.onEvents = nullptr;
    EXPECT_EQ(run.Start(second).outcome, RunOutcome::Finished);
}

TEST_F(ProductionRunTest, FailuresEndTheRunWithTheirReasonAndNoFile) {
    struct Case {
        const char* name;
        std::function<void(store::AlbumStore&, ProductionSettings&)> spoil;
        RunOutcome outcome;
        const char* message;
    };
    const Case cases[] = {
        {"unreadable picture",
         [](store::AlbumStore& album, ProductionSettings&) {
             std::filesystem::resize_file(album.AlbumPath() / "P1.jpg", 20);
         },
         RunOutcome::Failed, "P1.jpg"},
        {"missing song",
         [](store::AlbumStore& album, ProductionSettings&) {
             std::filesystem::remove(album.AlbumPath() / "M0.mp3");
         },
         RunOutcome::Failed, "第1首音乐《M0.mp3》（文件 M0.mp3）：文件不存在"},
        {"song without sound",
         [](store::AlbumStore& album, ProductionSettings&) {
             std::ofstream(album.AlbumPath() / "M0.mp3", std::ios::binary | std::ios::trunc)
                 << std::string(100, 'x');
             album.MusicList[0].SongName.setText("春之歌.mp3");
         },
         RunOutcome::Failed, "第1首音乐《春之歌.mp3》（文件 M0.mp3）：其中没有可以解码的 MP3 声音"},
        {"folder that does not exist",
         [](store::AlbumStore&, ProductionSettings& settings) {
             settings.outputPath = settings.outputPath.parent_path() / "missing" / "out.mpg";
         },
         RunOutcome::Failed, "out.mpg"},
        {"output over one of the album's songs",
         [](store::AlbumStore& album, ProductionSettings& settings) {
             settings.outputPath = album.AlbumPath() / "M0.mp3";
         },
         RunOutcome::NotStarted, "是相册自己的文件"},
        {"output that is a folder",
         [](store::AlbumStore&, ProductionSettings& settings) {
             std::filesystem::create_directory(settings.outputPath);
         },
         RunOutcome::NotStarted, "是一个文件夹"},
        {"music too short to synchronise",
         [](store::AlbumStore& album, ProductionSettings& settings) {
             settings.synchronise = true;
             album.MusicList[0].PlayTime = 4; // 2 × 2 pictures is not less than 4
         },
         RunOutcome::NotStarted, "音乐太短"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        store::AlbumStore album(dir.path().toStdString());
        makeAlbum(album, {{64, 48, Qt::red, 0, 1}, {48, 64, Qt::blue, 0, 2}}, {1.0});
        ProductionSettings settings;
        settings.outputPath = std::filesystem::path(dir.path().toStdString()) / "out.mpg";
        c.spoil(album, settings);
        Window window;
        ProductionRun run(album, window);
        const RunResult result = run.Start(settings);
        EXPECT_EQ(result.outcome, c.outcome);
        EXPECT_NE(said(result).find(c.message), std::string::npos) << said(result);
        EXPECT_FALSE(result.fileWritten);
        if (std::string(c.name).starts_with("output over")) {
            EXPECT_GT(std::filesystem::file_size(settings.outputPath), 1000u) << "the song is kept";
        } else if (std::string(c.name).ends_with("a folder")) {
            EXPECT_TRUE(std::filesystem::is_directory(settings.outputPath));
        } else {
            EXPECT_FALSE(std::filesystem::exists(settings.outputPath));
        }
        EXPECT_FALSE(run.running());
        if (c.outcome == RunOutcome::Failed)
            window.expectIdleAgain();
    }
}

std::string readAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// An older video at the output path (a second run in one opening, or an agreed overwrite)
// says nothing about a run that wrote no file of its own: such a run is never a success, and
// the older file stays as it was, with nothing else left in its folder.
TEST_F(ProductionRunTest, AnOlderFileAtTheOutputNeverStandsForARunThatWroteNothing) {
    struct Case {
        const char* name;
        std::function<void(store::AlbumStore&)> spoil;
        int stopAtEvent; // 0: no stop
        RunOutcome outcome;
    };
    const Case cases[] = {
        {"unreadable song",
         [](store::AlbumStore& album) { std::filesystem::resize_file(album.AlbumPath() / "M0.mp3", 100); }, 0,
         RunOutcome::Failed},
        {"stop in the first stage", [](store::AlbumStore&) {}, 1, RunOutcome::Stopped},
        {"unreadable picture",
         [](store::AlbumStore& album) { std::filesystem::resize_file(album.AlbumPath() / "P1.jpg", 20); }, 0,
         RunOutcome::Failed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        store::AlbumStore album(dir.path().toStdString());
        makeAlbum(album, {{64, 48, Qt::red, 0, 1}, {48, 64, Qt::blue, 0, 2}}, {1.0});
        c.spoil(album);
        const std::filesystem::path folder = std::filesystem::path(dir.path().toStdString()) / "videos";
        std::filesystem::create_directory(folder);
        ProductionSettings settings;
        settings.outputPath = folder / "VCD-0.mpg";
        std::ofstream(settings.outputPath, std::ios::binary) << "the video of an earlier run";
        Window window;
        ProductionRun run(album, window);
        window.onEvents = [&] {
            if (window.events == c.stopAtEvent)
                run.Stop();
        };
        const RunResult result = run.Start(settings);
        EXPECT_EQ(result.outcome, c.outcome) << said(result);
        EXPECT_FALSE(result.fileWritten);
        EXPECT_EQ(readAll(settings.outputPath), "the video of an earlier run");
        EXPECT_EQ(namesIn(folder), std::vector<std::string>{"VCD-0.mpg"});
    }
}

// A run that writes its file (to the end, or until a stop) replaces the older one whole,
// keeping its permissions, and through a link the file the link names. A new file is made
// as the user's umask says.
TEST_F(ProductionRunTest, AWrittenFileReplacesTheOlderOne) {
    const auto permissionsOf = [](const std::filesystem::path& file) {
        return static_cast<int>(std::filesystem::status(file).permissions() & std::filesystem::perms::mask);
    };
    const mode_t mask = ::umask(022);
    ::umask(mask);
    {
        RunObserver quiet;
        ProductionRun run(album_, quiet);
        ProductionSettings settings;
        settings.outputPath = output("fresh.mpg");
        EXPECT_TRUE(run.Start(settings).fileWritten);
        EXPECT_EQ(permissionsOf(settings.outputPath), static_cast<int>(0666 & ~mask));
    }
    for (const int stopAtEvent : {0, 10}) {
        SCOPED_TRACE(stopAtEvent);
        const std::filesystem::path folder = output("replaced" + std::to_string(stopAtEvent));
        std::filesystem::create_directory(folder);
        const std::filesystem::path target = folder / "target.mpg";
        std::ofstream(target, std::ios::binary) << "the video of an earlier run";
        std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_write);
        std::filesystem::create_symlink("target.mpg", folder / "link.mpg");
        Window window;
        ProductionRun run(album_, window);
        window.onEvents = [&] {
            if (window.events == stopAtEvent)
                run.Stop();
        };
        ProductionSettings settings;
        settings.outputPath = folder / "link.mpg";
        const RunResult result = run.Start(settings);
        EXPECT_EQ(result.outcome, stopAtEvent ? RunOutcome::Stopped : RunOutcome::Finished) << said(result);
        EXPECT_TRUE(result.fileWritten);
        EXPECT_TRUE(std::filesystem::is_symlink(settings.outputPath));
        EXPECT_EQ(namesIn(folder), (std::vector<std::string>{"link.mpg", "target.mpg"}));
        const QJsonObject video = streamOf(probe(target), "video");
        EXPECT_EQ(video["nb_read_frames"].toString().toInt(), result.frames);
        EXPECT_EQ(permissionsOf(target), 0600);
    }
}

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
