#include "production/frame_pipeline.h"

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

void YuvConverter::convert(const QImage& bgr, AVFrame* frame) {
    // The encoder may still hold a reference to this buffer from an earlier frame.
    checkAv(av_frame_make_writable(frame), "prepare a video frame");
    const int left = format_.pictureLeft, width = format_.pictureWidth;
    if (left > 0) {
        fillBlack(frame, 0, left);
        fillBlack(frame, left + width, format_.codedWidth - left - width);
    }
    if (bgr.isNull() || bgr.format() != QImage::Format_BGR888) {
        fillBlack(frame, left, width);
        return;
    }
    sws_.reset(sws_getCachedContext(sws_.release(), bgr.width(), bgr.height(), AV_PIX_FMT_BGR24, width,
                                    format_.codedHeight, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr,
                                    nullptr));
    if (!sws_)
        throw EncoderError("set up the colour conversion: unsupported frame size");
    if (format_.matrix == ColourMatrix::Bt709) {
        // HD video is BT.709 (and tagged so); the scaler's default is BT.601. Full-range RGB
        // into limited-range YUV, brightness, contrast and saturation unchanged.
        const int* rgb = sws_getCoefficients(SWS_CS_DEFAULT);
        sws_setColorspaceDetails(sws_.get(), rgb, 1, sws_getCoefficients(SWS_CS_ITU709), 0, 0, 1 << 16,
                                 1 << 16);
    }
    const std::uint8_t* source[1] = {bgr.constBits()};
    const int sourceStride[1] = {static_cast<int>(bgr.bytesPerLine())};
    std::uint8_t* target[3] = {frame->data[0] + left, frame->data[1] + left / 2, frame->data[2] + left / 2};
    sws_scale(sws_.get(), source, sourceStride, 0, bgr.height(), target, frame->linesize);
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

bool FrameQueue::push(ffmpeg::FramePtr frame) {
    std::lock_guard lock(mutex_);
    if (cancelled_)
        return false;
    ready_.push_back(std::move(frame));
    changed_.notify_all();
    return true;
}

ffmpeg::FramePtr FrameQueue::pop() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return cancelled_ || closed_ || !ready_.empty(); });
    if (cancelled_ || ready_.empty())
        return nullptr;
    ffmpeg::FramePtr frame = std::move(ready_.front());
    ready_.pop_front();
    return frame;
}

void FrameQueue::release(ffmpeg::FramePtr frame) {
    std::lock_guard lock(mutex_);
    free_.push_back(std::move(frame));
    changed_.notify_all();
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
