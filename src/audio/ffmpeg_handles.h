#pragma once
// Owning handles for the FFmpeg objects of the audio module: each unique_ptr frees its object
// with the library's own function, so every early return releases what was made.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/tx.h>
#include <libswresample/swresample.h>
}

#include <memory>
#include <string>

namespace vistello::audio {

struct FormatContextCloser {
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecContextFreer {
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct SwrContextFreer {
    void operator()(SwrContext* context) const { swr_free(&context); }
};
struct PacketFreer {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct TxContextFreer {
    void operator()(AVTXContext* context) const { av_tx_uninit(&context); }
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextCloser>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using TxContextPtr = std::unique_ptr<AVTXContext, TxContextFreer>;

// FFmpeg's message for an error code.
inline std::string ffmpegError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

} // namespace vistello::audio
