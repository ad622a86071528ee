#pragma once
// PicturePreviewModel: the picture editor's preview without its window. It holds the frames of
// one preview and steps through them on the ticks of a 50 ms timer: the start picture (the
// previous picture, or black) during a pause, the transition's steps 4, 8, ..., 96 into the
// picture, then, when the picture moves, its motion over the picture's display time, and at the
// end the picture as the editor shows it. The dialog runs the timers and shows frame(); tests
// call the steps themselves.
//
// Frames are bitmaps of the preview box's size. A moving picture is shown in the frame's shape
// (its display aspect, fitted in the box on black), rendered by a MotionSource that is made
// once for the preview.

#include "effects/raster/bitmap.h"
#include "motion/auto_framing.h"
#include "motion/motion_source.h"

#include <functional>
#include <memory>
#include <optional>

namespace vistello::effects {
class RandomSource;
}

namespace vistello::app {

class PicturePreviewModel {
  public:
    static constexpr int kTickMs = 50;
    static constexpr int kStepPercent = 4;

    enum class Phase { Idle, Pause, Transition, Motion };

    // The way a picture moves in the preview: its source, the path of rectangles, where the
    // frame lies in the box, and how many ticks the motion lasts.
    struct Motion {
        std::shared_ptr<const motion::MotionSource> source;
        motion::MotionPath path;
        effects::Rect frame; // inside the box
        int ticks = 0;       // at least 1
    };

    // Called when frame() changed, and when the phase changed: the 50 ms timer runs in the
    // Transition and Motion phases.
    std::function<void()> OnFrame;
    std::function<void(Phase phase)> OnPhaseChanged;

    // Starts a preview that shows `from` until the pause ends (startSteps). `picture` is the
    // picture as the editor shows it, where the preview ends; the transition brings in the
    // motion's first frame when `motion` is given, else `picture`. All three bitmaps have the
    // box's size; a bitmap of another size ends the preview at its first tick.
    void begin(effects::Bitmap from, effects::Bitmap picture, std::optional<Motion> motion);
    // The pause is over: the transition's steps start with effect `effect` (1..105).
    void startSteps(int effect);
    // One 50 ms tick: the next step of the transition or of the motion, or the end.
    void tick(effects::RandomSource& random);
    // A stop request: the next tick ends the preview (at once during the pause).
    void requestStop();
    // Ends now on the picture.
    void finish();
    // Forgets everything without showing anything (the dialog closes).
    void reset();

    Phase phase() const { return phase_; }
    bool running() const { return phase_ != Phase::Idle; }
    int progress() const { return progress_; } // percent of the transition
    int effect() const { return effect_; }
    int motionTick() const { return motionTick_; } // 0..ticks while the picture moves
    const std::optional<Motion>& motion() const { return motion_; }
    const effects::Bitmap& frame() const { return frame_; }
    // The motion's frame at time fraction t (0..1), box-sized; black without a motion.
    effects::Bitmap motionFrame(double t) const;

  private:
    void setPhase(Phase phase);
    void show(const effects::Bitmap& bitmap);

    Phase phase_ = Phase::Idle;
    effects::Bitmap picture_;  // where the preview ends
    effects::Bitmap incoming_; // what the transition brings in
    effects::Bitmap dest_;     // the transition's canvas
    effects::Bitmap frame_;
    std::optional<Motion> motion_;
    int progress_ = 0;
    int effect_ = 0;
    int motionTick_ = 0;
    bool stopRequested_ = false;
};

} // namespace vistello::app
