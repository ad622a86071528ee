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

#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "effects/raster/bitmap.h"
#include "production/mcl_objects.h"
#include "production/production_settings.h"
#include "production/timeline.h"

#include <functional>
#include <future>
#include <memory>
#include <vector>

namespace vistello::store {
class AlbumStore;
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

    // Draws the next random effects from `random` instead of the clock-seeded generator.
    void setRandomSource(effects::RandomSource* random) { random_ = random; }

  private:
    void startPicture();
    // Step `step` of `steps` of the transition onto DisplayFrame.
    void drawTransitionStep(const effects::TEffect& effect, int step, int steps);
    std::future<effects::Bitmap> composeLater(int index);

    RunState& state_;
    const store::AlbumStore& album_;
    const ProductionSettings& settings_;
    PreviewProc preview_;
    effects::ClockRandom clockRandom_;
    effects::ClockRandom backgroundRandom_;
    effects::RandomSource* random_ = &clockRandom_;
    std::future<effects::Bitmap> next_; // TargetFrame of picture nextIndex_
    int nextIndex_ = -1;
    Text title_;                              // the title style, set up once for the run
    static constexpr int kOriginalSteps = 50; // of a transition at 25 frames a second
    int randomEdgeSteps_ = 0;                 // of the 50-step schedule drawn in this transition
};

} // namespace vistello::production
