#pragma once
// ProductionRun is what the production dialog does between its start button and the result:
// it prepares the run state from the settings, sets up the converter, runs the conversion, lets
// a stop end it, and tells the caller how it ended.
//
// It knows no widgets and holds no texts: settings come in; the run's states, its progress as
// numbers and its preview frames go out through a RunObserver, which answers at every progress
// notification whether the run goes on (a window processes its pending events there, and its
// stop button may also call Stop()). A failure comes back as a RunError. A run never starts
// inside another one.

#include "production/production_settings.h"
#include "production/run_error.h"
#include "production/run_observer.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vistello::store {
class AlbumStore;
}

namespace vistello::production {

class Converter;

enum class RunOutcome {
    NotStarted, // refused: another run is going on, or the settings cannot be used
    Finished,
    Stopped,
    Failed, // a picture, a song or the file could not be handled; see error
};

struct RunResult {
    RunOutcome outcome = RunOutcome::NotStarted;
    // This run wrote the video and it now lies at the output path (a finished run, or a stop
    // after the file was begun). Success shows only as this: a file that was there before
    // the run never counts, and a run that writes nothing leaves such a file as it was.
    bool fileWritten = false;
    RunError error;          // why the run failed or was refused; none for a second start
    std::int64_t frames = 0; // frames written into the file
    // With ProductionSettings::disc, after a finished run: the disc images made, or the
    // authoring tool's report of why they could not be (the video stays either way).
    std::vector<std::filesystem::path> discFiles;
    std::string discError;
    double elapsedSeconds = 0;
};

// The stage of an encoder progress notification (0 done, 1 preparing, 2 file structure,
// 3 encoding, anything else other).
RunStage runStageOf(int encoderStage);

class ProductionRun {
  public:
    // The observer outlives the run object.
    ProductionRun(const store::AlbumStore& album, RunObserver& observer);
    ~ProductionRun();

    // The start button: runs the whole conversion before returning.
    RunResult Start(const ProductionSettings& settings);
    // The stop button; only has an effect while the conversion is going on.
    void Stop();
    bool running() const { return converter_ != nullptr || running_; }

  private:
    // Sets up and runs the converter; throws what a callback threw.
    void RunConversion(const ProductionSettings& settings, RunResult& result);
    // The disc images of a finished run, with the authoring tools.
    void makeDisc(const ProductionSettings& settings, RunResult& result);
    // Why the settings cannot be used, or nothing.
    RunError refusal(const ProductionSettings& settings) const;
    // What a picture that could not be read is to this album: one of its pictures or a background.
    RunError pictureError(const std::filesystem::path& file, std::vector<std::string> reasons) const;
    RunError songError(int index) const;

    const store::AlbumStore& album_;
    RunObserver& observer_;
    Converter* converter_ = nullptr; // the current run's converter, while Convert() runs
    bool running_ = false;
    bool stopped_ = false;
};

} // namespace vistello::production
