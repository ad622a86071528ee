#pragma once
// The hand-over between the thread that makes frames and the encoder thread: a converter from
// the 24-bit frames the program draws to the encoder's YUV pictures, and a bounded queue of
// frames on their way, whose buffers (YUV and 24-bit) are recycled, so a render allocates a
// handful of frames only. The conversion runs on a thread of its own, beside the composing of
// the next frames and the encoding of the ones before.

#include "ffmpeg/handles.h"
#include "production/video_format.h"

#include <QImage>

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

namespace vistello::production {

// Places a 24-bit blue-green-red image into the picture area of a YUV 4:2:0 frame, with black
// in the rest of the frame (VCD's side bars). Frames come at either of two sizes, told by the
// image's own size: at the format's square-pixel compose size (still pictures, titles over
// them), which the scaler turns into the stored picture (768 × 576 into 720 × 576 for a 4:3
// PAL DVD), or already at the stored picture's size (moving pictures, drawn there directly),
// whose colours alone are converted (bgr_to_yuv.h). Both use the format's matrix, and the
// chroma of each 2 × 2 block is a filtered mean of its pixels.
class YuvConverter {
  public:
    explicit YuvConverter(const VideoFormat& format);
    void convert(const QImage& bgr, AVFrame* frame);

  private:
    // The scaler for frames of `width` × `height`, made on the first frame of that size. Only
    // frames of the compose size reach it (stored-size frames of a squeezing format are
    // converted without it), so a run makes one.
    SwsContext* scalerFor(int width, int height);

    const VideoFormat& format_;
    // Whether the format is composed at another size than it stores.
    const bool squeezes_;
    ffmpeg::SwsContextPtr sws_;
    int swsWidth_ = 0, swsHeight_ = 0; // of the frames sws_ was made for
};

// One frame on its way to the encoder: the YUV frame to convert it into, and its 24-bit
// picture, or `repeat` when it shows the same pixels as the frame before (whose YUV picture
// is then shared instead of converted again).
struct QueuedFrame {
    ffmpeg::FramePtr yuv;
    QImage picture;
    bool repeat = false;
};

class FrameQueue {
  public:
    // capacity frames in flight at most; makeFrame allocates one when the pool is short.
    FrameQueue(std::size_t capacity, std::function<ffmpeg::FramePtr()> makeFrame);

    // A free YUV frame for the next queued frame; null once the queue was cancelled.
    ffmpeg::FramePtr acquire();
    // Hands a frame to the encoder; false once the queue was cancelled.
    bool push(QueuedFrame frame);
    // The next frame for the encoder; none after close() when all are taken, or after cancel().
    std::optional<QueuedFrame> pop();
    // Gives a frame's buffers back to the pools (either may be null: the picture once it is
    // converted, the YUV frame once it is encoded).
    void release(ffmpeg::FramePtr yuv, QImage picture);
    // A 24-bit picture the encoder is done with, to draw the next frame into; null when none.
    // It may still be shared with the caller's own copy (QImage::isDetached tells).
    QImage takeSparePicture();
    // No more frames will come; the encoder finishes what is queued.
    void close();
    // Stops both sides at once, keeping the first failure that caused it (if any).
    void cancel(std::exception_ptr failure = nullptr);
    std::exception_ptr failure() const;

  private:
    std::size_t capacity_;
    std::function<ffmpeg::FramePtr()> makeFrame_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QueuedFrame> ready_;
    std::vector<ffmpeg::FramePtr> free_;
    std::vector<QImage> freePictures_;
    std::size_t allocated_ = 0;
    bool closed_ = false, cancelled_ = false;
    std::exception_ptr failure_;
};

} // namespace vistello::production
