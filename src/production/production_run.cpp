#include "production/production_run.h"

#include "production/background_pictures.h"
#include "production/disc_image.h"
#include "production/frame_generator.h"
#include "production/mcl_converter.h"
#include "production/pending_output.h"
#include "store/album_store.h"

#include <chrono>
#include <new>
#include <optional>

namespace vistello::production {

namespace {

template <typename F, typename... Args> void call(const F& callback, Args&&... args) {
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

// Names song `index` of the album as its list shows it (row from 1, title) and says why the
// run cannot use it.
std::string unreadableSongMessage(const store::AlbumStore& album, int index) {
    const store::TMusicInfo& song = album.MusicList[static_cast<std::size_t>(index)];
    const std::string title = song.SongName.text().empty() ? song.FileName.text() : song.SongName.text();
    const std::filesystem::path file = album.mediaFile(song.FileName.gbk());
    std::error_code error;
    const bool present = !file.empty() && std::filesystem::is_regular_file(file, error);
    return "无法读取第" + std::to_string(index + 1) + "首音乐《" + title + "》（文件 " +
           song.FileName.text() + "）：" + (present ? "其中没有可以解码的 MP3 声音" : "文件不存在");
}

} // namespace

ProgressTexts progressTexts(int stage, std::int64_t position, std::int64_t totalFrames,
                            const std::string& elapsedText, const std::string& remainingText) {
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

    // The video goes into a file of its own until it is finished; only then does it take the
    // output's name, so an older file there never stands for a run that made nothing.
    std::optional<PendingOutput> output = PendingOutput::create(settings.outputPath, result.error);
    if (!output) {
        result.encoderError = true; // reported as a file that could not be written
        return;
    }
    bool fileFinished = false;
    // The converter opens the songs one by one as it asks for them, before its first progress
    // notification; an error in that time belongs to the song asked for last.
    int songAsked = -1;
    int unreadableSong = -1;

    Converter converter;
    FrameGenerator generator(state, album_, settings, callbacks_.preview);
    converter.AssignVideoSource([&](Source& source) { generator.VideoSourceProc(source); });
    converter.AssignVideoFunc([&](Converter& c, Image& frame) { generator.VideoFuncProc(c, frame); });
    converter.AssignAudioSource([&](Source& source, int index) {
        songAsked = index;
        generator.AudioSourceProc(source, index);
    });
    converter.AssignAudioFunc([&] { generator.AudioFuncProc(); });
    converter.AssignProgress([&](Converter& c, int stage, std::int64_t position) {
        ++state.FrameCounter; // the timeline counts frames by these notifications
        songAsked = -1;
        if (stage == 0)
            fileFinished = true; // the file is complete (also after a stop)
        const ProgressTexts texts =
            progressTexts(stage, position, state.TotalFrames, MclMakeTimeStr(c.GetElapsedTime()),
                          MclMakeTimeStr(c.GetRemainingTime(state.TotalFrames, state.TotalSamples)));
        call(callbacks_.showProgress, texts.progress);
        call(callbacks_.showTime, texts.time);
        call(callbacks_.progress, RunProgress{stage, position, state.TotalFrames,
                                              c.GetRemainingTime(state.TotalFrames, state.TotalSamples)});
        call(callbacks_.processEvents);
    });
    converter.AssignError([&](Converter&, const std::string&, int& answer) {
        answer = 2;
        if (songAsked >= 0 && songAsked < album_.MusicCount() && unreadableSong < 0)
            unreadableSong = songAsked;
    });
    call(callbacks_.setBusyCursor, true);
    const VideoFormat& format = *settings.format;
    converter.VideoSetFileName(output->path());
    converter.AudioSetFileName(output->path());
    if (format.needsMpeg2)
        converter.EnableMPEG2();
    converter.SetFormat(format, settings.encode);
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
    if (unreadableSong >= 0) {
        // Said in the window with the song's place in the list, not as the encoder's report.
        result.error = unreadableSongMessage(album_, unreadableSong);
        result.encoderError = false;
        return;
    }
    if (result.error.empty() && fileFinished) {
        result.fileWritten = output->commit(result.error);
    }
}

void ProductionRun::makeDisc(const ProductionSettings& settings, RunResult& result) {
    call(callbacks_.showProgress, kDiscText);
    call(callbacks_.processEvents);
    const Rational rate = frameRateOf(*settings.format, settings.encode);
    const std::vector<double> chapters = pictureStartSeconds(
        computeHoldFrames(album_, settings.synchronise, rate), transitionSteps(rate), rate);
    DiscImage image = makeDiscImage(*settings.format, settings.outputPath, chapters);
    result.discFiles = std::move(image.files);
    result.discError = std::move(image.error);
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
    if (!settings.format) {
        result.error = "未选择视频格式";
        return result;
    }
    if (settings.outputPath.empty()) {
        result.error = "没有指定输出的视频文件";
        return result;
    }
    if (std::error_code ignored; std::filesystem::is_directory(settings.outputPath, ignored)) {
        result.error = "输出路径 " + settings.outputPath.string() + " 是一个文件夹，不能写成视频文件";
        return result;
    }
    if (overwritesAlbumFile(album_, settings)) {
        // The video would replace a picture, a song or a list the album needs.
        result.error = "输出文件 " + settings.outputPath.string() + " 是相册自己的文件，不能被视频覆盖";
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
    } catch (const std::bad_alloc&) {
        result.error = "内存不足，无法生成视频";
    } catch (const std::exception& error) {
        // A picture that cannot be read, or a failure setting up the run.
        result.error = error.what();
    } catch (...) {
        result.error = "生成视频时出现未知的错误";
    }
    converter_ = nullptr;
    call(callbacks_.setBusyCursor, false);

    if (settings.disc && settings.format->isDisc() && result.error.empty() && !stopped_ && result.fileWritten)
        makeDisc(settings, result);

    call(callbacks_.setSettingsEnabled, true);
    call(callbacks_.showProgress, kFinishedText);
    call(callbacks_.showTime, kIdleTimeText);
    call(callbacks_.setRunning, false);

    result.outcome = !result.error.empty() ? RunOutcome::Failed
                     : stopped_            ? RunOutcome::Stopped
                                           : RunOutcome::Finished;
    result.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace vistello::production
