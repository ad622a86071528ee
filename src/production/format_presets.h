#pragma once
// The three output formats of the encoder, with the rate-control and multiplex parameters of
// the usual PAL VCD, SVCD and DVD targets. All run at 25 frames a second with a 4:3 display.

#include <cstdint>

extern "C" {
#include <libavcodec/codec_id.h>
#include <libavutil/rational.h>
}

namespace vistello::production {

struct FormatPreset {
    const char* muxer;    // "vcd", "svcd" or "dvd"
    AVCodecID videoCodec; // MPEG-1 for VCD, MPEG-2 otherwise
    bool needsMpeg2;
    int codedWidth, codedHeight;  // the picture the encoder writes
    int pictureWidth, pictureLeft; // where the frames handed in go (VCD: 320 wide at 16)
    std::int64_t bitRate, maxRate, minRate;
    int bufferSize; // VBV buffer, bits
    int gopSize;
    bool scanOffset; // SVCD's scan information offsets
    AVRational sampleAspect; // makes the display 4:3
    int sampleRate;
    std::int64_t audioBitRate;
    int packetSize;      // bytes per pack
    int muxRate;         // bits per second, 0: let the muxer compute it
    double preloadSeconds; // 0: the muxer's default
};

inline constexpr int kFramesPerSecond = 25;

// Preset 0 VCD, 1 SVCD, 2 DVD; nullptr for any other number.
const FormatPreset* formatPreset(int preset);

} // namespace vistello::production
