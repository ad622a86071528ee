#pragma once
// VideoWriter encodes YUV frames and the sound track into one file of a format of the table
// (an MPEG program stream for the discs, MP4 otherwise) with FFmpeg, in the order of FFmpeg's
// muxing example: streams, encoders, header, frames, flush, trailer.
//
// The sound is encoded two seconds behind the video, so that when the video ends the last two
// seconds are still at hand: a longer sound track is cut at the video's end with a fade over
// them, a shorter one is followed by silence. Not thread-safe; the encoder thread owns it.

#include "ffmpeg/handles.h"
#include "production/encoder_error.h"
#include "production/sound_track.h"
#include "production/video_format.h"

#include <filesystem>
#include <vector>

namespace vistello::production {

class VideoWriter {
  public:
    // Creates the file, opens both encoders and writes the header. Throws EncoderError.
    VideoWriter(const std::filesystem::path& path, const VideoFormat& format, const EncodeOptions& options,
                SoundTrack soundTrack);
    ~VideoWriter();
    VideoWriter(const VideoWriter&) = delete;
    VideoWriter& operator=(const VideoWriter&) = delete;

    // A frame in the encoder's size and pixel format, yuv420p.
    ffmpeg::FramePtr makeVideoFrame() const;
    // Encodes the next video frame (its timestamp is set here) and the sound up to its time.
    void writeVideo(AVFrame* frame);
    // Ends the sound at the video's length, flushes both encoders, writes the trailer.
    void finish();

    std::int64_t videoFrames() const { return videoFrames_; }

  private:
    void openVideo();
    void openAudio();
    void encode(AVCodecContext* codec, AVStream* stream, const AVFrame* frame);
    // Encodes sound frames until `untilSample` samples have gone out (rounded up to whole
    // encoder frames when `pad`), reading the track and then silence.
    void encodeAudioUntil(std::int64_t untilSample, bool pad);
    void fillPending(std::size_t frames);
    // The sound samples that belong to the first `frames` video frames.
    std::int64_t samplesForFrames(std::int64_t frames) const;
    // Moves one encoder frame of pending samples into audioFrame_, in the encoder's layout.
    void takeAudioFrame(int frameSize);

    const VideoFormat& format_;
    EncodeOptions options_;
    Rational rate_;
    std::filesystem::path path_;
    SoundTrack soundTrack_;
    ffmpeg::OutputFormatContextPtr output_;
    ffmpeg::CodecContextPtr video_, audio_;
    AVStream* videoStream_ = nullptr;
    AVStream* audioStream_ = nullptr;
    ffmpeg::PacketPtr packet_;
    ffmpeg::FramePtr audioFrame_;
    std::vector<std::int16_t> pending_; // decoded, not yet encoded, interleaved stereo
    bool trackEnded_ = false;
    std::int64_t videoFrames_ = 0;
    std::int64_t audioSamples_ = 0; // samples handed to the sound encoder
    bool headerWritten_ = false, finished_ = false;
};

} // namespace vistello::production
