#pragma once
// ProductionRun is what the production dialog does between its start button and the result:
// it prepares the run state from the settings, sets up the converter, runs the conversion with
// the progress and time texts, lets a stop end it, and tells the caller how it ended.
//
// It knows no widgets: settings come in, and what a window shows goes out through callbacks
// (status texts, preview frames, the enabled state of settings and buttons, a busy cursor,
// and one call per progress notification in which the window processes its pending events;
// Stop() may be called from there). A run never starts inside another one.

#include "effects/raster/bitmap.h"
#include "production/production_settings.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::production {

class Converter;

// The status labels' texts: idle, at the end of a run, and during one by stage.
inline const QString kIdleProgressText = QStringLiteral("完成进度：0%");
inline const QString kIdleTimeText = QStringLiteral("剩余时间：00:00");
inline const QString kFinishedText = QStringLiteral("相册生成完毕!");
inline const QString kDiscText = QStringLiteral("正在生成光盘映像...");

struct ProgressTexts {
    QString progress; // Lguage
    QString time;     // LOverTine
};
// Stage 0 done, 1 preparing, 2 file structure, 3 encoding (position of totalFrames), other.
ProgressTexts progressTexts(int stage, std::int64_t position, std::int64_t totalFrames,
                            const std::string& elapsedText, const std::string& remainingText);

// A progress notification as numbers, for callers that make their own texts.
struct RunProgress {
    int stage = 0;                // 0 done, 1 preparing, 2 file structure, 3 encoding
    std::int64_t framesDone = 0;  // frames requested so far
    std::int64_t totalFrames = 0; // of the whole timeline
    double remainingSeconds = 0;  // estimated from the pace so far
    int percent() const { return totalFrames > 0 ? static_cast<int>(framesDone * 100 / totalFrames) : 0; }
};

struct RunCallbacks {
    std::function<void(bool enabled)> setSettingsEnabled; // SetSettingsEnabled
    std::function<void(bool running)> setRunning;         // start button off and stop button on while true
    std::function<void(bool busy)> setBusyCursor;
    std::function<void(const QString& progress)> showProgress; // Lguage
    std::function<void(const QString& time)> showTime;         // LOverTine
    std::function<void(const effects::Bitmap& frame)> preview; // ImgMpg, transition frames only
    std::function<void()> processEvents;                       // once per progress notification
    std::function<void(const RunProgress& progress)> progress; // the same notification as numbers
};

enum class RunOutcome {
    NotStarted, // refused: another run is going on, or the settings cannot be used
    Finished,
    Stopped,
    Failed, // a picture, a song or the file could not be handled; see error
};

struct RunResult {
    RunOutcome outcome = RunOutcome::NotStarted;
    // This run wrote the video and it now lies at the output path (a finished run, or a stop
    // after the file was begun). Success shows only as this: a file that was there before
    // the run never counts, and a run that writes nothing leaves such a file as it was.
    bool fileWritten = false;
    std::string error; // why the run failed or was refused, in words for the user
    // The error is the encoder's own report (the file could not be written, say). A window
    // shows no text of its own for it and judges the run by fileWritten, as for a stop.
    bool encoderError = false;
    std::int64_t frames = 0; // frames written into the file
    // With ProductionSettings::disc, after a finished run: the disc images made, or why they
    // could not be (the video stays either way).
    std::vector<std::filesystem::path> discFiles;
    std::string discError;
    double elapsedSeconds = 0;
};

class ProductionRun {
  public:
    ProductionRun(const store::AlbumStore& album, RunCallbacks callbacks);
    ~ProductionRun();

    // The start button: runs the whole conversion before returning.
    RunResult Start(const ProductionSettings& settings);
    // The stop button; only has an effect while a run is going on.
    void Stop();
    bool running() const { return converter_ != nullptr || running_; }

  private:
    // Sets up and runs the converter; throws what a callback threw.
    void RunConversion(const ProductionSettings& settings, RunResult& result);
    // The disc images of a finished run, with the authoring tools.
    void makeDisc(const ProductionSettings& settings, RunResult& result);

    const store::AlbumStore& album_;
    RunCallbacks callbacks_;
    Converter* converter_ = nullptr; // the current run's converter, while Convert() runs
    bool running_ = false;
    bool stopped_ = false;
};

} // namespace vistello::production
