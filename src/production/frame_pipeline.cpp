#include "production/frame_pipeline.h"

#include "production/bgr_to_yuv.h"
#include "production/encoder_error.h"

#include <cstring>

namespace vistello::production {

namespace {

void fillBlack(AVFrame* frame, int left, int width) {
    // Black in limited-range YUV: luma 16, both chroma planes 128.
    for (int y = 0; y < frame->height; ++y)
        std::memset(frame->data[0] + y * frame->linesize[0] + left, 16, static_cast<std::size_t>(width));
    for (int plane = 1; plane <= 2; ++plane)
        for (int y = 0; y < frame->height / 2; ++y)
            std::memset(frame->data[plane] + y * frame->linesize[plane] + left / 2, 128,
                        static_cast<std::size_t>(width / 2));
}

} // namespace

YuvConverter::YuvConverter(const VideoFormat& format)
    : format_(format),
      squeezes_(format.composeWidth != format.pictureWidth || format.composeHeight != format.codedHeight) {}

SwsContext* YuvConverter::scalerFor(int sourceWidth, int sourceHeight) {
    if (sws_ && swsWidth_ == sourceWidth && swsHeight_ == sourceHeight)
        return sws_.get();
    // Set up with its colours once: setting the colour details rebuilds the scaler's tables,
    // work that need not be repeated for every frame.
    const int width = format_.pictureWidth, height = format_.codedHeight;
    ffmpeg::SwsContextPtr sws(sws_getContext(sourceWidth, sourceHeight, AV_PIX_FMT_BGR24, width, height,
                                             AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!sws)
        throw EncoderError("set up the colour conversion: unsupported frame size");
    if (format_.matrix == ColourMatrix::Bt709) {
        // HD video is BT.709 (and tagged so); the scaler's default is BT.601. Full-range RGB
        // into limited-range YUV, brightness, contrast and saturation unchanged.
        const int* rgb = sws_getCoefficients(SWS_CS_DEFAULT);
        sws_setColorspaceDetails(sws.get(), rgb, 1, sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16,
                                 1 << 16);
    }
    sws_ = std::move(sws);
    swsWidth_ = sourceWidth;
    swsHeight_ = sourceHeight;
    return sws_.get();
}

void YuvConverter::convert(const QImage& bgr, AVFrame* frame) {
    // The buffer may still be shared (a held frame refers to the last converted picture, or
    // the encoder keeps a reference): then the frame gets a buffer of its own. Every byte is
    // written below, so the old contents are not copied over as av_frame_make_writable would.
    if (!av_frame_is_writable(frame)) {
        const int width = frame->width, height = frame->height;
        const auto pixels = static_cast<AVPixelFormat>(frame->format);
        av_frame_unref(frame);
        frame->format = pixels;
        frame->width = width;
        frame->height = height;
        checkAv(av_frame_get_buffer(frame, 0), "allocate a video frame");
    }
    const int left = format_.pictureLeft, width = format_.pictureWidth;
    if (left > 0) {
        fillBlack(frame, 0, left);
        fillBlack(frame, left + width, format_.codedWidth - left - width);
    }
    if (bgr.isNull() || bgr.format() != QImage::Format_BGR888) {
        fillBlack(frame, left, width);
        return;
    }
    // Frames at the stored size of a format composed at another (moving pictures) need their
    // colours converted only. Formats composed at their stored size keep the scaler's own
    // unscaled conversion, which they have always been encoded with.
    if (squeezes_ && bgr.width() == width && bgr.height() == format_.codedHeight) {
        const YuvPlanes planes{{frame->data[0] + left, frame->data[1] + left / 2, frame->data[2] + left / 2},
                               {frame->linesize[0], frame->linesize[1], frame->linesize[2]}};
        bgrToYuv420(bgr.constBits(), static_cast<int>(bgr.bytesPerLine()), bgr.width(), bgr.height(),
                    format_.matrix, planes);
        return;
    }
    SwsContext* sws = scalerFor(bgr.width(), bgr.height());
    const std::uint8_t* source[1] = {bgr.constBits()};
    const int sourceStride[1] = {static_cast<int>(bgr.bytesPerLine())};
    std::uint8_t* target[3] = {frame->data[0] + left, frame->data[1] + left / 2, frame->data[2] + left / 2};
    sws_scale(sws, source, sourceStride, 0, bgr.height(), target, frame->linesize);
}

FrameQueue::FrameQueue(std::size_t capacity, std::function<ffmpeg::FramePtr()> makeFrame)
    : capacity_(capacity), makeFrame_(std::move(makeFrame)) {}

ffmpeg::FramePtr FrameQueue::acquire() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return cancelled_ || !free_.empty() || allocated_ < capacity_; });
    if (cancelled_)
        return nullptr;
    if (!free_.empty()) {
        ffmpeg::FramePtr frame = std::move(free_.back());
        free_.pop_back();
        return frame;
    }
    ++allocated_;
    lock.unlock();
    return makeFrame_();
}

bool FrameQueue::push(QueuedFrame frame) {
    std::lock_guard lock(mutex_);
    if (cancelled_)
        return false;
    ready_.push_back(std::move(frame));
    changed_.notify_all();
    return true;
}

std::optional<QueuedFrame> FrameQueue::pop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return cancelled_ || closed_ || !ready_.empty(); });
    if (cancelled_ || ready_.empty())
        return std::nullopt;
    QueuedFrame frame = std::move(ready_.front());
    ready_.pop_front();
    return frame;
}

void FrameQueue::release(ffmpeg::FramePtr yuv, QImage picture) {
    std::lock_guard lock(mutex_);
    if (yuv)
        free_.push_back(std::move(yuv));
    // At most one spare picture per frame in flight; a repeated frame brings none back.
    if (!picture.isNull() && freePictures_.size() < capacity_)
        freePictures_.push_back(std::move(picture));
    changed_.notify_all();
}

QImage FrameQueue::takeSparePicture() {
    std::lock_guard lock(mutex_);
    if (freePictures_.empty())
        return {};
    QImage picture = std::move(freePictures_.back());
    freePictures_.pop_back();
    return picture;
}

void FrameQueue::close() {
    std::lock_guard lock(mutex_);
    closed_ = true;
    changed_.notify_all();
}

void FrameQueue::cancel(std::exception_ptr failure) {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (!failure_)
        failure_ = failure;
    changed_.notify_all();
}

std::exception_ptr FrameQueue::failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

} // namespace vistello::production
