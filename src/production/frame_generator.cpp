#include "production/frame_generator.h"

#include "effects/engine/catalogue.h"
#include "motion/framing_cache.h"
#include "production/background_pictures.h"
#include "production/compose.h"
#include "production/transition_mask.h"
#include "store/album_names.h"
#include "store/album_store.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

namespace vistello::production {

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
    movingWidth_ = format.composeWidth;
    movingHeight_ = format.composeHeight;
    motions_ = store::MotionTable::load(album.AlbumPath());
    std::vector<std::string> names;
    for (const auto& record : album.PicList)
        names.push_back(store::trimName(record.FileName.text()));
    framingCache_ = std::make_unique<motion::FramingCache>(album.AlbumPath(), std::move(names));
    if (album.PicCount() > 0) {
        next_ = composeLater(0);
        nextIndex_ = 0;
    }
}

FrameGenerator::~FrameGenerator() {
    if (next_.valid())
        next_.wait(); // the composing thread reads the run's settings
}

void FrameGenerator::drawMovingAtStoredSize() {
    const VideoFormat& format = *settings_.format;
    // The coverage mask is brought to the stored width only: a format whose stored picture has
    // other lines than its compose size keeps every frame at the compose size.
    if (format.codedHeight == format.composeHeight && format.pictureWidth > 0) {
        movingWidth_ = format.pictureWidth;
        movingHeight_ = format.codedHeight;
    }
}

std::int64_t FrameGenerator::spanOf(int index) const {
    const std::int64_t steps = state_.TransitionSteps;
    const std::int64_t hold = state_.HoldFrames[static_cast<std::size_t>(index)];
    // From phase 1 to the next cycle's last step; the last picture to its own last phase.
    return index + 1 < album_.PicCount() ? 2 * steps + hold : std::max<std::int64_t>(1, steps + hold - 1);
}

store::PictureMotion FrameGenerator::motionOf(int index) const {
    const auto& record = album_.PicList[static_cast<std::size_t>(index)];
    store::PictureMotion motion = motions_.get(record.FileName.gbk());
    if (motion.kind == store::MotionKind::None && settings_.motion)
        motion = store::PictureMotion::automatic();
    return motion;
}

std::future<PreparedPicture> FrameGenerator::composeLater(int index) {
    const auto& record = album_.PicList[static_cast<std::size_t>(index)];
    PictureJob job;
    job.picture = album_.mediaFile(record.FileName.gbk());
    if (job.picture.empty())
        job.picture = album_.AlbumPath() / record.FileName.text(); // reported as unreadable by name
    job.fileName = store::trimName(record.FileName.text());
    job.motion = motionOf(index);
    // Picture mode with nothing ticked falls back to the colour. A moving picture fills the
    // frame and needs no background.
    if (job.motion.kind == store::MotionKind::None && settings_.background == BackgroundMode::Pictures &&
        !state_.BackPicFiles.empty()) {
        backgroundRandom_.reseedFromClock();
        const int pick = backgroundRandom_.Random(static_cast<int>(state_.BackPicFiles.size()));
        job.background = state_.BackPicFiles[static_cast<std::size_t>(pick)];
    }
    job.colour = settings_.colour;
    job.frameWidth = state_.FrameWidth;
    job.frameHeight = state_.FrameHeight;
    job.span = spanOf(index);
    job.seconds = static_cast<double>(job.span) / state_.FrameRate.value();
    job.cache = framingCache_.get();
    job.faces = &faces_;
    return std::async(std::launch::async, [job = std::move(job)] { return PreparedPicture::prepare(job); });
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
    std::future<PreparedPicture> composed =
        nextIndex_ == index && next_.valid() ? std::move(next_) : composeLater(index);
    nextIndex_ = -1;
    if (index + 1 < album_.PicCount()) {
        next_ = composeLater(index + 1);
        nextIndex_ = index + 1;
    }
    auto prepared = std::make_unique<PreparedPicture>(composed.get()); // rethrows an unreadable file
    previous_ = std::move(current_);
    current_ = std::move(prepared);
    if (current_->moving()) {
        state_.TargetFrame = effects::Bitmap(state_.FrameWidth, state_.FrameHeight);
        current_->render(0, state_.TargetFrame); // the picture as its transition begins
    } else {
        state_.TargetFrame = current_->takeStill();
    }
}

void FrameGenerator::drawTransitionStep(const effects::TEffect& effect, effects::Bitmap& dest,
                                        const effects::Bitmap& next, int step, int steps) {
    if (!effect.RandomEdges || steps <= kOriginalSteps) {
        effect.Proc(dest, next, state_.FrameRect, effects::kDefaultGrain, transitionProgress(step, steps),
                    *random_);
        return;
    }
    // Each step of a random edge adds its reach to what is shown, so these are drawn on the
    // 50-step schedule of 25 frames a second (step j at 2 × j %, at its time): the edge looks
    // the same at every rate, and frames between two of its steps repeat.
    if (step == 1)
        randomEdgeSteps_ = 0;
    const int due = (step * kOriginalSteps + steps - 1) / steps; // ceil(step × 50 ÷ steps)
    for (; randomEdgeSteps_ < due; ++randomEdgeSteps_)
        effect.Proc(dest, next, state_.FrameRect, effects::kDefaultGrain, 2 * (randomEdgeSteps_ + 1),
                    *random_);
}

void FrameGenerator::renderMoving(const PreparedPicture& picture, std::int64_t frame, effects::Bitmap& out,
                                  int width, int height) {
    if (width <= 0 || height <= 0) {
        width = movingWidth_;
        height = movingHeight_;
    }
    if (out.width() != width || out.height() != height)
        out = effects::Bitmap(width, height);
    picture.render(frame, out);
    if (settings_.soften)
        SoftenBitmap(out, settings_.format->softenRadius);
}

void FrameGenerator::drawMovingTransition(const effects::TEffect* effect, int step, int steps) {
    const int width = state_.FrameWidth, height = state_.FrameHeight;
    // Between two moving pictures, or from the black before the first, the frame is of the
    // moving frame size; with a still picture on either side, of the compose size.
    const bool moving = current_->moving() && (!previous_ || previous_->moving());
    const int frameWidth = moving ? movingWidth_ : width, frameHeight = moving ? movingHeight_ : height;
    if (step == 1 || mask_.isEmpty()) {
        mask_ = effects::Bitmap(width, height); // nothing of the new picture shows yet
        if (white_.isEmpty()) {
            white_ = effects::Bitmap(width, height);
            white_.fill({255, 255, 255});
        }
        // An old picture that does not move stays as it was shown (black before the first,
        // as the run state starts it, at whichever size this transition is drawn).
        if (!previous_)
            oldStill_ = effects::Bitmap(frameWidth, frameHeight);
        else if (!previous_->moving())
            oldStill_ = state_.DisplayFrame;
    }
    if (effect)
        drawTransitionStep(*effect, mask_, white_, step, steps);

    const effects::Bitmap* next = &state_.TargetFrame;
    if (current_->moving()) {
        renderMoving(*current_, step - 1, newFrame_, frameWidth, frameHeight);
        next = &newFrame_;
    }
    // The last step shows the new picture whole, whatever the effect left; the old picture is
    // not drawn for it.
    if (step == steps) {
        state_.DisplayFrame = *next;
        return;
    }
    const effects::Bitmap* old = &oldStill_;
    if (previous_ && previous_->moving()) {
        const int before = state_.MakePicIndex - 1;
        renderMoving(*previous_, steps + state_.HoldFrames[static_cast<std::size_t>(before)] + step,
                     oldFrame_, frameWidth, frameHeight);
        old = &oldFrame_;
    } else if (settings_.soften) {
        SoftenBitmap(oldStill_, settings_.format->softenRadius); // grows softer, as before
    }
    const effects::Bitmap* mask = &mask_;
    if (frameWidth != width) {
        if (storedMask_.width() != frameWidth || storedMask_.height() != frameHeight)
            storedMask_ = effects::Bitmap(frameWidth, frameHeight);
        maskScaler_.scale(mask_, storedMask_);
        mask = &storedMask_;
    }
    if (state_.DisplayFrame.width() != frameWidth || state_.DisplayFrame.height() != frameHeight)
        state_.DisplayFrame = effects::Bitmap(frameWidth, frameHeight);
    blendThroughMask(*mask, *old, *next, state_.DisplayFrame);
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
        const bool currentMoves = current_ && current_->moving();
        if (phase == 0) {
            // A moving picture goes on moving in this frame, until the next one covers it.
            if (currentMoves)
                renderMoving(*current_,
                             steps + state_.HoldFrames[static_cast<std::size_t>(state_.MakePicIndex)],
                             state_.DisplayFrame);
            startPicture();
        } else if (phase >= 1 && phase <= steps && current_ &&
                   (currentMoves || (previous_ && previous_->moving()))) {
            drawMovingTransition(effects::FindEffect(state_.CurEffect), static_cast<int>(phase), steps);
            if (phase == steps)
                previous_.reset(); // covered: its copy is no longer needed
            if (preview_)
                preview_(state_.DisplayFrame);
        } else if (phase > steps && currentMoves) {
            const bool previewed = phase == steps + 1 && preview_;
            if (!settings_.soften && !previewed) {
                // Drawn straight into the frame handed over, without a copy. DisplayFrame is
                // not kept up to date meanwhile: the next frame that reads it (the start of
                // the next picture) draws it anew first.
                QImage& frame = source.drawFrame(movingWidth_, movingHeight_);
                if (!frame.isNull()) {
                    current_->render(phase - 1, frame.bits(), frame.bytesPerLine(), frame.width(),
                                     frame.height());
                    return;
                }
            }
            renderMoving(*current_, phase - 1, state_.DisplayFrame);
            if (previewed)
                preview_(state_.DisplayFrame);
        } else {
            if (settings_.soften)
                SoftenBitmap(state_.DisplayFrame, settings_.format->softenRadius);
            if (phase >= 1 && phase <= steps) {
                if (const effects::TEffect* effect = effects::FindEffect(state_.CurEffect))
                    drawTransitionStep(*effect, state_.DisplayFrame, state_.TargetFrame,
                                       static_cast<int>(phase), steps);
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
    // A frame drawn at the stored size gets the title squeezed as the scaler squeezes the others.
    const int width = frame.image().width();
    const double squeeze = width > 0 && state_.FrameWidth > 0 && width != state_.FrameWidth
                               ? static_cast<double>(width) / state_.FrameWidth
                               : 1.0;
    frame.ImgText(title_, settings_.format->titleColumn, settings_.format->titleRow, state_.CurTitle,
                  squeeze);
}

void FrameGenerator::AudioSourceProc(Source& source, int index) {
    std::filesystem::path name;
    if (state_.AudioList.GetName(index, name))
        source.SetFile(name);
    else
        source.Finished();
}

} // namespace vistello::production
