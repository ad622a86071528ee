#include "production/production_run.h"

#include "production/background_pictures.h"
#include "production/frame_generator.h"
#include "production/mcl_converter.h"
#include "store/album_store.h"

#include <chrono>

namespace vistello::production {

namespace {

template <typename F, typename... Args>
void call(const F& callback, Args&&... args) {
    if (callback)
        callback(std::forward<Args>(args)...);
}

// Clears a flag when the scope ends, however it ends.
struct FlagGuard {
    bool& flag;
    explicit FlagGuard(bool& f) : flag(f) { flag = true; }
    ~FlagGuard() { flag = false; }
};

// True when writing `output` would overwrite one of the files the run reads or the album keeps.
bool overwritesAlbumFile(const store::AlbumStore& album, const ProductionSettings& settings) {
    std::error_code error;
    if (!std::filesystem::exists(settings.outputPath, error))
        return false;
    std::vector<std::filesystem::path> kept = {album.RootPath() / "Album", album.AlbumPath() / "PicInfo",
                                               album.AlbumPath() / "MusicInfo"};
    for (const auto& picture : album.PicList)
        kept.push_back(album.mediaFile(picture.FileName.gbk()));
    for (const auto& song : album.MusicList)
        kept.push_back(album.mediaFile(song.FileName.gbk()));
    const std::filesystem::path backgrounds = backgroundFolder(album.RootPath());
    for (const auto& name : settings.backgroundNames)
        kept.push_back(backgrounds / name);
    for (const auto& file : kept)
        if (!file.empty() && std::filesystem::equivalent(settings.outputPath, file, error))
            return true;
    return false;
}

} // namespace

ProgressTexts progressTexts(int stage, std::int64_t position, std::int64_t totalFrames, const std::string& elapsedText,
                            const std::string& remainingText) {
    switch (stage) {
    case 0:
        return {QString(), QStringLiteral("共用时间: ") + QString::fromStdString(elapsedText)};
    case 1:
        return {QStringLiteral("准备生成..."), QString()};
    case 2:
        return {QStringLiteral("视频文件结构处理..."), QString()};
    case 3: {
        const std::int64_t percent = totalFrames > 0 ? position * 100 / totalFrames : 0;
        return {QStringLiteral("完成进度：") + QString::number(percent) + QStringLiteral("%"),
                QStringLiteral("剩余时间: ") + QString::fromStdString(remainingText)};
    }
    default:
        return {QStringLiteral("其它视频处理！"), QString()};
    }
}

void ProductionRun::RunConversion(const ProductionSettings& settings, RunResult& result) {
    // The run state lives for this call only; leaving it releases both frames, the audio
    // list and the converter on every path, the error path included.
    RunState state;
    prepareRunState(state, album_, settings);
    call(callbacks_.showProgress, kIdleProgressText);

    Converter converter;
    FrameGenerator generator(state, album_, settings, callbacks_.preview);
    converter.AssignVideoSource([&](Source& source) { generator.VideoSourceProc(source); });
    converter.AssignVideoFunc([&](Converter& c, Image& frame) { generator.VideoFuncProc(c, frame); });
    converter.AssignAudioSource([&](Source& source, int index) { generator.AudioSourceProc(source, index); });
    converter.AssignAudioFunc([&] { generator.AudioFuncProc(); });
    converter.AssignProgress([&](Converter& c, int stage, std::int64_t position) {
        ++state.FrameCounter; // the timeline counts frames by these notifications
        const ProgressTexts texts =
            progressTexts(stage, position, state.TotalFrames, MclMakeTimeStr(c.GetElapsedTime()),
                          MclMakeTimeStr(c.GetRemainingTime(state.TotalFrames, state.TotalSamples)));
        call(callbacks_.showProgress, texts.progress);
        call(callbacks_.showTime, texts.time);
        call(callbacks_.processEvents);
    });
    converter.AssignError([&](Converter&, const std::string&, int& answer) { answer = 2; });
    call(callbacks_.setBusyCursor, true);
    const FormatInfo& format = kFormats[settings.format];
    converter.VideoSetFileName(settings.outputPath);
    converter.AudioSetFileName(settings.outputPath);
    if (format.mpeg2)
        converter.EnableMPEG2();
    converter.SetFormatPreset(format.preset, 0);
    converter.VideoSetKeepDuration(-1);
    call(callbacks_.setBusyCursor, false);

    converter_ = &converter;
    struct Forget {
        Converter*& pointer;
        std::int64_t& frames;
        const Converter& converter;
        ~Forget() {
            frames = converter.framesRequested();
            pointer = nullptr;
        }
    } forget{converter_, result.frames, converter};
    converter.Convert(); // a callback's error leaves through here
    result.error = converter.lastError();
    result.encoderError = !result.error.empty();
}

ProductionRun::ProductionRun(const store::AlbumStore& album, RunCallbacks callbacks)
    : album_(album), callbacks_(std::move(callbacks)) {}

ProductionRun::~ProductionRun() = default;

void ProductionRun::Stop() {
    if (!converter_)
        return;
    stopped_ = true;
    converter_->Abort();
    call(callbacks_.setRunning, false);
}

RunResult ProductionRun::Start(const ProductionSettings& settings) {
    RunResult result;
    if (running())
        return result; // a second start from inside the first run's event processing
    if (settings.format < 0 || settings.format > 2) {
        result.error = "unknown format " + std::to_string(settings.format);
        return result;
    }
    if (settings.outputPath.empty()) {
        result.error = "no output file";
        return result;
    }
    if (overwritesAlbumFile(album_, settings)) {
        // The video would replace a picture, a song or a list the album needs.
        result.error = "the output file " + settings.outputPath.string() + " belongs to the album";
        return result;
    }
    if (settings.synchronise && !(2 * static_cast<std::int64_t>(album_.PicCount()) < musicSeconds(album_))) {
        result.error = kMusicTooShort.toStdString();
        return result;
    }
    FlagGuard runningGuard(running_);
    stopped_ = false;
    const auto started = std::chrono::steady_clock::now();
    call(callbacks_.setRunning, true);
    call(callbacks_.setSettingsEnabled, false);
    try {
        RunConversion(settings, result);
    } catch (const std::exception& error) {
        // A picture that cannot be read, or a failure setting up the run.
        result.error = error.what();
    } catch (...) {
        result.error = "unknown failure";
    }
    converter_ = nullptr;
    call(callbacks_.setBusyCursor, false);

    call(callbacks_.setSettingsEnabled, true);
    call(callbacks_.showProgress, kFinishedText);
    call(callbacks_.showTime, kIdleTimeText);
    call(callbacks_.setRunning, false);

    std::error_code ignored;
    result.fileExists = std::filesystem::is_regular_file(settings.outputPath, ignored);
    result.outcome = !result.error.empty() ? RunOutcome::Failed : stopped_ ? RunOutcome::Stopped : RunOutcome::Finished;
    result.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace vistello::production
