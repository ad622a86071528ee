// Frames of pictures without motion, pinned byte for byte: a small album rendered through the
// video source in three formats (and with softening and a background picture) must give the
// very frames it gave before pictures could move. The checksums were taken from the generator
// as it stood before motion was added; any change to them is a change of every still video.

#include "production/frame_generator.h"
#include "production/mcl_converter.h"
#include "production_fixture.h"

#include <QPainter>

namespace vistello::production {
namespace {

// The frames' pixel rows, each frame hashed whole and the hashes chained in order.
struct Checksum {
    std::uint64_t value = 1469598103934665603ull;
    void add(const QImage& frame) {
        const std::size_t row = static_cast<std::size_t>(frame.width()) * 3;
        std::string bytes;
        bytes.reserve(row * static_cast<std::size_t>(frame.height()));
        for (int y = 0; y < frame.height(); ++y)
            bytes.append(reinterpret_cast<const char*>(frame.constScanLine(y)), row);
        value = (value ^ std::hash<std::string>{}(bytes)) * 1099511628211ull;
    }
};

// A picture with detail in it (gradients, stripes and a disc), so that a shifted or
// re-sampled pixel changes the checksum.
QImage patternPicture(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y,
                                QColor((x * 255 / width + seed * 40) % 256, (y * 255 / height) % 256,
                                       ((x / 7 + y / 5 + seed) % 2) * 200 + 20));
    QPainter painter(&image);
    painter.setBrush(QColor(250, 240, 30 * seed));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPoint(width / 3, height / 2), width / 6, height / 5);
    return image;
}

class StillFramesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        album_ = std::make_unique<store::AlbumStore>(dir_.path().toStdString());
        album_->LoadInfo("A");
        store::createAlbum(*album_, "Still");
        album_->openAlbum(album_->AlbumCount() - 1);
        // Wide, tall and exact-fit pictures; a fixed, a random-edge and a random effect.
        const struct {
            int width, height, stay, effect;
        } pictures[] = {{240, 120, 1, 2}, {90, 160, 0, 47}, {160, 120, 1, 0}};
        for (int i = 0; i < 3; ++i) {
            const std::string name = "P" + std::to_string(i) + ".png";
            ASSERT_TRUE(patternPicture(pictures[i].width, pictures[i].height, i)
                            .save(QString::fromStdString((album_->AlbumPath() / name).string()), "PNG"));
            store::TPicInfo record;
            record.StayTime = pictures[i].stay;
            record.Effect = pictures[i].effect;
            record.FileName.setText(name);
            album_->PicList.push_back(record);
        }
        album_->SaveInfo("P");
        const auto backgrounds = dir_.path().toStdString() + "/BackPic";
        std::filesystem::create_directories(backgrounds);
        ASSERT_TRUE(
            patternPicture(64, 48, 5).save(QString::fromStdString(backgrounds + "/B.jpg"), "JPEG", 90));
    }

    // Every frame the converter would receive, until the end, into one checksum.
    std::uint64_t render(const ProductionSettings& settings) {
        RunState state;
        prepareRunState(state, *album_, settings);
        FrameGenerator generator(state, *album_, settings);
        effects::ClockRandom random(11);
        generator.setRandomSource(&random);
        Checksum sum;
        ++state.FrameCounter;
        for (int guard = 0; guard < 5000; ++guard) {
            Source source;
            generator.VideoSourceProc(source);
            sum.add(source.takeFrame());
            if (source.finished())
                break;
            ++state.FrameCounter;
        }
        return sum.value;
    }

    QTemporaryDir dir_;
    std::unique_ptr<store::AlbumStore> album_;
};

TEST_F(StillFramesTest, FramesWithoutMotionAreThoseOfTheStillGenerator) {
    const struct {
        const char* format;
        Rational rate;
        bool soften;
        bool background;
        std::uint64_t checksum;
    } cases[] = {
        {"vcd", {25, 1}, false, false, 7314718548993996950ull},
        {"dvd", {25, 1}, true, false, 8599296067480306107ull},
        {"mp4-720p", {30, 1}, false, true, 17444733078221466926ull},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.format);
        ProductionSettings settings;
        settings.format = &videoFormat(c.format);
        settings.encode.rate = c.rate;
        settings.soften = c.soften;
        settings.colour = 0x00406080;
        if (c.background) {
            settings.background = BackgroundMode::Pictures;
            settings.backgroundNames = {"B.jpg"};
        }
        EXPECT_EQ(render(settings), c.checksum);
    }
}

} // namespace
} // namespace vistello::production
