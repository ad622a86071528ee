// Pictures keep their proportions on the display each format is made for: a circle composed
// into a frame and written in every format comes out round when a decoded frame is scaled to
// its display aspect, as a player shows it; and so does a moving circle rendered by a run,
// whose frames are drawn at the stored size of formats with pixels that are not square.

#include "production/compose.h"
#include "production/mcl_converter.h"
#include "production/production_run.h"
#include "production_fixture.h"
#include "store/album_store.h"
#include "store/picture_motion.h"

#include <QPainter>

#include <set>
#include <string_view>

namespace vistello::production {
namespace {

using vistello::testing::runCommand;
using vistello::testing::shellQuoted;

// A white disc in `disc` on a black picture of `size`.
QImage discPicture(QSize size, QRectF disc) {
    QImage picture(size, QImage::Format_BGR888);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(disc);
    return picture;
}

// A white disc on black filling most of a square picture.
QImage circlePicture() {
    return discPicture({480, 480}, {20, 20, 440, 440});
}

// The bright pixels' bounding box of a grey picture.
QRect brightBox(const QImage& grey);

// Width over height of the bright disc in frame `index` of `video`, stretched to its display
// aspect as a player does.
double shownAspect(const std::filesystem::path& video, int index, const std::filesystem::path& shown) {
    const int status = runCommand(
        "ffmpeg -v error -y -i " + shellQuoted(video) + " -vf 'select=eq(n\\," + std::to_string(index) +
        "),scale=w=trunc(iw*sar/2)*2:h=ih,format=gray' -frames:v 1 " + shellQuoted(shown));
    if (status != 0)
        return 0;
    QImage grey(QString::fromStdString(shown.string()));
    if (grey.isNull())
        return 0;
    const QRect box = brightBox(grey.convertToFormat(QImage::Format_Grayscale8));
    if (box.height() < grey.height() / 3)
        return 0;
    return static_cast<double>(box.width()) / box.height();
}

// The bright pixels' bounding box of a grey picture.
QRect brightBox(const QImage& grey) {
    QRect box;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            if (row[x] > 128)
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

TEST(Proportions, CircleStaysRoundInEveryFormat) {
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    const QImage circle = circlePicture();
    for (const VideoFormat& format : videoFormats()) {
        SCOPED_TRACE(format.name);
        effects::Bitmap frame(format.composeWidth, format.composeHeight);
        ComposePicture(circle, QImage(), 0, frame);

        const auto out = folder / (std::string("circle-") + format.name + "." + format.extension);
        Converter converter;
        int sent = 0;
        converter.AssignVideoSource([&](Source& source) {
            source.SetDIB(Dib{frame.data(), frame.width(), frame.height(), frame.stride()});
            if (++sent == 3)
                source.Finished();
        });
        converter.VideoSetFileName(out);
        if (format.needsMpeg2)
            converter.EnableMPEG2();
        EncodeOptions options;
        options.speed = "veryfast";
        converter.SetFormat(format, options);
        converter.Convert();
        ASSERT_TRUE(std::filesystem::exists(out)) << converter.lastError();

        // The first frame, stretched to its display aspect as a player does, in grey.
        const auto shown = folder / (std::string("shown-") + format.name + ".pgm");
        ASSERT_EQ(runCommand("ffmpeg -v error -y -i " + shellQuoted(out) +
                             " -frames:v 1 -vf 'scale=w=trunc(iw*sar/2)*2:h=ih,format=gray' " +
                             shellQuoted(shown)),
                  0);
        QImage grey(QString::fromStdString(shown.string()));
        ASSERT_FALSE(grey.isNull());
        grey = grey.convertToFormat(QImage::Format_Grayscale8);
        const QRect box = brightBox(grey);
        ASSERT_GT(box.height(), grey.height() / 2);
        EXPECT_NEAR(static_cast<double>(box.width()) / box.height(), 1.0, 0.01)
            << box.width() << " x " << box.height() << " on " << grey.width() << " x " << grey.height();
    }
}

// Records the width of every frame the run shows.
struct PreviewWidths final : RunObserver {
    std::set<int> widths;
    void preview(const effects::Bitmap& frame) override { widths.insert(frame.width()); }
};

TEST(Proportions, MovingCircleRenderedByARunStaysRoundInEveryFormat) {
    QTemporaryDir dir;
    store::AlbumStore album(dir.path().toStdString());
    vistello::testing::makeAlbum(album, {{864, 486, Qt::black, 0, 1}}, {1.0});
    // A 16:9 picture with the disc in the middle, as a moving picture that stays where it is:
    // a custom motion from the whole picture to itself. Frames of narrower shapes show the
    // middle of it, with the whole disc.
    const QImage picture = discPicture({864, 486}, {242, 53, 380, 380});
    ASSERT_TRUE(picture.save(QString::fromStdString((album.AlbumPath() / "P0.jpg").string()), "JPEG", 95));
    store::MotionTable motions;
    const store::MotionRect whole{0, 0, 1, 1};
    ASSERT_TRUE(motions.set("P0.jpg", store::PictureMotion::custom(whole, whole, store::Easing::Linear)));
    motions.save(album.AlbumPath(), album.PicList);

    const std::filesystem::path folder = dir.path().toStdString();
    for (const VideoFormat& format : videoFormats()) {
        // The disc formats (pixels that are not square) and one square-pixel format.
        if (!format.isDisc() && std::string_view(format.name) != "mp4-720p")
            continue;
        SCOPED_TRACE(format.name);
        PreviewWidths window;
        ProductionRun run(album, window);
        ProductionSettings settings;
        settings.format = &format;
        settings.encode.speed = "veryfast";
        settings.outputPath = folder / (std::string("moving-") + format.name + "." + format.extension);
        const RunResult result = run.Start(settings);
        ASSERT_EQ(result.outcome, RunOutcome::Finished);
        // Moving frames go to the converter at the stored picture's size.
        const bool squeezed = format.codedHeight == format.composeHeight;
        EXPECT_TRUE(window.widths.count(squeezed ? format.pictureWidth : format.composeWidth))
            << "widths shown: " << window.widths.size();
        // The last transition step and the frame after it show the whole picture.
        const auto shown = folder / (std::string("moving-") + format.name + ".pgm");
        for (const int index : {50, 51}) {
            SCOPED_TRACE(index);
            EXPECT_NEAR(shownAspect(settings.outputPath, index, shown), 1.0, 0.015);
        }
    }
}

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
