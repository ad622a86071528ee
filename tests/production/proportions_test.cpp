// Pictures keep their proportions on the display each format is made for: a circle composed
// into a frame and written in every format comes out round when a decoded frame is scaled to
// its display aspect, as a player shows it.

#include "production/compose.h"
#include "production/mcl_converter.h"
#include "production_fixture.h"

#include <QPainter>

namespace vistello::production {
namespace {

using vistello::testing::runCommand;
using vistello::testing::shellQuoted;

// A white disc on black filling most of a square picture.
QImage circlePicture() {
    QImage picture(480, 480, QImage::Format_BGR888);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(20, 20, 440, 440));
    return picture;
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

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
