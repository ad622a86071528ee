#include "production/production_run.h"

#include "production/background_pictures.h"
#include "production/disc_image.h"
#include "production/frame_generator.h"
#include "production/mcl_converter.h"
#include "production/pending_output.h"
#include "production/picture_reader.h"
#include "store/album_store.h"

#include <chrono>
#include <new>
#include <optional>

namespace vistello::production {

namespace {

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

RunStage runStageOf(int stage) {
    switch (stage) {
    case 0:
        return RunStage::Done;
    case 1:
        return RunStage::Preparing;
    case 2:
        return RunStage::FileStructure;
    case 3:
        return RunStage::Encoding;
    default:
        return RunStage::Other;
    }
}

RunError ProductionRun::songError(int index) const {
    const store::TMusicInfo& song = album_.MusicList[static_cast<std::size_t>(index)];
    RunError error{RunFailure::Song};
    error.row = index;
    error.title = song.SongName.text().empty() ? song.FileName.text() : song.SongName.text();
    error.file = album_.AlbumPath() / song.FileName.text();
    const std::filesystem::path file = album_.mediaFile(song.FileName.gbk());
    std::error_code ignored;
    if (file.empty() || !std::filesystem::is_regular_file(file, ignored))
        error.code = std::make_error_code(std::errc::no_such_file_or_directory);
    return error;
}

RunError ProductionRun::pictureError(const std::filesystem::path& file,
                                     std::vector<std::string> reasons) const {
    RunError error{RunFailure::Picture};
    error.file = file;
    error.reasons = std::move(reasons);
    for (int i = 0; i < album_.PicCount(); ++i) {
        const store::TPicInfo& picture = album_.PicList[static_cast<std::size_t>(i)];
        // The render names a picture whose name cannot be a file by that name in the album folder.
        if (file == album_.mediaFile(picture.FileName.gbk()) ||
            file == album_.AlbumPath() / picture.FileName.text()) {
            error.row = i;
            return error;
        }
    }
    if (file.parent_path() == backgroundFolder(album_.RootPath()))
        error.what = RunFailure::Background;
    return error;
}

void ProductionRun::RunConversion(const ProductionSettings& settings, RunResult& result) {
    // The run state lives for this call only; leaving it releases both frames, the audio
    // list and the converter on every path, the error path included.
    RunState state;
    prepareRunState(state, album_, settings);

    // The video goes into a file of its own until it is finished; only then does it take the
    // output's name, so an older file there never stands for a run that made nothing.
    std::optional<PendingOutput> output = PendingOutput::create(settings.outputPath, result.error.code);
    if (!output) {
        result.error.what = RunFailure::OutputNotCreated;
        result.error.file = PendingOutput::finalTarget(settings.outputPath);
        return;
    }
    bool fileFinished = false;
    // The converter opens the songs one by one as it asks for them, before its first progress
    // notification; an error in that time belongs to the song asked for last.
    int songAsked = -1;
    int unreadableSong = -1;

    Converter converter;
    FrameGenerator generator(state, album_, settings,
                             [this](const effects::Bitmap& frame) { observer_.preview(frame); });
    // Frames of moving pictures go to the converter at the stored size, which it only converts.
    generator.drawMovingAtStoredSize();
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
        const RunProgress progress{runStageOf(stage), position, state.TotalFrames, c.GetElapsedTime(),
                                   c.GetRemainingTime(state.TotalFrames, state.TotalSamples)};
        if (!observer_.progressed(progress))
            Stop();
    });
    converter.AssignError([&](Converter&, const std::string&, int& answer) {
        answer = 2;
        if (songAsked >= 0 && songAsked < album_.MusicCount() && unreadableSong < 0)
            unreadableSong = songAsked;
    });
    observer_.phaseChanged(RunPhase::SettingUp);
    const VideoFormat& format = *settings.format;
    converter.VideoSetFileName(output->path());
    converter.AudioSetFileName(output->path());
    if (format.needsMpeg2)
        converter.EnableMPEG2();
    converter.SetFormat(format, settings.encode);
    converter.VideoSetKeepDuration(-1);
    observer_.phaseChanged(RunPhase::Encoding);

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
    if (unreadableSong >= 0) {
        // Said with the song's place in the list, not as the encoder's report.
        result.error = songError(unreadableSong);
        return;
    }
    if (!converter.lastError().empty()) {
        result.error.what = RunFailure::Encoder;
        result.error.detail = converter.lastError();
        return;
    }
    if (fileFinished) {
        result.fileWritten = output->commit(result.error.code);
        if (!result.fileWritten) {
            result.error.what = RunFailure::OutputNotSaved;
            result.error.file = output->target();
        }
    }
}

void ProductionRun::makeDisc(const ProductionSettings& settings, RunResult& result) {
    observer_.phaseChanged(RunPhase::MakingDisc);
    const Rational rate = frameRateOf(*settings.format, settings.encode);
    const std::vector<double> chapters = pictureStartSeconds(
        computeHoldFrames(album_, settings.synchronise, rate), transitionSteps(rate), rate);
    DiscImage image = makeDiscImage(*settings.format, settings.outputPath, chapters);
    result.discFiles = std::move(image.files);
    result.discError = std::move(image.error);
}

ProductionRun::ProductionRun(const store::AlbumStore& album, RunObserver& observer)
    : album_(album), observer_(observer) {}

ProductionRun::~ProductionRun() = default;

void ProductionRun::Stop() {
    if (!converter_)
        return;
    stopped_ = true;
    converter_->Abort();
    observer_.phaseChanged(RunPhase::Stopping);
}

RunError ProductionRun::refusal(const ProductionSettings& settings) const {
    if (!settings.format)
        return RunError(RunFailure::NoFormat);
    if (settings.outputPath.empty())
        return RunError(RunFailure::NoOutput);
    if (std::error_code ignored; std::filesystem::is_directory(settings.outputPath, ignored))
        return RunError(RunFailure::OutputIsFolder, settings.outputPath);
    if (overwritesAlbumFile(album_, settings)) // it would replace a picture, a song or a list
        return RunError(RunFailure::OutputIsAlbumFile, settings.outputPath);
    if (settings.synchronise && !(2 * static_cast<std::int64_t>(album_.PicCount()) < musicSeconds(album_)))
        return RunError(RunFailure::MusicTooShort);
    return {};
}

RunResult ProductionRun::Start(const ProductionSettings& settings) {
    RunResult result;
    if (running())
        return result; // a second start from inside the first run's event processing
    result.error = refusal(settings);
    if (result.error)
        return result;
    FlagGuard runningGuard(running_);
    stopped_ = false;
    const auto started = std::chrono::steady_clock::now();
    observer_.phaseChanged(RunPhase::Started);
    try {
        RunConversion(settings, result);
    } catch (const PictureReadError& error) {
        result.error = pictureError(error.path(), error.reasons());
    } catch (const std::bad_alloc&) {
        result.error = RunError(RunFailure::OutOfMemory);
    } catch (const store::StoreError& error) {
        result.error = RunError(RunFailure::Store, error.file());
        result.error.code = error.code();
        result.error.storeAction = error.action();
    } catch (const std::exception& error) {
        // A failure setting up the run.
        result.error = RunError(RunFailure::Unknown);
        result.error.detail = error.what();
    } catch (...) {
        result.error = RunError(RunFailure::Unknown);
    }
    converter_ = nullptr;

    if (settings.disc && settings.format->isDisc() && !result.error && !stopped_ && result.fileWritten)
        makeDisc(settings, result);

    observer_.phaseChanged(RunPhase::Ended);
    result.outcome = result.error ? RunOutcome::Failed
                     : stopped_   ? RunOutcome::Stopped
                                  : RunOutcome::Finished;
    result.elapsedSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

} // namespace vistello::production
