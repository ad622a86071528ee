#pragma once
// Owning handles for the FFmpeg objects the encoder uses, each released by the library's own
// free function, and the error type that names the failing step with FFmpeg's message.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/audio_fifo.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <stdexcept>
#include <string>

namespace vistello::production {

// A failure inside the encoder, with the step and the library's own reason.
class EncoderError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// "step: FFmpeg's text for code".
std::string ffmpegMessage(const std::string& step, int code);
// Throws EncoderError when code is negative; returns it otherwise.
int checkAv(int code, const char* step);

// An output context: its file is closed (if open) before the context is freed.
struct OutputContextFree {
    void operator()(AVFormatContext* c) const {
        if (c->pb)
            avio_closep(&c->pb);
        avformat_free_context(c);
    }
};
struct CodecContextFree {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameFree {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketFree {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct SwsFree {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};
struct SwrFree {
    void operator()(SwrContext* s) const { swr_free(&s); }
};
struct AudioFifoFree {
    void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};

using OutputContextPtr = std::unique_ptr<AVFormatContext, OutputContextFree>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using SwsPtr = std::unique_ptr<SwsContext, SwsFree>;
using SwrPtr = std::unique_ptr<SwrContext, SwrFree>;
using AudioFifoPtr = std::unique_ptr<AVAudioFifo, AudioFifoFree>;

} // namespace vistello::production
