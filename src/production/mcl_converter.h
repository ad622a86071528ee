#pragma once
// Converter is the MPEG conversion engine the production run drives (MclCreate .. MclFree):
// it pulls frames and sound files through callbacks and writes one file of a format of the
// format table (a VCD, SVCD or DVD program stream, or an MP4 file) with FFmpeg.
//
// Convert() runs every callback on the caller's thread and returns when the file is done,
// failed or stopped. Between two frame requests it gives exactly one progress notification
// (stage 3, position = frames requested so far), and one (stage 1) before the first request.
// The title callback runs once per frame, after its request, on the converter's copy of the
// frame. The songs are asked for and opened before the stage-1 notification, and one that
// cannot be opened goes to the error callback right after it was asked for. The conversion to
// YUV and the encoding run on two threads of their own behind a short queue. Abort() (also
// from inside a callback) ends the run after the current frame and finishes the file so that it plays;
// a failure calls the error callback and leaves no file, so success shows as the file.
// An exception thrown by a callback leaves Convert() after the file has been removed.

#include "production/mcl_objects.h"
#include "production/video_format.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

namespace vistello::production {

class Converter {
  public:
    using VideoSourceProc = std::function<void(Source& source)>;
    using VideoFuncProc = std::function<void(Converter& converter, Image& frame)>;
    using AudioSourceProc = std::function<void(Source& source, int index)>;
    using AudioFuncProc = std::function<void()>;
    // stage: 0 done, 1 preparing, 2 file structure, 3 encoding.
    using ProgressProc = std::function<void(Converter& converter, int stage, std::int64_t position)>;
    // answer: 2 ends the conversion; any other value skips what failed where that is possible.
    using ErrorProc = std::function<void(Converter& converter, const std::string& message, int& answer)>;

    void AssignVideoSource(VideoSourceProc proc) { videoSource_ = std::move(proc); }
    void AssignVideoFunc(VideoFuncProc proc) { videoFunc_ = std::move(proc); }
    void AssignAudioSource(AudioSourceProc proc) { audioSource_ = std::move(proc); }
    void AssignAudioFunc(AudioFuncProc proc) { audioFunc_ = std::move(proc); }
    void AssignProgress(ProgressProc proc) { progress_ = std::move(proc); }
    void AssignError(ErrorProc proc) { error_ = std::move(proc); }

    void VideoSetFileName(const std::filesystem::path& path) { videoFile_ = path; }
    // The sound goes into the same program stream as the video; a different name is refused.
    void AudioSetFileName(const std::filesystem::path& path) { audioFile_ = path; }
    // Allows MPEG-2, which SVCD and DVD need.
    void EnableMPEG2() { mpeg2_ = true; }
    // The row of the format table to write, and how its encoder is driven. The row must
    // outlive the conversion (the table's rows do).
    void SetFormat(const VideoFormat& format, const EncodeOptions& options = {}) {
        format_ = &format;
        options_ = options;
    }
    // -1: every frame handed in is kept for one frame time (the only mode there is).
    void VideoSetKeepDuration(int keep) { keepDuration_ = keep; }

    void Convert();
    void Abort() { aborted_ = true; }

    // Seconds since Convert() started.
    double GetElapsedTime() const;
    // Estimated seconds still needed, from the pace so far.
    double GetRemainingTime(std::int64_t totalFrames, std::int64_t totalSamples) const;

    std::int64_t framesRequested() const { return framesRequested_; }
    bool aborted() const { return aborted_; }
    // The message of the last failure handed to the error callback; empty if none.
    const std::string& lastError() const { return lastError_; }

  private:
    bool reportError(const std::string& message); // true when the run must end
    void removeOutput();

    VideoSourceProc videoSource_;
    VideoFuncProc videoFunc_;
    AudioSourceProc audioSource_;
    AudioFuncProc audioFunc_;
    ProgressProc progress_;
    ErrorProc error_;
    std::filesystem::path videoFile_, audioFile_;
    bool mpeg2_ = false;
    const VideoFormat* format_ = nullptr;
    EncodeOptions options_;
    int keepDuration_ = -1;
    std::atomic<bool> aborted_ = false;
    bool converting_ = false;
    std::int64_t framesRequested_ = 0;
    std::chrono::steady_clock::time_point started_{};
    std::string lastError_;
};

} // namespace vistello::production
