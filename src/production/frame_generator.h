#pragma once
// The slideshow timeline: the run state and the four source callbacks that turn an album into
// frames, titles and songs for the converter.
//
// Picture i takes HoldFrames[i] + TransitionSteps + 1 frames (51 at 25 frames a second), told
// apart by the phase: phase 0 composes the picture into TargetFrame (the frame repeats what
// was shown), phases 1..TransitionSteps draw the transition step with its progress (2 ×
// phase at 25 frames a second, see timeline.h) over DisplayFrame (the frame of the last step
// is the new picture exactly, whatever the effect left), the next phase shows the picture
// whole and the rest hold it. Frames are composed at the format's square-pixel size. Every
// progress notification of the converter raises FrameCounter (the run does that); the frame
// after the last picture's cycle is handed once more with the end.
// The next picture is read and composed on a second thread while the current one plays.
//
// Pictures that move. A picture moves when the album's Motion file gives it an automatic or a
// custom motion, or, with ProductionSettings::motion, when it has none of its own (then the
// automatic one). It moves during its whole time on screen: t = 0 is the frame of its first
// transition step (phase 1 of its cycle), when its transition begins to bring it in, and t = 1
// is the frame of the last step of the next picture's transition (phase TransitionSteps of the
// next cycle), when it is covered; the last picture reaches t = 1 at its last frame (the one
// handed once more with the end shows it there too). t grows by the same amount every frame
// in between. Each frame of a moving picture is rendered anew from its copy (softened once when
// softening is on, instead of growing softer), and a transition where either picture moves is
// drawn through a coverage mask (transition_mask.h). Frames in which no picture moves are made
// exactly as before.
//
// Frames of moving pictures at the stored size. With drawMovingAtStoredSize(), frames that show
// moving pictures only (their holds, and transitions between two moving pictures or from the
// black before the first) are drawn straight at the stored picture's size (720 × 576 for a 4:3
// PAL DVD, pixels of 16:15): the motion rectangle, of the display's aspect, is sampled onto
// the narrower frame, so the picture keeps its proportions on the screen, and the converter
// only converts the colours instead of scaling the frame first. The transition's coverage mask
// is still drawn at the compose size and brought to the stored width (MaskWidthScaler), and
// the title is squeezed like the picture (see VideoFuncProc). Frames with a still picture are
// composed at the compose size as always. The render does this; by default every frame is of
// the compose size.

#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "effects/raster/bitmap.h"
#include "production/mcl_objects.h"
#include "production/moving_picture.h"
#include "production/production_settings.h"
#include "production/timeline.h"
#include "production/transition_mask.h"
#include "store/picture_motion.h"

#include <functional>
#include <future>
#include <memory>
#include <vector>

namespace vistello::store {
class AlbumStore;
}
namespace vistello::motion {
class FramingCache;
}

namespace vistello::production {

class Converter;

struct RunState {
    int FrameWidth = 0, FrameHeight = 0; // the format's compose size
    effects::Rect FrameRect;
    Rational FrameRate{25, 1};
    int TransitionSteps = 50; // frames of a transition at FrameRate
    std::vector<int> HoldFrames;
    std::int64_t TotalHoldFrames = 0;
    std::int64_t TotalFrames = 0; // (TransitionSteps + 1) × PicCount + TotalHoldFrames
    std::int64_t FrameCounter = -1;
    int MakePicIndex = -1;
    int CurEffect = 0;
    QString CurTitle;
    effects::Bitmap TargetFrame, DisplayFrame;
    std::vector<std::filesystem::path> BackPicFiles;
    production::AudioList AudioList;
    std::int64_t TotalSamples = 0;
};

// Fills the run state for a run of `album` with `settings`: sizes, hold frames, totals,
// background files, black frames, counters, the audio list and its samples.
void prepareRunState(RunState& state, const store::AlbumStore& album, const ProductionSettings& settings);

class FrameGenerator {
  public:
    using PreviewProc = std::function<void(const effects::Bitmap& frame)>;

    // Reads the album and settings for the whole run; both must outlive the generator.
    FrameGenerator(RunState& state, const store::AlbumStore& album, const ProductionSettings& settings,
                   PreviewProc preview = {});
    ~FrameGenerator();

    // The four callbacks. VideoSourceProc throws std::runtime_error naming a picture or
    // background file that cannot be read.
    void VideoSourceProc(Source& source);
    void VideoFuncProc(Converter& converter, Image& frame);
    void AudioSourceProc(Source& source, int index);
    void AudioFuncProc() {}

    // Draws frames of moving pictures at the stored picture's size (see above). Call before the
    // first frame.
    void drawMovingAtStoredSize();

    // Draws the next random effects from `random` instead of the clock-seeded generator.
    void setRandomSource(effects::RandomSource* random) { random_ = random; }

    // The frames from t = 0 to t = 1 of picture `index` (see above).
    std::int64_t spanOf(int index) const;
    // The motion picture `index` is shown with in this run.
    store::PictureMotion motionOf(int index) const;

  private:
    void startPicture();
    // Step `step` of `steps` of the transition onto `dest`, bringing in `next`.
    void drawTransitionStep(const effects::TEffect& effect, effects::Bitmap& dest,
                            const effects::Bitmap& next, int step, int steps);
    // A transition step where either picture moves, through the coverage mask.
    void drawMovingTransition(const effects::TEffect* effect, int step, int steps);
    // A moving picture `frame` frames after its t = 0 into `out`, softened once when asked.
    // `out` takes the given size; none: the moving frame size.
    void renderMoving(const PreparedPicture& picture, std::int64_t frame, effects::Bitmap& out, int width = 0,
                      int height = 0);
    std::future<PreparedPicture> composeLater(int index);

    RunState& state_;
    const store::AlbumStore& album_;
    const ProductionSettings& settings_;
    PreviewProc preview_;
    effects::ClockRandom clockRandom_;
    effects::ClockRandom backgroundRandom_;
    effects::RandomSource* random_ = &clockRandom_;
    store::MotionTable motions_;                         // the album's Motion file
    std::unique_ptr<motion::FramingCache> framingCache_; // automatic choices kept in the album
    SharedFaceFinder faces_;
    std::future<PreparedPicture> next_; // picture nextIndex_, being prepared
    int nextIndex_ = -1;
    std::unique_ptr<PreparedPicture> current_;  // picture MakePicIndex
    std::unique_ptr<PreparedPicture> previous_; // the one before, while the transition covers it
    // Of transitions where a picture moves: the coverage mask, the white "new picture" drawn
    // into it, the old picture as it stood when the transition began (when it does not move),
    // and the two pictures rendered for the frame.
    effects::Bitmap mask_, white_, oldStill_, oldFrame_, newFrame_;
    // The mask at the stored width, for transitions drawn at the stored size.
    effects::Bitmap storedMask_;
    MaskWidthScaler maskScaler_;
    int movingWidth_ = 0, movingHeight_ = 0;  // of frames that show moving pictures only
    Text title_;                              // the title style, set up once for the run
    static constexpr int kOriginalSteps = 50; // of a transition at 25 frames a second
    int randomEdgeSteps_ = 0;                 // of the 50-step schedule drawn in this transition
};

} // namespace vistello::production
