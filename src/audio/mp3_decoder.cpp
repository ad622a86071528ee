#include "audio/mp3_decoder.h"

#include "ffmpeg/handles.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vistello::audio {

namespace {

std::string describe(const std::filesystem::path& path, const char* step, int code) {
    return path.string() + ": " + step + ": " + ffmpeg::errorText(code);
}

// Frames a packet contributes to the decoded song: its duration less the samples that the
// demuxer marks for skipping at its start (encoder delay) or end (padding). The encoder delay
// may exceed the first packet (the decoder carries the rest into the next ones), so a packet's
// share can be negative; only the song's sum is meaningful.
std::int64_t packetFrames(const AVPacket& packet, const AVStream& stream, int sampleRate) {
    std::int64_t frames = av_rescale_q(packet.duration, stream.time_base, AVRational{1, sampleRate});
    if (frames <= 0)
        frames = av_get_audio_frame_duration2(stream.codecpar, packet.size);
    std::size_t sideSize = 0;
    const std::uint8_t* side = av_packet_get_side_data(&packet, AV_PKT_DATA_SKIP_SAMPLES, &sideSize);
    if (side != nullptr && sideSize >= 8) {
        std::uint32_t skipStart = 0;
        std::uint32_t skipEnd = 0;
        std::memcpy(&skipStart, side, 4);
        std::memcpy(&skipEnd, side + 4, 4);
        frames -= static_cast<std::int64_t>(skipStart) + static_cast<std::int64_t>(skipEnd);
    }
    return frames;
}

} // namespace

struct Mp3Decoder::State {
    std::filesystem::path path;
    PcmFormat source;
    PcmFormat output;
    std::int64_t lengthFrames = 0;
    std::int64_t fileSize = 0;

    ffmpeg::InputFormatContextPtr format;
    ffmpeg::CodecContextPtr codec;
    ffmpeg::SwrContextPtr resampler;
    ffmpeg::PacketPtr packet{av_packet_alloc()};
    ffmpeg::FramePtr frame{av_frame_alloc()};
    int streamIndex = -1;
    bool inputDrained = false; // the demuxer is at its end and the decoder was flushed
    bool ended = false;
    std::int64_t discardFrames = 0;    // source frames still to drop after a seek
    std::vector<std::int16_t> pending; // converted samples not yet handed out
    std::size_t pendingOffset = 0;

    // Opens demuxer, decoder and resampler afresh at the start of the file.
    bool openContexts(std::string& error) {
        AVFormatContext* raw = nullptr;
        int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
        if (rc < 0) {
            error = describe(path, "open", rc);
            return false;
        }
        format.reset(raw);
        if ((rc = avformat_find_stream_info(format.get(), nullptr)) < 0) {
            error = describe(path, "read stream info", rc);
            return false;
        }
        const AVCodec* decoder = nullptr;
        streamIndex = av_find_best_stream(format.get(), AVMEDIA_TYPE_AUDIO, -1, -1, &decoder, 0);
        if (streamIndex < 0 || decoder == nullptr) {
            error = describe(path, "find an audio stream",
                             streamIndex < 0 ? streamIndex : AVERROR_DECODER_NOT_FOUND);
            return false;
        }
        const AVStream* stream = format->streams[streamIndex];
        const AVCodecID id = stream->codecpar->codec_id;
        if (id != AV_CODEC_ID_MP3 && id != AV_CODEC_ID_MP2 && id != AV_CODEC_ID_MP1) {
            error = path.string() + ": not an MPEG audio file (" + avcodec_get_name(id) + ")";
            return false;
        }
        codec.reset(avcodec_alloc_context3(decoder));
        if ((rc = avcodec_parameters_to_context(codec.get(), stream->codecpar)) < 0 ||
            (rc = avcodec_open2(codec.get(), decoder, nullptr)) < 0) {
            error = describe(path, "open the decoder", rc);
            return false;
        }
        source = {codec->sample_rate, codec->ch_layout.nb_channels};
        if (source.sampleRate <= 0 || source.channels <= 0) {
            error = path.string() + ": no sample rate or channels";
            return false;
        }
        if (output.sampleRate <= 0)
            output.sampleRate = source.sampleRate;
        if (output.channels <= 0)
            output.channels = source.channels;
        return openResampler(error);
    }

    bool openResampler(std::string& error) {
        AVChannelLayout outLayout;
        av_channel_layout_default(&outLayout, output.channels);
        SwrContext* raw = nullptr;
        int rc = swr_alloc_set_opts2(&raw, &outLayout, AV_SAMPLE_FMT_S16, output.sampleRate,
                                     &codec->ch_layout, codec->sample_fmt, codec->sample_rate, 0, nullptr);
        resampler.reset(raw);
        av_channel_layout_uninit(&outLayout);
        if (rc < 0 || (rc = swr_init(resampler.get())) < 0) {
            error = describe(path, "set up the resampler", rc);
            return false;
        }
        return true;
    }

    // Counts the song's frames by demuxing the whole file once, without decoding.
    bool countFrames(std::string& error) {
        AVFormatContext* raw = nullptr;
        int rc = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
        if (rc < 0) {
            error = describe(path, "open", rc);
            return false;
        }
        ffmpeg::InputFormatContextPtr counter(raw);
        if ((rc = avformat_find_stream_info(counter.get(), nullptr)) < 0) {
            error = describe(path, "read stream info", rc);
            return false;
        }
        fileSize = std::max<std::int64_t>(avio_size(counter->pb), 0);
        ffmpeg::PacketPtr countPacket(av_packet_alloc());
        lengthFrames = 0;
        while (av_read_frame(counter.get(), countPacket.get()) >= 0) {
            if (countPacket->stream_index == streamIndex)
                lengthFrames += packetFrames(*countPacket, *counter->streams[streamIndex], source.sampleRate);
            av_packet_unref(countPacket.get());
        }
        lengthFrames = std::max<std::int64_t>(lengthFrames, 0);
        return true;
    }

    // Decodes the next frame into `frame`; false at the end of the song.
    bool decodeNext() {
        while (true) {
            int rc = avcodec_receive_frame(codec.get(), frame.get());
            if (rc == 0)
                return true;
            if (rc != AVERROR(EAGAIN) || inputDrained)
                return false;
            rc = av_read_frame(format.get(), packet.get());
            if (rc < 0) {
                // End of the file: a null packet makes the decoder hand out what it holds.
                avcodec_send_packet(codec.get(), nullptr);
                inputDrained = true;
                continue;
            }
            if (packet->stream_index == streamIndex)
                avcodec_send_packet(codec.get(), packet.get()); // a damaged packet is skipped
            av_packet_unref(packet.get());
        }
    }

    // Converts `count` frames of `frame` starting at `first` into `pending`; a null frame
    // drains what the resampler still holds.
    void convert(const AVFrame* input, int first, int count) {
        // A damaged stream can change its channels, rate or sample format from one frame to the
        // next; the resampler was set up for the first, so such a frame is dropped rather than
        // read with planes it does not have.
        if (input != nullptr &&
            (input->ch_layout.nb_channels != source.channels || input->sample_rate != source.sampleRate ||
             input->format != codec->sample_fmt)) {
            pending.clear();
            pendingOffset = 0;
            return;
        }
        const int capacity = swr_get_out_samples(resampler.get(), count);
        if (capacity <= 0)
            return;
        pending.resize(static_cast<std::size_t>(capacity) * output.channels);
        auto* target = reinterpret_cast<std::uint8_t*>(pending.data());
        const std::uint8_t* planes[AV_NUM_DATA_POINTERS] = {};
        if (input != nullptr) {
            const auto sampleFormat = static_cast<AVSampleFormat>(input->format);
            const int bytes = av_get_bytes_per_sample(sampleFormat);
            const bool planar = av_sample_fmt_is_planar(sampleFormat) != 0;
            const int planeCount = planar ? source.channels : 1;
            const int step = planar ? bytes : bytes * source.channels;
            for (int i = 0; i < planeCount && i < AV_NUM_DATA_POINTERS; ++i)
                planes[i] = input->extended_data[i] + static_cast<std::ptrdiff_t>(first) * step;
        }
        const int made = swr_convert(resampler.get(), &target, capacity, input != nullptr ? planes : nullptr,
                                     input != nullptr ? count : 0);
        pending.resize(static_cast<std::size_t>(std::max(made, 0)) * output.channels);
        pendingOffset = 0;
    }

    // Refills `pending`; false when the song has ended.
    bool refill() {
        while (!ended) {
            if (!decodeNext()) {
                convert(nullptr, 0, 0);
                ended = true;
                return !pending.empty();
            }
            int first = 0;
            const int count = frame->nb_samples;
            if (discardFrames > 0) {
                first = static_cast<int>(std::min<std::int64_t>(discardFrames, count));
                discardFrames -= first;
            }
            if (first < count) {
                convert(frame.get(), first, count - first);
                if (!pending.empty())
                    return true;
            }
        }
        return false;
    }
};

Mp3Decoder::Mp3Decoder(std::unique_ptr<State> state) : state_(std::move(state)) {}
Mp3Decoder::~Mp3Decoder() = default;

std::unique_ptr<Mp3Decoder> Mp3Decoder::open(const std::filesystem::path& path, PcmFormat output,
                                             std::string& error) {
    auto state = std::make_unique<State>();
    state->path = path;
    state->output = output;
    if (!state->packet || !state->frame) {
        error = path.string() + ": out of memory";
        return nullptr;
    }
    if (!state->openContexts(error) || !state->countFrames(error))
        return nullptr;
    return std::unique_ptr<Mp3Decoder>(new Mp3Decoder(std::move(state)));
}

PcmFormat Mp3Decoder::sourceFormat() const {
    return state_->source;
}
PcmFormat Mp3Decoder::outputFormat() const {
    return state_->output;
}
std::int64_t Mp3Decoder::lengthFrames() const {
    return state_->lengthFrames;
}
std::int64_t Mp3Decoder::fileSize() const {
    return state_->fileSize;
}

double Mp3Decoder::lengthSeconds() const {
    return static_cast<double>(state_->lengthFrames) / state_->source.sampleRate;
}

std::int64_t Mp3Decoder::filePosition() const {
    if (state_->ended && state_->pendingOffset >= state_->pending.size())
        return state_->fileSize;
    return std::clamp<std::int64_t>(avio_tell(state_->format->pb), 0, state_->fileSize);
}

std::size_t Mp3Decoder::read(std::span<std::int16_t> out) {
    State& s = *state_;
    const auto channels = static_cast<std::size_t>(s.output.channels);
    const std::size_t wanted = out.size() / channels * channels;
    std::size_t written = 0;
    while (written < wanted) {
        if (s.pendingOffset >= s.pending.size() && !s.refill())
            break;
        const std::size_t take = std::min(wanted - written, s.pending.size() - s.pendingOffset);
        std::copy_n(s.pending.begin() + static_cast<std::ptrdiff_t>(s.pendingOffset), take,
                    out.begin() + static_cast<std::ptrdiff_t>(written));
        s.pendingOffset += take;
        written += take;
    }
    return written / channels;
}

bool Mp3Decoder::seek(std::int64_t frame) {
    State& s = *state_;
    frame = std::clamp<std::int64_t>(frame, 0, s.lengthFrames);
    // Starting from a fresh demuxer and decoder makes a seek to 0 exact (the encoder delay
    // is skipped again) and clears every buffered sample of the old position.
    std::string error;
    s.format.reset();
    s.codec.reset();
    s.resampler.reset();
    s.inputDrained = false;
    s.ended = false;
    s.pending.clear();
    s.pendingOffset = 0;
    s.discardFrames = 0;
    if (!s.openContexts(error)) {
        s.ended = true;
        return false;
    }
    if (frame == 0)
        return true;
    const AVStream* stream = s.format->streams[s.streamIndex];
    const std::int64_t timestamp = av_rescale_q(frame, AVRational{1, s.source.sampleRate}, stream->time_base);
    if (av_seek_frame(s.format.get(), s.streamIndex, timestamp, AVSEEK_FLAG_BACKWARD) < 0) {
        // Without an index the samples before the target are decoded and dropped.
        s.discardFrames = frame;
        return true;
    }
    avcodec_flush_buffers(s.codec.get());
    // The demuxer lands on a packet at or before the target; drop the samples in between.
    while (s.decodeNext()) {
        const std::int64_t start =
            s.frame->pts == AV_NOPTS_VALUE
                ? frame
                : av_rescale_q(s.frame->pts, stream->time_base, AVRational{1, s.source.sampleRate});
        const std::int64_t skip = std::clamp<std::int64_t>(frame - start, 0, s.frame->nb_samples);
        if (skip < s.frame->nb_samples) {
            s.convert(s.frame.get(), static_cast<int>(skip), s.frame->nb_samples - static_cast<int>(skip));
            return true;
        }
    }
    s.ended = true;
    return true;
}

} // namespace vistello::audio
