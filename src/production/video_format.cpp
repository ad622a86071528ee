#include "production/video_format.h"

#include <algorithm>
#include <cstdlib>

namespace vistello::production {

namespace {

constexpr Rational kPal{25, 1};
constexpr Rational kNtsc{30000, 1001};

constexpr int roundedDiv(std::int64_t numerator, std::int64_t denominator) {
    return static_cast<int>((2 * numerator + denominator) / (2 * denominator));
}

// Titles keep the size and distance from the bottom edge they have in their reference format,
// scaled with the frame (by its shorter side, so an upright frame gets the title a landscape
// frame of its width would get); the softening grows the same way from the 576-line frame.
struct TitleStyle {
    int size, bottomMargin, referenceHeight;
};
constexpr TitleStyle kVcdTitle{17, 288 - 265, 288};
constexpr TitleStyle kSvcdTitle{24, 576 - 540, 576};
constexpr TitleStyle kDvdTitle{36, 576 - 530, 576};

constexpr void placeTitle(VideoFormat& f, TitleStyle style) {
    const int side = std::min(f.composeWidth, f.composeHeight);
    const int reference = style.referenceHeight;
    f.titleSize = roundedDiv(std::int64_t{style.size} * side, reference);
    f.titleRow = f.composeHeight - roundedDiv(std::int64_t{style.bottomMargin} * side, reference);
    f.titleColumn = roundedDiv(10LL * side, reference);
    f.titleOutline = std::max(1, roundedDiv(side, reference));
    f.titleShadow = std::max(1, roundedDiv(2LL * side, reference));
    f.softenRadius = std::max(1, roundedDiv(side, 576));
}

struct DiscRow {
    const char *name, *caption, *shortName;
    DiscKind disc;
    int codedWidth, codedHeight, pictureWidth, pictureLeft;
    Rational sampleAspect, displayAspect;
    int composeWidth;
    Rational rate;
};

// MPEG-1 (VCD) or MPEG-2 (SVCD, DVD) in a program stream with MP2 sound, with the rates and
// multiplex parameters of the usual command-line targets of each disc.
constexpr VideoFormat discFormat(const DiscRow& row) {
    VideoFormat f{};
    f.name = row.name;
    f.caption = row.caption;
    f.shortName = row.shortName;
    f.extension = "mpg";
    f.codedWidth = row.codedWidth;
    f.codedHeight = row.codedHeight;
    f.pictureWidth = row.pictureWidth;
    f.pictureLeft = row.pictureLeft;
    f.sampleAspect = row.sampleAspect;
    f.displayAspect = row.displayAspect;
    f.composeWidth = row.composeWidth;
    f.composeHeight = row.codedHeight;
    f.rates = {row.rate};
    f.rateCount = 1;
    f.defaultRate = row.rate;
    f.constantQuality = false;
    f.gopSize = row.rate == kPal ? 15 : 18;
    f.scanOffset = false;
    f.matrix = ColourMatrix::Bt601;
    f.audioCodec = AudioCodec::Mp2;
    f.audioBitRate = 224000;
    f.preloadSeconds = 0;
    f.muxRate = 0;
    f.disc = row.disc;
    switch (row.disc) {
    case DiscKind::Vcd:
        // Constant 1150 kbit/s. The preload offsets the first timestamps past the two leading
        // padding packs the VCD muxer writes.
        f.muxer = "vcd";
        f.videoCodec = VideoCodec::Mpeg1;
        f.needsMpeg2 = false;
        f.bitRate = f.maxRate = f.minRate = 1150000;
        f.bufferSize = 40 * 1024 * 8;
        f.sampleRate = 44100;
        f.packetSize = 2324;
        f.muxRate = 2352 * 75 * 8;
        f.preloadSeconds = (36000 + 3 * 1200) / 90000.0;
        placeTitle(f, kVcdTitle);
        break;
    case DiscKind::Svcd:
        f.muxer = "svcd";
        f.videoCodec = VideoCodec::Mpeg2;
        f.needsMpeg2 = true;
        f.bitRate = 2040000;
        f.maxRate = 2516000;
        f.minRate = 0;
        f.bufferSize = 224 * 1024 * 8;
        f.scanOffset = true;
        f.sampleRate = 44100;
        f.packetSize = 2324;
        placeTitle(f, kSvcdTitle);
        break;
    default:
        // 6 Mbit/s average, 2048-byte packs, MP2 sound at 48 kHz.
        f.muxer = "dvd";
        f.videoCodec = VideoCodec::Mpeg2;
        f.needsMpeg2 = true;
        f.bitRate = 6000000;
        f.maxRate = 9000000;
        f.minRate = 0;
        f.bufferSize = 224 * 1024 * 8;
        f.sampleRate = 48000;
        f.packetSize = 2048;
        f.muxRate = 10080000;
        placeTitle(f, kDvdTitle);
        break;
    }
    return f;
}

// H.264 (or H.265) and AAC-LC in MP4, square pixels, at a rate the user picks (30 by default).
constexpr VideoFormat mp4Format(const char* name, const char* caption, const char* shortName, int width,
                                int height, Rational displayAspect) {
    VideoFormat f{};
    f.name = name;
    f.caption = caption;
    f.shortName = shortName;
    f.extension = "mp4";
    f.codedWidth = f.pictureWidth = f.composeWidth = width;
    f.codedHeight = f.composeHeight = height;
    f.pictureLeft = 0;
    f.sampleAspect = {1, 1};
    f.displayAspect = displayAspect;
    f.rates = {Rational{25, 1}, Rational{30, 1}, Rational{50, 1}, Rational{60, 1}};
    f.rateCount = 4;
    f.defaultRate = {30, 1};
    f.muxer = "mp4";
    f.videoCodec = VideoCodec::H264;
    f.needsMpeg2 = false;
    f.constantQuality = true;
    f.gopSize = 0;
    f.matrix = ColourMatrix::Bt709;
    f.audioCodec = AudioCodec::Aac;
    f.sampleRate = 48000;
    f.audioBitRate = 192000;
    f.disc = DiscKind::None;
    placeTitle(f, kDvdTitle);
    return f;
}

// The compose width of a disc format is its picture area's width on a square-pixel screen:
// pictureWidth × the sample aspect the stream carries, to the nearest pixel (VCD: 320 × 178/163
// = 349.4; NTSC VCD: 352 × 200/219 = 321.5; 16:9 NTSC DVD: 720 × 32/27 = 853.3). MPEG-1 can
// only carry the pixel shapes of its table, so the VCD rows name those.
// One format a line, so the rows read as a table.
// clang-format off
constexpr VideoFormat kFormats[] = {
    discFormat({"vcd", "VCD", "VCD", DiscKind::Vcd, 352, 288, 320, 16, {178, 163}, {1958, 1467}, 349, kPal}),
    discFormat({"svcd", "SVCD", "SVCD", DiscKind::Svcd, 480, 576, 480, 0, {8, 5}, {4, 3}, 768, kPal}),
    discFormat({"dvd", "DVD", "DVD", DiscKind::Dvd, 720, 576, 720, 0, {16, 15}, {4, 3}, 768, kPal}),
    discFormat({"vcd-ntsc", "VCD（NTSC）", "VCD-NTSC", DiscKind::Vcd, 352, 240, 352, 0, {200, 219}, {880, 657}, 321, kNtsc}),
    discFormat({"svcd-ntsc", "SVCD（NTSC）", "SVCD-NTSC", DiscKind::Svcd, 480, 480, 480, 0, {4, 3}, {4, 3}, 640, kNtsc}),
    discFormat({"dvd-ntsc", "DVD（NTSC）", "DVD-NTSC", DiscKind::Dvd, 720, 480, 720, 0, {8, 9}, {4, 3}, 640, kNtsc}),
    discFormat({"dvd-16x9", "DVD 16:9（PAL）", "DVD-16x9", DiscKind::Dvd, 720, 576, 720, 0, {64, 45}, {16, 9}, 1024, kPal}),
    discFormat({"dvd-16x9-ntsc", "DVD 16:9（NTSC）", "DVD-16x9-NTSC", DiscKind::Dvd, 720, 480, 720, 0, {32, 27}, {16, 9}, 853, kNtsc}),
    mp4Format("mp4-720p", "MP4 720p（1280×720）", "MP4-720p", 1280, 720, {16, 9}),
    mp4Format("mp4-1080p", "MP4 1080p（1920×1080）", "MP4-1080p", 1920, 1080, {16, 9}),
    mp4Format("mp4-2160p", "MP4 4K（3840×2160）", "MP4-2160p", 3840, 2160, {16, 9}),
    mp4Format("mp4-1440x1080", "MP4 4:3（1440×1080）", "MP4-1440x1080", 1440, 1080, {4, 3}),
    mp4Format("mp4-1080x1920", "MP4 竖屏（1080×1920）", "MP4-1080x1920", 1080, 1920, {9, 16}),
    mp4Format("mp4-1080x1080", "MP4 方形（1080×1080）", "MP4-1080x1080", 1080, 1080, {1, 1}),
};
// clang-format on

constexpr const char* kSpeeds[] = {"ultrafast", "superfast", "veryfast", "faster",  "fast",
                                   "medium",    "slow",      "slower",   "veryslow"};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) {
                   return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
               };
               return lower(x) == lower(y);
           });
}

} // namespace

bool VideoFormat::offersRate(Rational rate) const {
    return std::find(rates.begin(), rates.begin() + rateCount, rate) != rates.begin() + rateCount;
}

std::span<const VideoFormat> videoFormats() {
    return kFormats;
}

const VideoFormat* findVideoFormat(std::string_view name) {
    for (const VideoFormat& format : kFormats)
        if (sameName(format.name, name))
            return &format;
    return nullptr;
}

const VideoFormat& videoFormat(std::string_view name) {
    const VideoFormat* format = findVideoFormat(name);
    if (!format)
        std::abort(); // a name of the program's own that is not in the table
    return *format;
}

std::span<const char* const> encoderSpeeds() {
    return kSpeeds;
}

bool isEncoderSpeed(std::string_view speed) {
    return std::any_of(std::begin(kSpeeds), std::end(kSpeeds), [&](const char* s) { return speed == s; });
}

Rational frameRateOf(const VideoFormat& format, const EncodeOptions& options) {
    return format.offersRate(options.rate) ? options.rate : format.defaultRate;
}

VideoCodec videoCodecOf(const VideoFormat& format, const EncodeOptions& options) {
    return format.constantQuality && options.hevc ? VideoCodec::H265 : format.videoCodec;
}

int qualityOf(const VideoFormat& format, const EncodeOptions& options) {
    if (options.quality >= 0 && options.quality <= 51)
        return options.quality;
    return videoCodecOf(format, options) == VideoCodec::H265 ? kDefaultH265Quality : kDefaultH264Quality;
}

std::string speedOf(const EncodeOptions& options) {
    return isEncoderSpeed(options.speed) ? options.speed : kDefaultSpeed;
}

} // namespace vistello::production
