// Room for the video before a run: the expected size from each format's rates and the
// video's length, and the free space of the output's file system.

#include "production/frame_generator.h"
#include "production/output_space.h"
#include "production_fixture.h"

#include <fstream>

namespace vistello::production {
namespace {

using vistello::testing::makeAlbum;

TEST(OutputSpaceTest, ExpectedSizeFollowsTheFormatsRates) {
    const struct {
        const char* format;
        std::int64_t frames;
        std::uintmax_t bytes;
    } cases[] = {
        {"vcd", 25, 176400},                     // VCD: the constant 1411.2 kbit/s of the multiplex
        {"vcd", 250, 1764000},                   // ten seconds
        {"svcd", 25, 2264000 / 8 * 2324 / 2260}, // SVCD: 2040 + 224 kbit/s and the pack headers
        {"dvd", 25, 6224000 / 8 * 2048 / 1984},  // DVD: 6000 + 224 kbit/s
        {"dvd", 0, 0},
        {"dvd", -5, 0},
        {"dvd-ntsc", 30, 6224000 / 8 * 2048 / 1984 * 1001 / 1000}, // one second at 29.97
        // MP4 1080p at 30: 0.1 bit per pixel and 192 kbit/s of sound, for one second.
        {"mp4-1080p", 30, (1920 * 1080 * 3 + 192000) / 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        SCOPED_TRACE(c.frames);
        EXPECT_NEAR(static_cast<double>(expectedVideoBytes(videoFormat(c.format), {}, c.frames)),
                    static_cast<double>(c.bytes), 2.0);
    }
    // A smaller rate factor is a better picture and a bigger file: twice the video at 6 less.
    EncodeOptions better;
    better.quality = 14;
    EXPECT_NEAR(static_cast<double>(expectedVideoBytes(videoFormat("mp4-1080p"), better, 30)),
                (1920.0 * 1080 * 3 * 2 + 192000) / 8, 2.0);
}

class OutputSpaceAlbumTest : public ::testing::Test {
  protected:
    std::filesystem::path root() const { return dir_.path().toStdString(); }
    QTemporaryDir dir_;
    store::AlbumStore album_{dir_.path().toStdString()};
};

TEST_F(OutputSpaceAlbumTest, LengthIsTheRunsFrameCount) {
    makeAlbum(album_, {{16, 16, Qt::red, 3}, {16, 16, Qt::blue, 5}}, {20.0});
    for (const bool synchronise : {false, true}) {
        ProductionSettings settings;
        settings.synchronise = synchronise;
        RunState state;
        prepareRunState(state, album_, settings);
        EXPECT_EQ(totalVideoFrames(album_, synchronise), state.TotalFrames);
        settings.format = &videoFormat("mp4-720p");
        settings.encode.rate = {50, 1};
        prepareRunState(state, album_, settings);
        EXPECT_EQ(totalVideoFrames(album_, synchronise, {50, 1}), state.TotalFrames);
    }
    EXPECT_EQ(totalVideoFrames(album_, false), 2 * 51 + (3 + 5) * 25);
    EXPECT_EQ(totalVideoFrames(album_, true), 2 * 51 + 2 * ((20 - 4) * 25 / 2));
}

TEST_F(OutputSpaceAlbumTest, ComparesWithTheFreeSpaceOfTheOutputsFileSystem) {
    makeAlbum(album_, {{16, 16, Qt::red, 3}}, {1.0});
    ProductionSettings settings;
    settings.format = &videoFormat("dvd");
    settings.outputPath = root() / "DVD-0.mpg";
    const std::optional<OutputSpace> space = outputSpace(album_, settings);
    ASSERT_TRUE(space);
    EXPECT_EQ(space->expectedBytes, expectedVideoBytes(videoFormat("dvd"), {}, 51 + 75));
    const std::uintmax_t free = std::filesystem::space(root()).available;
    EXPECT_NEAR(static_cast<double>(space->availableBytes), static_cast<double>(free), 64.0 * 1024 * 1024);
    EXPECT_TRUE(space->fits());

    // The file the run replaces stays until the new one is finished: it gives no room back.
    std::ofstream(settings.outputPath, std::ios::binary) << std::string(1 << 20, 'x');
    const std::optional<OutputSpace> replacing = outputSpace(album_, settings);
    ASSERT_TRUE(replacing);
    EXPECT_NEAR(static_cast<double>(replacing->availableBytes),
                static_cast<double>(std::filesystem::space(root()).available), 64.0 * 1024 * 1024);

    // A day on screen for each of many pictures fills no disk of today.
    album_.PicList.resize(200, album_.PicList.front());
    for (auto& picture : album_.PicList)
        picture.StayTime = 2147483647;
    const std::optional<OutputSpace> huge = outputSpace(album_, settings);
    ASSERT_TRUE(huge);
    EXPECT_FALSE(huge->fits());
    EXPECT_GT(huge->expectedBytes, 10ull << 40);
}

TEST_F(OutputSpaceAlbumTest, AMissingFolderIsLeftToTheRun) {
    makeAlbum(album_, {{16, 16, Qt::red, 3}}, {1.0});
    ProductionSettings settings;
    settings.outputPath = root() / "gone" / "VCD-0.mpg";
    EXPECT_FALSE(outputSpace(album_, settings));
}

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
