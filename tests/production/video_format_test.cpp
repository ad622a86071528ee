// The format table: its rows as the dialog, the command line and the encoder read them, the
// compose size that keeps pictures in proportion, titles that grow with the frame, and the
// encoder options a run resolves.

#include "production/video_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace vistello::production {
namespace {

struct RowCase {
    const char* name;
    const char* shortName;
    const char* extension;
    int codedWidth, codedHeight, pictureWidth, pictureLeft;
    Rational sampleAspect, displayAspect;
    int composeWidth, composeHeight;
    Rational defaultRate;
    DiscKind disc;
    int titleSize, titleRow;
};

constexpr Rational kPal{25, 1}, kNtsc{30000, 1001}, k30{30, 1};

// The three original formats keep their streams (VCD's 320-pixel frame in a 352-pixel picture)
// and their titles: 17 at row 265, 24 at 540, 36 at 530.
// One format a line, so the rows read as a table.
// clang-format off
constexpr RowCase kRows[] = {
    {"vcd", "VCD", "mpg", 352, 288, 320, 16, {178, 163}, {1958, 1467}, 349, 288, kPal, DiscKind::Vcd, 17, 265},
    {"svcd", "SVCD", "mpg", 480, 576, 480, 0, {8, 5}, {4, 3}, 768, 576, kPal, DiscKind::Svcd, 24, 540},
    {"dvd", "DVD", "mpg", 720, 576, 720, 0, {16, 15}, {4, 3}, 768, 576, kPal, DiscKind::Dvd, 36, 530},
    {"vcd-ntsc", "VCD-NTSC", "mpg", 352, 240, 352, 0, {200, 219}, {880, 657}, 321, 240, kNtsc, DiscKind::Vcd, 14, 221},
    {"svcd-ntsc", "SVCD-NTSC", "mpg", 480, 480, 480, 0, {4, 3}, {4, 3}, 640, 480, kNtsc, DiscKind::Svcd, 20, 450},
    {"dvd-ntsc", "DVD-NTSC", "mpg", 720, 480, 720, 0, {8, 9}, {4, 3}, 640, 480, kNtsc, DiscKind::Dvd, 30, 442},
    {"dvd-16x9", "DVD-16x9", "mpg", 720, 576, 720, 0, {64, 45}, {16, 9}, 1024, 576, kPal, DiscKind::Dvd, 36, 530},
    {"dvd-16x9-ntsc", "DVD-16x9-NTSC", "mpg", 720, 480, 720, 0, {32, 27}, {16, 9}, 853, 480, kNtsc, DiscKind::Dvd, 30, 442},
    {"mp4-720p", "MP4-720p", "mp4", 1280, 720, 1280, 0, {1, 1}, {16, 9}, 1280, 720, k30, DiscKind::None, 45, 662},
    {"mp4-1080p", "MP4-1080p", "mp4", 1920, 1080, 1920, 0, {1, 1}, {16, 9}, 1920, 1080, k30, DiscKind::None, 68, 994},
    {"mp4-2160p", "MP4-2160p", "mp4", 3840, 2160, 3840, 0, {1, 1}, {16, 9}, 3840, 2160, k30, DiscKind::None, 135, 1987},
    {"mp4-1440x1080", "MP4-1440x1080", "mp4", 1440, 1080, 1440, 0, {1, 1}, {4, 3}, 1440, 1080, k30, DiscKind::None, 68, 994},
    // Upright: the title a landscape frame of its width would get, near the bottom.
    {"mp4-1080x1920", "MP4-1080x1920", "mp4", 1080, 1920, 1080, 0, {1, 1}, {9, 16}, 1080, 1920, k30, DiscKind::None, 68, 1834},
    {"mp4-1080x1080", "MP4-1080x1080", "mp4", 1080, 1080, 1080, 0, {1, 1}, {1, 1}, 1080, 1080, k30, DiscKind::None, 68, 994},
};
// clang-format on

TEST(VideoFormat, EveryRowHoldsWhatItsFormatNeeds) {
    ASSERT_EQ(videoFormats().size(), std::size(kRows));
    for (std::size_t i = 0; i < std::size(kRows); ++i) {
        const RowCase& c = kRows[i];
        SCOPED_TRACE(c.name);
        const VideoFormat& f = videoFormats()[i];
        EXPECT_STREQ(f.name, c.name);
        EXPECT_STREQ(f.shortName, c.shortName);
        EXPECT_EQ(f.prefix(), std::string(c.shortName) + "-");
        EXPECT_STREQ(f.extension, c.extension);
        EXPECT_EQ(f.codedWidth, c.codedWidth);
        EXPECT_EQ(f.codedHeight, c.codedHeight);
        EXPECT_EQ(f.pictureWidth, c.pictureWidth);
        EXPECT_EQ(f.pictureLeft, c.pictureLeft);
        EXPECT_EQ(f.sampleAspect, c.sampleAspect);
        EXPECT_EQ(f.displayAspect, c.displayAspect);
        EXPECT_EQ(f.composeWidth, c.composeWidth);
        EXPECT_EQ(f.composeHeight, c.composeHeight);
        EXPECT_EQ(f.defaultRate, c.defaultRate);
        EXPECT_EQ(f.disc, c.disc);
        EXPECT_EQ(f.titleSize, c.titleSize);
        EXPECT_EQ(f.titleRow, c.titleRow);
        EXPECT_EQ(&videoFormat(c.name), &f);
        // The coded picture shows at its display aspect, and the compose size is the picture
        // area on square pixels, so a composed circle stays round within a pixel.
        EXPECT_NEAR(c.codedWidth * f.sampleAspect.value() / c.codedHeight, f.displayAspect.value(), 1e-3);
        EXPECT_NEAR(f.composeWidth, f.pictureWidth * f.sampleAspect.value(), 0.5);
        EXPECT_EQ(f.composeHeight, f.codedHeight);
        // Disc formats play at their television's one rate; MP4 offers four, 30 by default.
        if (f.isDisc()) {
            EXPECT_EQ(f.rateCount, 1);
            EXPECT_EQ(std::string(f.muxer), f.disc == DiscKind::Vcd    ? "vcd"
                                            : f.disc == DiscKind::Svcd ? "svcd"
                                                                       : "dvd");
            EXPECT_EQ(f.needsMpeg2, f.disc != DiscKind::Vcd);
            EXPECT_FALSE(f.constantQuality);
            EXPECT_EQ(f.audioCodec, AudioCodec::Mp2);
            EXPECT_EQ(f.sampleRate, f.disc == DiscKind::Dvd ? 48000 : 44100);
        } else {
            EXPECT_EQ(f.rateCount, 4);
            for (Rational rate : {Rational{25, 1}, Rational{30, 1}, Rational{50, 1}, Rational{60, 1}})
                EXPECT_TRUE(f.offersRate(rate));
            EXPECT_STREQ(f.muxer, "mp4");
            EXPECT_EQ(f.videoCodec, VideoCodec::H264);
            EXPECT_TRUE(f.constantQuality);
            EXPECT_EQ(f.audioCodec, AudioCodec::Aac);
            EXPECT_EQ(f.sampleRate, 48000);
            EXPECT_EQ(f.matrix, ColourMatrix::Bt709);
        }
        EXPECT_EQ(f.codedWidth % 2 + f.codedHeight % 2, 0) << "4:2:0 needs even sizes";
    }
}

TEST(VideoFormat, NamesAreUniqueAndFoundWithoutRegardToCase) {
    std::set<std::string> names, shortNames;
    for (const VideoFormat& f : videoFormats()) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        EXPECT_TRUE(shortNames.insert(f.shortName).second) << f.shortName;
    }
    EXPECT_EQ(findVideoFormat("DVD"), &videoFormat("dvd"));
    EXPECT_EQ(findVideoFormat("Mp4-1080P"), &videoFormat("mp4-1080p"));
    EXPECT_EQ(findVideoFormat("mpeg4"), nullptr);
    EXPECT_EQ(findVideoFormat(""), nullptr);
    EXPECT_STREQ(videoFormats()[0].caption, "VCD");
    EXPECT_STREQ(videoFormats()[1].caption, "SVCD");
    EXPECT_STREQ(videoFormats()[2].caption, "DVD");
}

TEST(VideoFormat, TitlesAndSofteningGrowWithTheFrame) {
    // Outline and shadow stay 1 and 2 at the original heights and grow with the title.
    const struct {
        const char* name;
        int column, outline, shadow, soften;
    } cases[] = {
        {"vcd", 10, 1, 2, 1},           {"dvd", 10, 1, 2, 1},       {"vcd-ntsc", 8, 1, 2, 1},
        {"mp4-720p", 13, 1, 3, 1},      {"mp4-1080p", 19, 2, 4, 2}, {"mp4-2160p", 38, 4, 8, 4},
        {"mp4-1080x1920", 19, 2, 4, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const VideoFormat& f = videoFormat(c.name);
        EXPECT_EQ(f.titleColumn, c.column);
        EXPECT_EQ(f.titleOutline, c.outline);
        EXPECT_EQ(f.titleShadow, c.shadow);
        EXPECT_EQ(f.softenRadius, c.soften);
        EXPECT_LT(f.titleRow + f.titleSize, f.composeHeight + f.titleSize / 3)
            << "the title ends inside the frame";
    }
}

EncodeOptions options(Rational rate, int quality = -1, const char* speed = "", bool hevc = false) {
    EncodeOptions o;
    o.rate = rate;
    o.quality = quality;
    o.speed = speed;
    o.hevc = hevc;
    return o;
}

TEST(VideoFormat, EncodeOptionsResolveToWhatTheFormatAllows) {
    const VideoFormat& mp4 = videoFormat("mp4-1080p");
    const VideoFormat& dvd = videoFormat("dvd-ntsc");
    EXPECT_EQ(frameRateOf(mp4, {}), (Rational{30, 1}));
    EXPECT_EQ(frameRateOf(mp4, options({50, 1})), (Rational{50, 1}));
    EXPECT_EQ(frameRateOf(mp4, options({24, 1})), (Rational{30, 1})) << "not offered: the default";
    EXPECT_EQ(frameRateOf(dvd, options({25, 1})), (Rational{30000, 1001}))
        << "a disc keeps its television's rate";
    EXPECT_EQ(videoCodecOf(mp4, options({}, -1, "", true)), VideoCodec::H265);
    EXPECT_EQ(videoCodecOf(dvd, options({}, -1, "", true)), VideoCodec::Mpeg2);
    EXPECT_EQ(qualityOf(mp4, {}), kDefaultH264Quality);
    EXPECT_EQ(qualityOf(mp4, options({}, -1, "", true)), kDefaultH265Quality);
    EXPECT_EQ(qualityOf(mp4, options({}, 0)), 0);
    EXPECT_EQ(qualityOf(mp4, options({}, 52)), kDefaultH264Quality);
    EXPECT_EQ(speedOf(options({}, -1, "slow")), "slow");
    EXPECT_EQ(speedOf(options({}, -1, "warp")), kDefaultSpeed);
    EXPECT_TRUE(isEncoderSpeed("ultrafast"));
    EXPECT_TRUE(isEncoderSpeed("veryslow"));
    EXPECT_FALSE(isEncoderSpeed("placebo"));
}

} // namespace
} // namespace vistello::production
