#include "production/video_writer.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
#include <cstring>

namespace vistello::production {

std::string ffmpegMessage(const std::string& step, int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return step + ": " + text;
}

int checkAv(int code, const char* step) {
    if (code < 0)
        throw EncoderError(ffmpegMessage(step, code));
    return code;
}

namespace {

struct VideoEncoderChoice {
    const char* name;  // FFmpeg's encoder
    const char* label; // for the message when it is missing
};

VideoEncoderChoice videoEncoderOf(VideoCodec codec) {
    switch (codec) {
    case VideoCodec::Mpeg1:
        return {"mpeg1video", "the MPEG-1 video encoder"};
    case VideoCodec::Mpeg2:
        return {"mpeg2video", "the MPEG-2 video encoder"};
    case VideoCodec::H264:
        return {"libx264", "the H.264 encoder (libx264)"};
    case VideoCodec::H265:
        return {"libx265", "the H.265 encoder (libx265)"};
    }
    return {"", "the video encoder"};
}

} // namespace

VideoWriter::VideoWriter(const std::filesystem::path& path, const VideoFormat& format,
                         const EncodeOptions& options, SoundTrack soundTrack)
    : format_(format), options_(options), rate_(frameRateOf(format, options)), path_(path),
      soundTrack_(std::move(soundTrack)), packet_(av_packet_alloc()), audioFrame_(av_frame_alloc()) {
    if (!packet_ || !audioFrame_)
        throw EncoderError("allocate packet: out of memory");
    // The "file:" prefix keeps a name with a colon from being taken for a protocol. The muxer
    // keeps the name: MP4's +faststart reopens the file to move its index to the front.
    const std::string url = "file:" + path.string();
    AVFormatContext* output = nullptr;
    checkAv(avformat_alloc_output_context2(&output, nullptr, format.muxer, url.c_str()), "choose the muxer");
    output_.reset(output);
    // Frames sit at most 0.7 s in the muxer's buffers, as with the usual command-line targets.
    output_->max_delay = 700000;
    openVideo();
    openAudio();

    checkAv(avio_open(&output_->pb, url.c_str(), AVIO_FLAG_WRITE), ("create " + path.string()).c_str());

    AVDictionary* muxOptions = nullptr;
    if (format.packetSize > 0)
        av_dict_set_int(&muxOptions, "packetsize", format.packetSize, 0);
    if (format.muxRate > 0)
        av_dict_set_int(&muxOptions, "muxrate", format.muxRate, 0);
    if (format.preloadSeconds > 0)
        av_dict_set_int(&muxOptions, "preload",
                        static_cast<std::int64_t>(format.preloadSeconds * AV_TIME_BASE), 0);
    // MP4: the index goes to the front when the file is finished, so it plays while it loads.
    if (!format.isDisc())
        av_dict_set(&muxOptions, "movflags", "+faststart", 0);
    const int rc = avformat_write_header(output_.get(), &muxOptions);
    av_dict_free(&muxOptions);
    checkAv(rc, "write the file header");
    headerWritten_ = true;
}

VideoWriter::~VideoWriter() = default;

void VideoWriter::openVideo() {
    const VideoEncoderChoice choice = videoEncoderOf(videoCodecOf(format_, options_));
    const AVCodec* codec = avcodec_find_encoder_by_name(choice.name);
    if (!codec)
        throw EncoderError(std::string("find ") + choice.label + ": not available");
    videoStream_ = avformat_new_stream(output_.get(), nullptr);
    video_.reset(avcodec_alloc_context3(codec));
    if (!videoStream_ || !video_)
        throw EncoderError("create the video stream: out of memory");
    AVCodecContext* c = video_.get();
    c->width = format_.codedWidth;
    c->height = format_.codedHeight;
    c->time_base = {rate_.den, rate_.num};
    c->framerate = {rate_.num, rate_.den};
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->sample_aspect_ratio = {format_.sampleAspect.num, format_.sampleAspect.den}; // the display players need
    if (format_.matrix == ColourMatrix::Bt709) {
        // HD pictures are converted with BT.709 (frame_pipeline.cpp) and say so.
        c->colorspace = AVCOL_SPC_BT709;
        c->color_primaries = AVCOL_PRI_BT709;
        c->color_trc = AVCOL_TRC_BT709;
        c->color_range = AVCOL_RANGE_MPEG;
    }
    if (output_->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER; // MP4 keeps the parameter sets in its header
    AVDictionary* encoderOptions = nullptr;
    if (format_.constantQuality) {
        // Constant rate factor: the quality is fixed and the bit rate follows the pictures.
        av_dict_set(&encoderOptions, "preset", speedOf(options_).c_str(), 0);
        av_dict_set_int(&encoderOptions, "crf", qualityOf(format_, options_), 0);
        if (videoCodecOf(format_, options_) == VideoCodec::H264) {
            av_dict_set(&encoderOptions, "profile", "high", 0);
            // At 2160 lines every frame the encoder holds costs 12 MB: a short look-ahead and
            // slice threads (no frame threads, each with frames of its own) keep a 4K render
            // under 1 GB for about 3 % more bytes at the same quality.
            if (format_.codedHeight * format_.codedWidth > 1920 * 1920)
                av_dict_set(&encoderOptions, "x264-params", "rc-lookahead=10:sliced-threads=1", 0);
        } else {
            av_dict_set(&encoderOptions, "x265-params", "log-level=error", 0);
            c->codec_tag = MKTAG('h', 'v', 'c', '1'); // the tag Apple's players require
        }
    } else {
        c->gop_size = format_.gopSize;
        c->bit_rate = format_.bitRate;
        c->rc_max_rate = format_.maxRate;
        c->rc_min_rate = format_.minRate;
        c->rc_buffer_size = format_.bufferSize;
        // Slice threads let the encoder use the second core whenever the frame generator rests.
        c->thread_count = 2;
        c->thread_type = FF_THREAD_SLICE;
        if (format_.scanOffset)
            av_dict_set_int(&encoderOptions, "scan_offset", 1, 0);
    }
    const int rc = avcodec_open2(c, codec, &encoderOptions);
    av_dict_free(&encoderOptions);
    checkAv(rc, "open the video encoder");
    videoStream_->time_base = c->time_base;
    videoStream_->sample_aspect_ratio = c->sample_aspect_ratio;
    videoStream_->avg_frame_rate = c->framerate;
    checkAv(avcodec_parameters_from_context(videoStream_->codecpar, c), "describe the video stream");
    // The MPEG muxers size their buffers from the encoder's VBV figures, carried as side data.
    for (int i = 0; i < c->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = c->coded_side_data[i];
        std::uint8_t* copy = av_stream_new_side_data(videoStream_, data.type, data.size);
        if (!copy)
            throw EncoderError("describe the video buffer: out of memory");
        std::memcpy(copy, data.data, data.size);
    }
}

void VideoWriter::openAudio() {
    const bool aac = format_.audioCodec == AudioCodec::Aac;
    const AVCodec* codec = avcodec_find_encoder(aac ? AV_CODEC_ID_AAC : AV_CODEC_ID_MP2);
    if (!codec)
        throw EncoderError(aac ? "find the AAC audio encoder: not available"
                               : "find the MP2 audio encoder: not available");
    audioStream_ = avformat_new_stream(output_.get(), nullptr);
    audio_.reset(avcodec_alloc_context3(codec));
    if (!audioStream_ || !audio_)
        throw EncoderError("create the audio stream: out of memory");
    AVCodecContext* c = audio_.get();
    // FFmpeg's AAC encoder takes planar floats; MP2 interleaved 16-bit samples.
    c->sample_fmt = aac ? AV_SAMPLE_FMT_FLTP : AV_SAMPLE_FMT_S16;
    c->sample_rate = format_.sampleRate;
    c->bit_rate = format_.audioBitRate;
    c->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
    c->time_base = {1, format_.sampleRate};
    if (aac)
        c->profile = FF_PROFILE_AAC_LOW;
    if (output_->oformat->flags & AVFMT_GLOBALHEADER)
        c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    checkAv(avcodec_open2(c, codec, nullptr), "open the audio encoder");
    audioStream_->time_base = c->time_base;
    checkAv(avcodec_parameters_from_context(audioStream_->codecpar, c), "describe the audio stream");

    audioFrame_->format = c->sample_fmt;
    audioFrame_->sample_rate = c->sample_rate;
    audioFrame_->nb_samples = c->frame_size;
    checkAv(av_channel_layout_copy(&audioFrame_->ch_layout, &c->ch_layout), "describe the audio frame");
    checkAv(av_frame_get_buffer(audioFrame_.get(), 0), "allocate the audio frame");
}

std::int64_t VideoWriter::samplesForFrames(std::int64_t frames) const {
    return frames * format_.sampleRate * rate_.den / rate_.num;
}

void VideoWriter::takeAudioFrame(int frameSize) {
    const std::int16_t* samples = pending_.data();
    if (audioFrame_->format == AV_SAMPLE_FMT_FLTP) {
        for (int channel = 0; channel < SoundTrack::kChannels; ++channel) {
            auto* out = reinterpret_cast<float*>(audioFrame_->data[channel]);
            for (int i = 0; i < frameSize; ++i)
                out[i] = static_cast<float>(samples[i * SoundTrack::kChannels + channel]) / 32768.0f;
        }
    } else {
        std::copy_n(samples, frameSize * SoundTrack::kChannels,
                    reinterpret_cast<std::int16_t*>(audioFrame_->data[0]));
    }
    pending_.erase(pending_.begin(), pending_.begin() + frameSize * SoundTrack::kChannels);
}

ffmpeg::FramePtr VideoWriter::makeVideoFrame() const {
    ffmpeg::FramePtr frame(av_frame_alloc());
    if (!frame)
        throw EncoderError("allocate a video frame: out of memory");
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = format_.codedWidth;
    frame->height = format_.codedHeight;
    checkAv(av_frame_get_buffer(frame.get(), 0), "allocate a video frame");
    return frame;
}

void VideoWriter::encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
    // Send one frame (or nullptr to flush), then drain every packet the encoder has ready.
    checkAv(avcodec_send_frame(codec, frame), "send a frame to the encoder");
    for (;;) {
        const int rc = avcodec_receive_packet(codec, packet_.get());
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF)
            return;
        checkAv(rc, "encode");
        // Encoder time base to the stream's, which the muxer chose in the header.
        av_packet_rescale_ts(packet_.get(), codec->time_base, stream->time_base);
        packet_->stream_index = stream->index;
        checkAv(av_interleaved_write_frame(output_.get(), packet_.get()), "write to the file");
    }
}

void VideoWriter::writeVideo(AVFrame* frame) {
    frame->pts = videoFrames_++;
    encode(video_.get(), videoStream_, frame);
    // Keep the sound two seconds behind, so the end can still be faded when it comes.
    const std::int64_t videoSamples = samplesForFrames(videoFrames_);
    encodeAudioUntil(videoSamples - 2LL * format_.sampleRate, false);
}

void VideoWriter::fillPending(std::size_t frames) {
    const std::size_t have = pending_.size() / SoundTrack::kChannels;
    if (have >= frames)
        return;
    pending_.resize(frames * SoundTrack::kChannels, 0);
    std::span<std::int16_t> rest(pending_.data() + have * SoundTrack::kChannels,
                                 (frames - have) * SoundTrack::kChannels);
    if (!trackEnded_) {
        const std::size_t got = soundTrack_.read(rest);
        trackEnded_ = got < frames - have;
        rest = rest.subspan(got * SoundTrack::kChannels);
    }
    std::fill(rest.begin(), rest.end(), 0); // after the last song: silence
}

void VideoWriter::encodeAudioUntil(std::int64_t untilSample, bool pad) {
    const int frameSize = audio_->frame_size;
    while (audioSamples_ < untilSample && (pad || audioSamples_ + frameSize <= untilSample)) {
        fillPending(static_cast<std::size_t>(frameSize));
        checkAv(av_frame_make_writable(audioFrame_.get()), "prepare the audio frame");
        takeAudioFrame(frameSize);
        audioFrame_->pts = audioSamples_;
        audioSamples_ += frameSize;
        encode(audio_.get(), audioStream_, audioFrame_.get());
    }
}

void VideoWriter::finish() {
    if (finished_)
        return;
    finished_ = true;
    // The sound track lasts exactly as long as the video.
    const std::int64_t total = samplesForFrames(videoFrames_);
    const auto rest = static_cast<std::size_t>(std::max<std::int64_t>(0, total - audioSamples_));
    fillPending(rest);
    pending_.resize(rest * SoundTrack::kChannels);
    if (!trackEnded_) {
        std::int16_t probe[SoundTrack::kChannels];
        if (soundTrack_.read(probe) > 0) {
            // The songs go on past the video: fade the last two seconds out instead of cutting.
            const std::size_t fade =
                std::min<std::size_t>(rest, 2 * static_cast<std::size_t>(format_.sampleRate));
            fadeOut(std::span(pending_).last(fade * SoundTrack::kChannels), SoundTrack::kChannels);
        }
        trackEnded_ = true;
    }
    encodeAudioUntil(total, true); // the last encoder frame is filled up with silence
    encode(video_.get(), videoStream_, nullptr);
    encode(audio_.get(), audioStream_, nullptr);
    checkAv(av_write_trailer(output_.get()), "finish the file");
    checkAv(avio_closep(&output_->pb), "close the file");
}

} // namespace vistello::production
