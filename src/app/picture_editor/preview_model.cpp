#include "app/picture_editor/preview_model.h"

#include "effects/engine/catalogue.h"
#include "effects/raster/drawing.h"
#include "motion/motion_path.h"

#include <utility>

namespace vistello::app {

namespace {

bool sameSize(const effects::Bitmap& a, const effects::Bitmap& b) {
    return a.width() == b.width() && a.height() == b.height();
}

} // namespace

void PicturePreviewModel::begin(effects::Bitmap from, effects::Bitmap picture, std::optional<Motion> motion) {
    picture_ = std::move(picture);
    motion_ = std::move(motion);
    if (motion_ &&
        (!motion_->source || motion_->source->isNull() || motion_->ticks < 1 || motion_->frame.isEmpty() ||
         motion_->frame.intersected(picture_.bounds()) != motion_->frame))
        motion_.reset(); // nothing to move, or no room for it: the plain transition
    incoming_ = motion_ ? motionFrame(0) : picture_;
    dest_ = std::move(from);
    progress_ = 0;
    effect_ = 0;
    motionTick_ = 0;
    stopRequested_ = false;
    setPhase(Phase::Pause);
    show(dest_);
}

void PicturePreviewModel::startSteps(int effect) {
    if (phase_ != Phase::Pause)
        return;
    effect_ = effect;
    progress_ = 0;
    setPhase(Phase::Transition);
}

void PicturePreviewModel::tick(effects::RandomSource& random) {
    if (phase_ != Phase::Transition && phase_ != Phase::Motion)
        return;
    if (stopRequested_) {
        finish();
        return;
    }
    if (phase_ == Phase::Transition) {
        const effects::TEffect* effect = effects::FindEffect(effect_);
        if (effect == nullptr || incoming_.isEmpty() || !sameSize(incoming_, dest_) ||
            !sameSize(incoming_, picture_)) {
            // Nothing to draw with: the preview is over.
            finish();
            return;
        }
        progress_ += kStepPercent;
        if (progress_ < 100) {
            effect->Proc(dest_, incoming_, dest_.bounds(), effects::kDefaultGrain, progress_, random);
            show(dest_);
            return;
        }
        if (!motion_) {
            finish();
            return;
        }
        // The transition ends on the motion's first frame; the picture moves from there.
        motionTick_ = 0;
        setPhase(Phase::Motion);
        show(incoming_);
        return;
    }
    if (motionTick_ >= motion_->ticks) {
        finish();
        return;
    }
    ++motionTick_;
    show(motionFrame(static_cast<double>(motionTick_) / motion_->ticks));
}

void PicturePreviewModel::requestStop() {
    progress_ = 100;
    if (phase_ == Phase::Pause)
        finish();
    else
        stopRequested_ = true;
}

void PicturePreviewModel::finish() {
    if (phase_ == Phase::Idle)
        return;
    setPhase(Phase::Idle);
    if (!picture_.isEmpty())
        show(picture_);
}

void PicturePreviewModel::reset() {
    setPhase(Phase::Idle);
    picture_ = {};
    incoming_ = {};
    dest_ = {};
    motion_.reset();
    stopRequested_ = false;
}

effects::Bitmap PicturePreviewModel::motionFrame(double t) const {
    effects::Bitmap box(picture_.width(), picture_.height());
    if (!motion_)
        return box;
    const effects::Rect& at = motion_->frame;
    effects::Bitmap frame(at.width(), at.height());
    const motion::MotionPath& path = motion_->path;
    motion_->source->render(motion::rectAt(path.start, path.end, path.easing, t), frame);
    effects::CopyRect(box, at, frame, frame.bounds());
    return box;
}

void PicturePreviewModel::setPhase(Phase phase) {
    if (phase == phase_)
        return;
    phase_ = phase;
    if (OnPhaseChanged)
        OnPhaseChanged(phase_);
}

void PicturePreviewModel::show(const effects::Bitmap& bitmap) {
    frame_ = bitmap;
    if (OnFrame)
        OnFrame();
}

} // namespace vistello::app
