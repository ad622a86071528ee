#pragma once
// The format table: one row per output format, holding everything about it — its names and
// caption, the stored picture and its aspect, the square-pixel size frames are composed at,
// the frame rates, codecs, rates and buffers, the muxer, the sound, the title's place and size
// and the disc it can be authored into. Everything that depends on the format reads its row.
//
// Frames are drawn at the format's square-pixel display size (`composeWidth` × `composeHeight`)
// so that pictures, titles and transitions keep their proportions on the screen the format is
// made for; the encoder's scaler turns them into the stored picture, whose pixels need not be
// square (a 4:3 PAL DVD stores 720 × 576 pixels of 16:15).

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vistello::production {

struct Rational {
    int num = 0, den = 1;
    double value() const { return static_cast<double>(num) / den; }
    friend constexpr bool operator==(const Rational&, const Rational&) = default;
};

enum class VideoCodec { Mpeg1, Mpeg2, H264, H265 };
enum class AudioCodec { Mp2, Aac };
enum class ColourMatrix { Bt601, Bt709 };
// The authoring tool that accepts the stream, and how: vcdimager's VCD 2.0 or SVCD, dvdauthor.
enum class DiscKind { None, Vcd, Svcd, Dvd };

struct VideoFormat {
    const char* name;      // for the command line: "vcd", "dvd-ntsc", "mp4-1080p"
    const char* caption;   // for the dialog (UTF-8)
    const char* shortName; // the output file's name before "-N": "VCD", "MP4-1080p"
    const char* extension; // of the output file, without the dot

    // The stored picture: coded size, and the area inside it that frames go to (VCD keeps its
    // 320-pixel frame between black bars of the 352-pixel picture).
    int codedWidth, codedHeight;
    int pictureWidth, pictureLeft;
    Rational sampleAspect;  // pixel shape as the stream carries it
    Rational displayAspect; // of the coded picture on its screen
    // The square-pixel display size of the picture area, at which every frame is composed.
    int composeWidth, composeHeight;

    std::array<Rational, 4> rates; // the frame rates offered; the first `rateCount` count
    int rateCount;
    Rational defaultRate;

    const char* muxer; // FFmpeg's name: "vcd", "svcd", "dvd", "mp4"
    VideoCodec videoCodec;
    bool needsMpeg2;
    bool constantQuality; // rate factor and preset (x264, x265) instead of fixed bit rates
    std::int64_t bitRate, maxRate, minRate;
    int bufferSize;  // VBV buffer, bits
    int gopSize;     // frames between key frames; 0: the encoder's choice
    bool scanOffset; // SVCD's scan information offsets
    ColourMatrix matrix;

    AudioCodec audioCodec;
    int sampleRate;
    std::int64_t audioBitRate;

    int packetSize;        // bytes per pack; 0: the muxer's default
    int muxRate;           // bits per second, 0: let the muxer compute it
    double preloadSeconds; // 0: the muxer's default

    // The title: font size and the row of its top, column, outline width and shadow distance,
    // all in compose pixels.
    int titleSize, titleRow, titleColumn, titleOutline, titleShadow;
    // The softening's radius: 1 up to 576 lines (the original 3 × 3 mean), growing with the frame.
    int softenRadius;

    DiscKind disc;

    bool isDisc() const { return disc != DiscKind::None; }
    bool offersRate(Rational rate) const;
    // The file name prefix: short name and "-".
    std::string prefix() const { return std::string(shortName) + "-"; }
};

// Every format, the three original disc formats first.
std::span<const VideoFormat> videoFormats();
// The row named `name` (compared without regard to case); nullptr when there is none.
const VideoFormat* findVideoFormat(std::string_view name);
// The row named `name`, which must be in the table (the program's own names).
const VideoFormat& videoFormat(std::string_view name);

// Defaults of the constant-quality encoders, and the x264/x265 presets a user may choose.
inline constexpr int kDefaultH264Quality = 20;
inline constexpr int kDefaultH265Quality = 23;
inline constexpr const char* kDefaultSpeed = "medium";
std::span<const char* const> encoderSpeeds();
bool isEncoderSpeed(std::string_view speed);

// How the constant-quality encoders of the MP4 formats are driven; the disc formats have
// their fixed rates and ignore the quality, speed and codec.
struct EncodeOptions {
    Rational rate{0, 1}; // frames a second; {0, 1}: the format's default
    int quality = -1;    // constant rate factor, 0..51; -1: the codec's default
    std::string speed;   // x264/x265 preset; empty: kDefaultSpeed
    bool hevc = false;   // H.265 instead of H.264
};

// What a run of `format` with `options` uses: the rate (the format's default when the one
// asked for is not offered), the codec, the rate factor and the preset.
Rational frameRateOf(const VideoFormat& format, const EncodeOptions& options);
VideoCodec videoCodecOf(const VideoFormat& format, const EncodeOptions& options);
int qualityOf(const VideoFormat& format, const EncodeOptions& options);
std::string speedOf(const EncodeOptions& options);

} // namespace vistello::production
