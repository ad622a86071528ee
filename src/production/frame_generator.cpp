#include "production/frame_generator.h"

#include "effects/engine/catalogue.h"
#include "production/background_pictures.h"
#include "production/compose.h"
#include "production/picture_reader.h"
#include "store/album_names.h"
#include "store/album_store.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace vistello::production {

namespace {

effects::Bitmap composeFile(const std::filesystem::path& picturePath,
                            const std::filesystem::path& backgroundPath, std::uint32_t colour, int width,
                            int height) {
    const QImage picture = readPictureFile(picturePath);
    QImage background;
    if (!backgroundPath.empty())
        background = readPictureFile(backgroundPath, PictureKind::Jpeg);
    effects::Bitmap frame(width, height);
    ComposePicture(picture, background, colour, frame);
    return frame;
}

} // namespace

void prepareRunState(RunState& state, const store::AlbumStore& album, const ProductionSettings& settings) {
    const VideoFormat& format = *settings.format;
    const int width = format.composeWidth, height = format.composeHeight;
    state.FrameWidth = width;
    state.FrameHeight = height;
    state.FrameRect = {0, 0, width, height};
    state.FrameRate = frameRateOf(format, settings.encode);
    state.TransitionSteps = transitionSteps(state.FrameRate);
    state.HoldFrames = computeHoldFrames(album, settings.synchronise, state.FrameRate);
    state.TotalHoldFrames =
        std::accumulate(state.HoldFrames.begin(), state.HoldFrames.end(), std::int64_t{0});
    state.TotalFrames =
        (state.TransitionSteps + 1) * static_cast<std::int64_t>(album.PicCount()) + state.TotalHoldFrames;
    state.BackPicFiles.clear();
    const std::filesystem::path backgrounds = backgroundFolder(album.RootPath());
    for (const auto& name : settings.backgroundNames)
        if (store::isPlainFileName(name))
            state.BackPicFiles.push_back(backgrounds / name);
    state.TargetFrame = effects::Bitmap(width, height);
    state.DisplayFrame = effects::Bitmap(width, height);
    state.FrameCounter = -1;
    state.MakePicIndex = -1;
    state.CurEffect = 0;
    state.CurTitle.clear();
    state.AudioList = AudioList();
    for (const auto& song : album.MusicList) {
        const auto path = album.mediaFile(song.FileName.gbk());
        // A name that cannot be a file still goes in, so the converter reports it by name.
        state.AudioList.Add(path.empty() ? album.AlbumPath() / song.FileName.text() : path, 16, 0, 0);
    }
    state.TotalSamples = state.AudioList.GetSampleCount();
}

FrameGenerator::FrameGenerator(RunState& state, const store::AlbumStore& album,
                               const ProductionSettings& settings, PreviewProc preview)
    : state_(state), album_(album), settings_(settings), preview_(std::move(preview)) {
    // Size, outline and shadow grow with the frame; at the original heights they are the
    // original 17, 24 or 36 pixels with outline 1 and shadow 2.
    const VideoFormat& format = *settings.format;
    title_.SetFont(QStringLiteral("宋体"), format.titleSize, 1, format.titleOutline);
    title_.SetColor(MclRGB(225, 225, 225), MclRGB(96, 96, 96), 8421504, -1);
    title_.Shadow(format.titleShadow, 1, 1);
    if (album.PicCount() > 0) {
        next_ = composeLater(0);
        nextIndex_ = 0;
    }
}

FrameGenerator::~FrameGenerator() {
    if (next_.valid())
        next_.wait(); // the composing thread reads the run's settings
}

std::future<effects::Bitmap> FrameGenerator::composeLater(int index) {
    const auto& record = album_.PicList[static_cast<std::size_t>(index)];
    std::filesystem::path picturePath = album_.mediaFile(record.FileName.gbk());
    if (picturePath.empty())
        picturePath = album_.AlbumPath() / record.FileName.text(); // reported as unreadable by name
    std::filesystem::path backgroundPath;
    // Picture mode with nothing ticked falls back to the colour.
    if (settings_.background == BackgroundMode::Pictures && !state_.BackPicFiles.empty()) {
        backgroundRandom_.reseedFromClock();
        const int pick = backgroundRandom_.Random(static_cast<int>(state_.BackPicFiles.size()));
        backgroundPath = state_.BackPicFiles[static_cast<std::size_t>(pick)];
    }
    return std::async(std::launch::async, composeFile, picturePath, backgroundPath, settings_.colour,
                      state_.FrameWidth, state_.FrameHeight);
}

void FrameGenerator::startPicture() {
    state_.FrameCounter = 0;
    ++state_.MakePicIndex;
    const int index = state_.MakePicIndex;
    if (index >= album_.PicCount())
        return;
    const auto& record = album_.PicList[static_cast<std::size_t>(index)];
    state_.CurTitle = QString::fromStdString(record.Title.text());
    if (record.Effect < 1 || record.Effect > effects::kEffectCount) {
        if (random_ == &clockRandom_)
            clockRandom_.reseedFromClock();
        state_.CurEffect = effects::RandomEffectNumber(*random_);
    } else {
        state_.CurEffect = record.Effect;
    }
    std::future<effects::Bitmap> composed =
        nextIndex_ == index && next_.valid() ? std::move(next_) : composeLater(index);
    nextIndex_ = -1;
    if (index + 1 < album_.PicCount()) {
        next_ = composeLater(index + 1);
        nextIndex_ = index + 1;
    }
    state_.TargetFrame = composed.get(); // rethrows a picture that could not be read
}

void FrameGenerator::drawTransitionStep(const effects::TEffect& effect, int step, int steps) {
    if (!effect.RandomEdges || steps <= kOriginalSteps) {
        effect.Proc(state_.DisplayFrame, state_.TargetFrame, state_.FrameRect, effects::kDefaultGrain,
                    transitionProgress(step, steps), *random_);
        return;
    }
    // Each step of a random edge adds its reach to what is shown, so these are drawn on the
    // 50-step schedule of 25 frames a second (step j at 2 × j %, at its time): the edge looks
    // the same at every rate, and frames between two of its steps repeat.
    if (step == 1)
        randomEdgeSteps_ = 0;
    const int due = (step * kOriginalSteps + steps - 1) / steps; // ceil(step × 50 ÷ steps)
    for (; randomEdgeSteps_ < due; ++randomEdgeSteps_)
        effect.Proc(state_.DisplayFrame, state_.TargetFrame, state_.FrameRect, effects::kDefaultGrain,
                    2 * (randomEdgeSteps_ + 1), *random_);
}

void FrameGenerator::VideoSourceProc(Source& source) {
    const int count = album_.PicCount();
    const int steps = state_.TransitionSteps;
    if (state_.MakePicIndex < count) {
        std::int64_t phase = state_.FrameCounter;
        if (state_.MakePicIndex >= 0)
            phase = state_.FrameCounter %
                    (state_.HoldFrames[static_cast<std::size_t>(state_.MakePicIndex)] + steps + 1);
        else if (phase > 0)
            phase = 0; // more than one early notification: the first picture starts now
        if (phase == 0) {
            startPicture();
        } else {
            if (settings_.soften)
                SoftenBitmap(state_.DisplayFrame, settings_.format->softenRadius);
            if (phase >= 1 && phase <= steps) {
                if (const effects::TEffect* effect = effects::FindEffect(state_.CurEffect))
                    drawTransitionStep(*effect, static_cast<int>(phase), steps);
                // Some effects leave a few old pixels at progress 100 (rounding at their edges),
                // and a picture without hold time has no whole-picture phase to cover them: the
                // last step shows the new picture whole. The step is still drawn, so the
                // effect's draws from the random source stay those of every other step.
                if (phase == steps)
                    state_.DisplayFrame = state_.TargetFrame;
            } else if (phase == steps + 1) {
                state_.DisplayFrame = state_.TargetFrame;
            }
            if (phase <= steps + 1 && preview_)
                preview_(state_.DisplayFrame);
        }
    }
    const effects::Bitmap& frame = state_.DisplayFrame;
    source.SetDIB(Dib{frame.data(), frame.width(), frame.height(), frame.stride()});
    if (state_.MakePicIndex >= count)
        source.Finished();
}

void FrameGenerator::VideoFuncProc(Converter&, Image& frame) {
    frame.ImgText(title_, settings_.format->titleColumn, settings_.format->titleRow, state_.CurTitle);
}

void FrameGenerator::AudioSourceProc(Source& source, int index) {
    std::filesystem::path name;
    if (state_.AudioList.GetName(index, name))
        source.SetFile(name);
    else
        source.Finished();
}

} // namespace vistello::production
