#include "production/mpeg_writer.h"

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

MpegWriter::MpegWriter(const std::filesystem::path& path, const FormatPreset& preset, SoundTrack soundTrack)
    : preset_(preset), path_(path), soundTrack_(std::move(soundTrack)), packet_(av_packet_alloc()),
      audioFrame_(av_frame_alloc()) {
    if (!packet_ || !audioFrame_)
        throw EncoderError("allocate packet: out of memory");
    AVFormatContext* format = nullptr;
    checkAv(avformat_alloc_output_context2(&format, nullptr, preset.muxer, nullptr), "choose the muxer");
    format_.reset(format);
    // Frames sit at most 0.7 s in the muxer's buffers, as with the usual command-line targets.
    format_->max_delay = 700000;
    openVideo();
    openAudio();

    // The "file:" prefix keeps a name with a colon from being taken for a protocol.
    const std::string url = "file:" + path.string();
    checkAv(avio_open(&format_->pb, url.c_str(), AVIO_FLAG_WRITE), ("create " + path.string()).c_str());

    AVDictionary* options = nullptr;
    av_dict_set_int(&options, "packetsize", preset.packetSize, 0);
    if (preset.muxRate > 0)
        av_dict_set_int(&options, "muxrate", preset.muxRate, 0);
    if (preset.preloadSeconds > 0)
        av_dict_set_int(&options, "preload", static_cast<std::int64_t>(preset.preloadSeconds * AV_TIME_BASE), 0);
    const int rc = avformat_write_header(format_.get(), &options);
    av_dict_free(&options);
    checkAv(rc, "write the file header");
    headerWritten_ = true;
}

MpegWriter::~MpegWriter() = default;

void MpegWriter::openVideo() {
    const AVCodec* codec = avcodec_find_encoder(preset_.videoCodec);
    if (!codec)
        throw EncoderError("find the MPEG video encoder: not available");
    videoStream_ = avformat_new_stream(format_.get(), nullptr);
    video_.reset(avcodec_alloc_context3(codec));
    if (!videoStream_ || !video_)
        throw EncoderError("create the video stream: out of memory");
    AVCodecContext* c = video_.get();
    c->width = preset_.codedWidth;
    c->height = preset_.codedHeight;
    c->time_base = {1, kFramesPerSecond};
    c->framerate = {kFramesPerSecond, 1};
    c->pix_fmt = AV_PIX_FMT_YUV420P;
    c->gop_size = preset_.gopSize;
    c->bit_rate = preset_.bitRate;
    c->rc_max_rate = preset_.maxRate;
    c->rc_min_rate = preset_.minRate;
    c->rc_buffer_size = preset_.bufferSize;
    c->sample_aspect_ratio = preset_.sampleAspect; // the 4:3 display players and authoring tools need
    // Slice threads let the encoder use the second core whenever the frame generator rests.
    c->thread_count = 2;
    c->thread_type = FF_THREAD_SLICE;
    if (preset_.scanOffset)
        av_opt_set_int(c->priv_data, "scan_offset", 1, 0);
    checkAv(avcodec_open2(c, codec, nullptr), "open the video encoder");
    videoStream_->time_base = c->time_base;
    videoStream_->sample_aspect_ratio = c->sample_aspect_ratio;
    videoStream_->avg_frame_rate = c->framerate;
    checkAv(avcodec_parameters_from_context(videoStream_->codecpar, c), "describe the video stream");
    // The muxer sizes its buffers from the encoder's VBV figures, carried as stream side data.
    for (int i = 0; i < c->nb_coded_side_data; ++i) {
        const AVPacketSideData& data = c->coded_side_data[i];
        std::uint8_t* copy = av_stream_new_side_data(videoStream_, data.type, data.size);
        if (!copy)
            throw EncoderError("describe the video buffer: out of memory");
        std::memcpy(copy, data.data, data.size);
    }
}

void MpegWriter::openAudio() {
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_MP2);
    if (!codec)
        throw EncoderError("find the MP2 audio encoder: not available");
    audioStream_ = avformat_new_stream(format_.get(), nullptr);
    audio_.reset(avcodec_alloc_context3(codec));
    if (!audioStream_ || !audio_)
        throw EncoderError("create the audio stream: out of memory");
    AVCodecContext* c = audio_.get();
    c->sample_fmt = AV_SAMPLE_FMT_S16;
    c->sample_rate = preset_.sampleRate;
    c->bit_rate = preset_.audioBitRate;
    c->ch_layout = AV_CHANNEL_LAYOUT_STEREO;
    c->time_base = {1, preset_.sampleRate};
    checkAv(avcodec_open2(c, codec, nullptr), "open the audio encoder");
    audioStream_->time_base = c->time_base;
    checkAv(avcodec_parameters_from_context(audioStream_->codecpar, c), "describe the audio stream");

    audioFrame_->format = c->sample_fmt;
    audioFrame_->sample_rate = c->sample_rate;
    audioFrame_->nb_samples = c->frame_size;
    checkAv(av_channel_layout_copy(&audioFrame_->ch_layout, &c->ch_layout), "describe the audio frame");
    checkAv(av_frame_get_buffer(audioFrame_.get(), 0), "allocate the audio frame");
}

FramePtr MpegWriter::makeVideoFrame() const {
    FramePtr frame(av_frame_alloc());
    if (!frame)
        throw EncoderError("allocate a video frame: out of memory");
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = preset_.codedWidth;
    frame->height = preset_.codedHeight;
    checkAv(av_frame_get_buffer(frame.get(), 0), "allocate a video frame");
    return frame;
}

void MpegWriter::encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame) {
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
        checkAv(av_interleaved_write_frame(format_.get(), packet_.get()), "write to the file");
    }
}

void MpegWriter::writeVideo(AVFrame* frame) {
    frame->pts = videoFrames_++;
    encode(video_.get(), videoStream_, frame);
    // Keep the sound two seconds behind, so the end can still be faded when it comes.
    const std::int64_t videoSamples = videoFrames_ * preset_.sampleRate / kFramesPerSecond;
    encodeAudioUntil(videoSamples - 2LL * preset_.sampleRate, false);
}

void MpegWriter::fillPending(std::size_t frames) {
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

void MpegWriter::encodeAudioUntil(std::int64_t untilSample, bool pad) {
    const int frameSize = audio_->frame_size;
    while (audioSamples_ < untilSample && (pad || audioSamples_ + frameSize <= untilSample)) {
        fillPending(static_cast<std::size_t>(frameSize));
        checkAv(av_frame_make_writable(audioFrame_.get()), "prepare the audio frame");
        std::copy_n(pending_.begin(), frameSize * SoundTrack::kChannels,
                    reinterpret_cast<std::int16_t*>(audioFrame_->data[0]));
        pending_.erase(pending_.begin(), pending_.begin() + frameSize * SoundTrack::kChannels);
        audioFrame_->pts = audioSamples_;
        audioSamples_ += frameSize;
        encode(audio_.get(), audioStream_, audioFrame_.get());
    }
}

void MpegWriter::finish() {
    if (finished_)
        return;
    finished_ = true;
    // The sound track lasts exactly as long as the video.
    const std::int64_t total = videoFrames_ * preset_.sampleRate / kFramesPerSecond;
    const auto rest = static_cast<std::size_t>(std::max<std::int64_t>(0, total - audioSamples_));
    fillPending(rest);
    pending_.resize(rest * SoundTrack::kChannels);
    if (!trackEnded_) {
        std::int16_t probe[SoundTrack::kChannels];
        if (soundTrack_.read(probe) > 0) {
            // The songs go on past the video: fade the last two seconds out instead of cutting.
            const std::size_t fade = std::min<std::size_t>(rest, 2 * static_cast<std::size_t>(preset_.sampleRate));
            fadeOut(std::span(pending_).last(fade * SoundTrack::kChannels), SoundTrack::kChannels);
        }
        trackEnded_ = true;
    }
    encodeAudioUntil(total, true); // the last encoder frame is filled up with silence
    encode(video_.get(), videoStream_, nullptr);
    encode(audio_.get(), audioStream_, nullptr);
    checkAv(av_write_trailer(format_.get()), "finish the file");
    checkAv(avio_closep(&format_->pb), "close the file");
}

} // namespace vistello::production
