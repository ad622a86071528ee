#include "production/mcl_converter.h"

#include "audio/mp3_decoder.h"
#include "production/frame_pipeline.h"
#include "production/video_writer.h"

#include <algorithm>
#include <optional>
#include <thread>
#include <utility>

namespace vistello::production {

namespace {

// Frames between the generator and the encoder: enough to ride out a slow frame on either
// side, few enough to keep memory small. Six small frames (a DVD frame is 0.6 MB, a 1080p one
// 3 MB), but no more than about 32 MB of them and never fewer than two: a 2160p frame is
// 12.4 MB, and there the encoder is so much slower than the frames come that two keep it fed
// (one being encoded, the next one being filled).
std::size_t framesInFlight(const VideoFormat& format) {
    constexpr std::size_t kMostFrames = 6, kFewestFrames = 2, kBudgetBytes = 32u << 20;
    const auto frameBytes = static_cast<std::size_t>(format.codedWidth) * format.codedHeight * 3 / 2;
    return std::clamp(kBudgetBytes / std::max<std::size_t>(frameBytes, 1), kFewestFrames, kMostFrames);
}
// A source that never reports its end cannot make the converter ask for songs forever.
constexpr int kMaxSongs = 100000;

// The two threads behind the frame queue: one converts each frame to YUV, the other encodes
// the converted frames (the composing thread draws the next ones meanwhile), so that on two
// cores the conversion runs beside both. A failure on either cancels the frame queue with it;
// both are joined (after cancelling, unless they finished) on exit.
class EncodingThreads {
  public:
    EncodingThreads(VideoWriter& writer, FrameQueue& queue, YuvConverter& toYuv)
        : queue_(queue), converted_(0, [] { return ffmpeg::FramePtr(); }),
          converter_([this, &toYuv] { convertFrames(toYuv); }),
          encoder_([this, &writer] { encodeFrames(writer); }) {}
    ~EncodingThreads() {
        if (converter_.joinable() || encoder_.joinable()) {
            queue_.cancel();
            converted_.cancel();
            join();
        }
    }
    // Lets both finish what is queued and waits for them.
    void finish() {
        queue_.close();
        join();
    }

  private:
    void join() {
        if (converter_.joinable())
            converter_.join();
        if (encoder_.joinable())
            encoder_.join();
    }
    void fail() {
        queue_.cancel(std::current_exception());
        converted_.cancel();
    }
    void convertFrames(YuvConverter& toYuv) {
        try {
            // The YUV picture of the last converted frame, which repeated frames share.
            ffmpeg::FramePtr last(av_frame_alloc());
            if (!last)
                throw EncoderError("allocate a video frame: out of memory");
            while (std::optional<QueuedFrame> frame = queue_.pop()) {
                AVFrame* yuv = frame->yuv.get();
                if (frame->repeat) {
                    av_frame_unref(yuv);
                    checkAv(av_frame_ref(yuv, last.get()), "repeat a video frame");
                } else {
                    toYuv.convert(frame->picture, yuv);
                    av_frame_unref(last.get());
                    checkAv(av_frame_ref(last.get(), yuv), "keep a video frame");
                }
                queue_.release(nullptr, std::exchange(frame->picture, QImage()));
                if (!converted_.push(std::move(*frame)))
                    return;
            }
            converted_.close();
        } catch (...) {
            fail();
        }
    }
    void encodeFrames(VideoWriter& writer) {
        try {
            while (std::optional<QueuedFrame> frame = converted_.pop()) {
                writer.writeVideo(frame->yuv.get());
                queue_.release(std::move(frame->yuv), QImage());
            }
            if (!queue_.failure())
                writer.finish();
        } catch (...) {
            fail();
        }
    }

    FrameQueue& queue_;     // from the composing thread, with the pools of both kinds of buffer
    FrameQueue converted_;  // from the conversion to the encoder
    std::thread converter_; // started last, as they use the members above
    std::thread encoder_;
};

std::string messageOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown encoder failure";
    }
}

} // namespace

double Converter::GetElapsedTime() const {
    if (!converting_ && framesRequested_ == 0)
        return 0;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
}

double Converter::GetRemainingTime(std::int64_t totalFrames, std::int64_t) const {
    if (framesRequested_ <= 0 || totalFrames <= framesRequested_)
        return 0;
    return GetElapsedTime() * static_cast<double>(totalFrames - framesRequested_) /
           static_cast<double>(framesRequested_);
}

bool Converter::reportError(const std::string& message) {
    lastError_ = message;
    int answer = 2;
    if (error_)
        error_(*this, message, answer);
    return answer == 2;
}

void Converter::removeOutput() {
    std::error_code ignored;
    std::filesystem::remove(videoFile_, ignored);
}

void Converter::Convert() {
    if (converting_)
        return; // a callback cannot start a second conversion inside the first
    converting_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{converting_};
    aborted_ = false;
    framesRequested_ = 0;
    lastError_.clear();
    started_ = std::chrono::steady_clock::now();

    const VideoFormat* format = format_;
    if (!format)
        return void(reportError("no output format"));
    if (format->needsMpeg2 && !mpeg2_)
        return void(reportError("the format needs MPEG-2, which is not enabled"));
    if (videoFile_.empty())
        return void(reportError("no output file name"));
    if (!audioFile_.empty() && audioFile_ != videoFile_)
        return void(reportError("the sound can only go into the video's own file"));
    if (!videoSource_)
        return void(reportError("no video source"));

    // The songs, asked for in order until the source reports the end; each one is opened here
    // so that a broken file is reported before anything is written.
    std::vector<std::unique_ptr<audio::Mp3Decoder>> songs;
    for (int index = 0; audioSource_ && index < kMaxSongs; ++index) {
        Source source;
        audioSource_(source, index);
        if (source.finished() || source.file().empty())
            break;
        std::string message;
        auto song =
            audio::Mp3Decoder::open(source.file(), {format->sampleRate, SoundTrack::kChannels}, message);
        if (song)
            songs.push_back(std::move(song));
        else if (reportError(message))
            return;
    }

    if (progress_)
        progress_(*this, 1, 0);
    if (aborted_)
        return;

    std::optional<VideoWriter> writer;
    try {
        writer.emplace(videoFile_, *format, options_, SoundTrack(std::move(songs)));
    } catch (const EncoderError& error) {
        writer.reset();
        removeOutput();
        return void(reportError(error.what()));
    }

    FrameQueue queue(framesInFlight(*format), [&writer] { return writer->makeVideoFrame(); });
    YuvConverter toYuv(*format);
    Image image;
    // The pixels of the last frame handed on, to tell a held picture; the encoder may still be
    // converting them, so the next frame is drawn into a picture it gave back (spare).
    QImage lastImage, spare;
    bool failed = false;
    try {
        EncodingThreads encoder(*writer, queue, toYuv);
        for (;;) {
            Source source;
            source.reuse(std::move(spare));
            videoSource_(source);
            ++framesRequested_;
            if (source.hasFrame()) {
                image.setImage(source.takeFrame());
                if (videoFunc_)
                    videoFunc_(*this, image);
                if (audioFunc_)
                    audioFunc_();
                QueuedFrame frame{queue.acquire(), QImage(), false};
                if (frame.yuv && !lastImage.isNull() && image.image() == lastImage) {
                    // A held picture: the same pixels as the frame before.
                    frame.repeat = true;
                    spare = std::exchange(image.image(), QImage());
                } else if (frame.yuv) {
                    lastImage = image.image();
                    frame.picture = std::exchange(image.image(), QImage());
                    spare = queue.takeSparePicture();
                }
                if (!frame.yuv || !queue.push(std::move(frame))) {
                    failed = true; // the encoder stopped with a failure
                    break;
                }
            }
            if (source.finished() || aborted_)
                break;
            if (progress_)
                progress_(*this, 3, framesRequested_);
            if (aborted_)
                break;
        }
        if (!failed && progress_)
            progress_(*this, 2, framesRequested_);
        encoder.finish();
    } catch (const EncoderError& error) {
        queue.cancel();
        writer.reset();
        removeOutput();
        reportError(error.what());
        return;
    } catch (...) {
        // A callback failed (a picture that cannot be read): no half-made file is left.
        queue.cancel();
        writer.reset();
        removeOutput();
        throw;
    }
    if (std::exception_ptr failure = queue.failure()) {
        writer.reset();
        removeOutput();
        reportError(messageOf(failure));
        return;
    }
    writer.reset();
    if (progress_)
        progress_(*this, 0, framesRequested_);
}

} // namespace vistello::production
