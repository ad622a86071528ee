#include "production/frame_generator.h"

#include "effects/engine/catalogue.h"
#include "production/background_pictures.h"
#include "production/compose.h"
#include "production/format_presets.h"
#include "production/picture_reader.h"
#include "store/album_names.h"
#include "store/album_store.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace vistello::production {

namespace {

// A stored StayTime can be anything; a day per picture is more than any album needs.
constexpr std::int64_t kMaxHoldFrames = 24LL * 3600 * kFramesPerSecond;
constexpr int kCycleExtra = 51; // phase 0 and the 50 transition steps
constexpr int kLastStep = 50;   // the transition step with progress 100

const FormatInfo& formatOf(const ProductionSettings& settings) {
    return kFormats[std::clamp(settings.format, 0, 2)];
}

effects::Bitmap composeFile(const std::filesystem::path& picturePath, const std::filesystem::path& backgroundPath,
                            std::uint32_t colour, int width, int height) {
    const QImage picture = readPictureFile(picturePath);
    QImage background;
    if (!backgroundPath.empty())
        background = readPictureFile(backgroundPath, PictureKind::Jpeg);
    effects::Bitmap frame(width, height);
    ComposePicture(picture, background, colour, frame);
    return frame;
}

} // namespace

std::int64_t musicSeconds(const store::AlbumStore& album) {
    std::int64_t total = 0;
    for (const auto& song : album.MusicList)
        total += std::max(0, song.PlayTime);
    return total;
}

std::vector<int> computeHoldFrames(const store::AlbumStore& album, bool synchronise) {
    const auto count = static_cast<std::int64_t>(album.PicCount());
    std::vector<int> hold;
    hold.reserve(album.PicList.size());
    const std::int64_t even = count > 0 ? (musicSeconds(album) - 2 * count) * kFramesPerSecond / count : 0;
    for (const auto& picture : album.PicList) {
        const std::int64_t frames = synchronise ? even : static_cast<std::int64_t>(picture.StayTime) * kFramesPerSecond;
        hold.push_back(static_cast<int>(std::clamp<std::int64_t>(frames, 0, kMaxHoldFrames)));
    }
    return hold;
}

std::int64_t totalVideoFrames(const store::AlbumStore& album, bool synchronise) {
    const std::vector<int> hold = computeHoldFrames(album, synchronise);
    return kCycleExtra * static_cast<std::int64_t>(album.PicCount()) +
           std::accumulate(hold.begin(), hold.end(), std::int64_t{0});
}

void prepareRunState(RunState& state, const store::AlbumStore& album, const ProductionSettings& settings) {
    const FormatInfo& format = formatOf(settings);
    state.FrameWidth = format.width;
    state.FrameHeight = format.height;
    state.FrameRect = {0, 0, format.width, format.height};
    state.HoldFrames = computeHoldFrames(album, settings.synchronise);
    state.TotalHoldFrames = std::accumulate(state.HoldFrames.begin(), state.HoldFrames.end(), std::int64_t{0});
    state.TotalFrames = kCycleExtra * static_cast<std::int64_t>(album.PicCount()) + state.TotalHoldFrames;
    state.BackPicFiles.clear();
    const std::filesystem::path backgrounds = backgroundFolder(album.RootPath());
    for (const auto& name : settings.backgroundNames)
        if (store::isPlainFileName(name))
            state.BackPicFiles.push_back(backgrounds / name);
    state.TargetFrame = effects::Bitmap(format.width, format.height);
    state.DisplayFrame = effects::Bitmap(format.width, format.height);
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

FrameGenerator::FrameGenerator(RunState& state, const store::AlbumStore& album, const ProductionSettings& settings,
                               PreviewProc preview)
    : state_(state), album_(album), settings_(settings), preview_(std::move(preview)) {
    const FormatInfo& format = formatOf(settings);
    title_.SetFont(QStringLiteral("宋体"), format.titleSize, 1, 1);
    title_.SetColor(MclRGB(225, 225, 225), MclRGB(96, 96, 96), 8421504, -1);
    title_.Shadow(2, 1, 1);
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
    std::future<effects::Bitmap> composed = nextIndex_ == index && next_.valid() ? std::move(next_) : composeLater(index);
    nextIndex_ = -1;
    if (index + 1 < album_.PicCount()) {
        next_ = composeLater(index + 1);
        nextIndex_ = index + 1;
    }
    state_.TargetFrame = composed.get(); // rethrows a picture that could not be read
}

void FrameGenerator::VideoSourceProc(Source& source) {
    const int count = album_.PicCount();
    if (state_.MakePicIndex < count) {
        std::int64_t phase = state_.FrameCounter;
        if (state_.MakePicIndex >= 0)
            phase = state_.FrameCounter % (state_.HoldFrames[static_cast<std::size_t>(state_.MakePicIndex)] + kCycleExtra);
        else if (phase > 0)
            phase = 0; // more than one early notification: the first picture starts now
        if (phase == 0) {
            startPicture();
        } else {
            if (settings_.soften)
                SoftenBitmap(state_.DisplayFrame);
            if (phase >= 1 && phase <= kLastStep) {
                if (const effects::TEffect* effect = effects::FindEffect(state_.CurEffect))
                    effect->Proc(state_.DisplayFrame, state_.TargetFrame, state_.FrameRect, effects::kDefaultGrain,
                                 static_cast<int>(2 * phase), *random_);
                // Some effects leave a few old pixels at progress 100 (rounding at their edges),
                // and a picture without hold time has no phase 51 to cover them: the last step
                // shows the new picture whole. The step is still drawn, so the effect's draws
                // from the random source stay those of every other step.
                if (phase == kLastStep)
                    state_.DisplayFrame = state_.TargetFrame;
            } else if (phase == kCycleExtra) {
                state_.DisplayFrame = state_.TargetFrame;
            }
            if (phase <= kCycleExtra && preview_)
                preview_(state_.DisplayFrame);
        }
    }
    const effects::Bitmap& frame = state_.DisplayFrame;
    source.SetDIB(Dib{frame.data(), frame.width(), frame.height(), frame.stride()});
    if (state_.MakePicIndex >= count)
        source.Finished();
}

void FrameGenerator::VideoFuncProc(Converter&, Image& frame) {
    frame.ImgText(title_, 10, formatOf(settings_).titleRow, state_.CurTitle);
}

void FrameGenerator::AudioSourceProc(Source& source, int index) {
    std::filesystem::path name;
    if (state_.AudioList.GetName(index, name))
        source.SetFile(name);
    else
        source.Finished();
}

} // namespace vistello::production
