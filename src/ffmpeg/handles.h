#pragma once
// Owning handles for the FFmpeg objects the program makes: the MP3 decoder and the spectrum in
// audio/, the encoder in production/. Each unique_ptr frees its object with the library's own
// function, so every early return releases what was made. The names follow FFmpeg's types
// (AVFormatContext, SwsContext, ...) as its examples use them; a format context for reading
// (avformat_open_input) and one for writing (avformat_alloc_output_context2) are released
// differently and so are two types.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/tx.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

namespace vistello::ffmpeg {

struct InputFormatContextDeleter {
    void operator()(AVFormatContext* fmt_ctx) const { avformat_close_input(&fmt_ctx); }
};
// An output context: its file is closed (if open) before the context is freed.
struct OutputFormatContextDeleter {
    void operator()(AVFormatContext* oc) const {
        if (oc->pb)
            avio_closep(&oc->pb);
        avformat_free_context(oc);
    }
};
struct CodecContextDeleter {
    void operator()(AVCodecContext* codec_ctx) const { avcodec_free_context(&codec_ctx); }
};
struct FrameDeleter {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct PacketDeleter {
    void operator()(AVPacket* pkt) const { av_packet_free(&pkt); }
};
struct SwsContextDeleter {
    void operator()(SwsContext* sws_ctx) const { sws_freeContext(sws_ctx); }
};
struct SwrContextDeleter {
    void operator()(SwrContext* swr_ctx) const { swr_free(&swr_ctx); }
};
struct TxContextDeleter {
    void operator()(AVTXContext* tx_ctx) const { av_tx_uninit(&tx_ctx); }
};

using InputFormatContextPtr = std::unique_ptr<AVFormatContext, InputFormatContextDeleter>;
using OutputFormatContextPtr = std::unique_ptr<AVFormatContext, OutputFormatContextDeleter>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextDeleter>;
using SwrContextPtr = std::unique_ptr<SwrContext, SwrContextDeleter>;
using TxContextPtr = std::unique_ptr<AVTXContext, TxContextDeleter>;

// FFmpeg's text for an error code (AVERROR(...)), as av_strerror gives it.
inline std::string errorText(int errnum) {
    char errbuf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(errnum, errbuf, sizeof errbuf);
    return errbuf;
}

} // namespace vistello::ffmpeg
