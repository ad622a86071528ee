#pragma once
// RunObserver: what a production run tells whoever started it, as numbers and states, and the
// question it asks at every progress notification: go on? It carries no texts and knows no
// widgets; the production dialog turns it into its labels and buttons, the command-line tool
// into its progress bar. A window that stays responsive during a run handles its pending
// events inside progressed(); its stop button may answer there, or call ProductionRun::Stop().

#include "effects/raster/bitmap.h"

#include <cstdint>

namespace vistello::production {

// The run's course, in the order a run goes through it (Stopping and MakingDisc may be left
// out). Every run that started ends with Ended, whatever happened.
enum class RunPhase {
    Started,    // the settings are in use and must not change; no frame yet
    SettingUp,  // the encoder is being set up: a short wait without notifications
    Encoding,   // the conversion runs; progress notifications come, one per frame
    Stopping,   // a stop was asked; the conversion ends at its next step
    MakingDisc, // a finished video of a disc format is being made into disc images
    Ended,      // the run is over; Start returns its result next
};

// The encoder's stage in a progress notification.
enum class RunStage {
    Done,          // the file is complete (also after a stop)
    Preparing,     // before the first frame
    FileStructure, // the file's own structure is being written
    Encoding,      // frames are being encoded; frame counts them
    Other,         // any other stage the encoder reports
};

// One progress notification as numbers.
struct RunProgress {
    RunStage stage = RunStage::Preparing;
    std::int64_t frame = 0;       // the encoder's position: frames requested so far
    std::int64_t totalFrames = 0; // of the whole timeline
    double elapsedSeconds = 0;    // since the conversion began
    double remainingSeconds = 0;  // estimated from the pace so far
    // Whole percent of the timeline done, rounded down; 0 without frames.
    int percent() const { return totalFrames > 0 ? static_cast<int>(frame * 100 / totalFrames) : 0; }
};

// Every function has a default that does nothing and goes on, so an observer overrides only
// what it shows. Notifications come on the thread that called ProductionRun::Start, inside it.
class RunObserver {
  public:
    virtual ~RunObserver() = default;
    virtual void phaseChanged(RunPhase state) { (void)state; }
    // Once per encoder notification. Returns whether the run goes on: false stops it as
    // ProductionRun::Stop() does.
    virtual bool progressed(const RunProgress& progress) {
        (void)progress;
        return true;
    }
    // A transition frame for a preview. The bitmap is the run's own and changes after the call.
    virtual void preview(const effects::Bitmap& frame) { (void)frame; }
};

} // namespace vistello::production
