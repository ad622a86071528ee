// LoadPictureFile: each loader's main path and its failures, the hand-over of refused files
// to the TIFF reader, and the rules for missing files.

#include "gui_environment.h"
#include "picture_fixtures.h"
#include "qt_printing.h"
#include "tiff_builder.h"

#include "media/exif_orientation.h"
#include "media/jpeg_codec.h"
#include "media/metafile.h"
#include "media/picture_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

using namespace vistello::media;
using namespace vistello::media::testing;

namespace {

// Colour distance small enough for JPEG's loss at quality 95.
bool near(QRgb a, QRgb b, int tolerance = 12) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// 64 × 32: red left half, blue right half, a green 8 × 8 block at the top-left corner.
QImage marker() {
    QImage image(64, 32, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    painter.fillRect(32, 0, 32, 32, Qt::blue);
    painter.fillRect(0, 0, 8, 8, Qt::green);
    return image;
}

class PictureFileTest : public ::testing::Test {
  protected:
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QImage load(const QString& path) { return LoadPictureFile(path, messages); }

    QTemporaryDir dir;
    MessageList messages;
};

} // namespace

TEST_F(PictureFileTest, JpegColourSpaces) {
    for (auto kind : {JpegKind::Colour, JpegKind::Grey, JpegKind::CmykAdobe}) {
        for (const char* name : {"a.jpg", "b.JPEG"}) {
            const QImage picture = load(write(name, writeJpeg(marker(), kind)));
            ASSERT_FALSE(picture.isNull()) << name;
            EXPECT_EQ(picture.format(), QImage::Format_BGR888);
            EXPECT_EQ(picture.size(), QSize(64, 32));
            if (kind == JpegKind::Grey) {
                EXPECT_TRUE(near(picture.pixel(20, 20), qRgb(76, 76, 76)))
                    << std::hex << picture.pixel(20, 20);
            } else {
                EXPECT_TRUE(near(picture.pixel(20, 20), qRgb(255, 0, 0)))
                    << std::hex << picture.pixel(20, 20);
                EXPECT_TRUE(near(picture.pixel(50, 20), qRgb(0, 0, 255)));
                EXPECT_TRUE(near(picture.pixel(3, 3), qRgb(0, 255, 0)));
            }
        }
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(PictureFileTest, JpegExifOrientationIsApplied) {
    // Where the green corner block of the 64 × 32 picture ends up, and the upright size.
    struct Case {
        int orientation;
        QSize size;
        QPoint green;
    } cases[] = {
        {1, {64, 32}, {3, 3}}, {2, {64, 32}, {60, 3}}, {3, {64, 32}, {60, 28}}, {4, {64, 32}, {3, 28}},
        {5, {32, 64}, {3, 3}}, {6, {32, 64}, {28, 3}}, {7, {32, 64}, {28, 60}}, {8, {32, 64}, {3, 60}},
    };
    for (const auto& c : cases) {
        const QImage picture =
            load(write("turned.jpg", writeJpeg(marker(), JpegKind::Colour, c.orientation)));
        ASSERT_EQ(picture.size(), c.size) << c.orientation;
        EXPECT_EQ(picture.format(), QImage::Format_BGR888);
        EXPECT_TRUE(near(picture.pixel(c.green), qRgb(0, 255, 0))) << c.orientation;
    }
}

TEST(ExifOrientation, MalformedBlocksMeanUpright) {
    const QByteArray good = exifPayload(6, false);
    auto of = [](const QByteArray& bytes) {
        return exifOrientation(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                               static_cast<std::size_t>(bytes.size()));
    };
    EXPECT_EQ(of(good), 6);
    EXPECT_EQ(of(exifPayload(9)), 1);
    EXPECT_EQ(of(good.left(20)), 1);
    EXPECT_EQ(of(QByteArray("Exif\0\0XX", 8)), 1);
    EXPECT_EQ(exifOrientation(nullptr, 0), 1);
    QByteArray farDirectory = good;
    farDirectory[13] = '\x7F';
    EXPECT_EQ(of(farDirectory), 1);
}

TEST_F(PictureFileTest, BrokenJpegGoesToTheTiffReader) {
    const QByteArray jpeg = writeJpeg(marker());
    const QString path = write("broken.jpg", jpeg.left(2) + QByteArray(40, 'x'));
    EXPECT_TRUE(load(path).isNull());
    EXPECT_EQ(messages.messages, QStringList{"<" + path + "> is not a valid TIFF file"});
}

TEST_F(PictureFileTest, TruncatedJpegStillDecodes) {
    // Large enough that the cut falls in the picture data, not in the tables before it.
    QImage noisy(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            noisy.setPixel(x, y, qRgb(x, y, (x * y) % 256));
    const QByteArray jpeg = writeJpeg(noisy);
    const QImage picture = load(write("cut.jpg", jpeg.left(jpeg.size() * 2 / 3)));
    EXPECT_EQ(picture.size(), QSize(256, 256));
    EXPECT_TRUE(near(picture.pixel(10, 10), noisy.pixel(10, 10)));
}

TEST_F(PictureFileTest, JpegAboveThePixelLimitIsRefused) {
    EXPECT_TRUE(decodeJpeg(writeJpeg(marker()), 64 * 32 - 1).isNull());
    EXPECT_FALSE(decodeJpeg(writeJpeg(marker()), 64 * 32).isNull());
}

TEST_F(PictureFileTest, JpegNamedTifIsReportedAsNotTiff) {
    const QString path = write("photo.tif", writeJpeg(marker()));
    EXPECT_TRUE(load(path).isNull());
    EXPECT_EQ(messages.messages, QStringList{"<" + path + "> is not a valid TIFF file"});
}

TEST_F(PictureFileTest, BitmapsThroughQt) {
    QImage withAlpha(16, 8, QImage::Format_ARGB32);
    withAlpha.fill(Qt::transparent);
    withAlpha.setPixel(1, 1, qRgba(0, 0, 255, 255));
    struct Case {
        const char* name;
        const char* format;
        QImage source;
        QRgb atOrigin;
    } cases[] = {
        {"plain.bmp", "BMP", marker().convertToFormat(QImage::Format_RGB888), qRgb(0, 255, 0)},
        {"indexed.bmp", "BMP", marker().convertToFormat(QImage::Format_Indexed8), qRgb(0, 255, 0)},
        {"icon.ico", "ICO", withAlpha, qRgb(255, 255, 255)},
    };
    for (const auto& c : cases) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(c.source.save(&buffer, c.format)) << c.name;
        const QImage picture = load(write(c.name, bytes));
        ASSERT_EQ(picture.size(), c.source.size()) << c.name;
        EXPECT_EQ(picture.format(), QImage::Format_BGR888);
        EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF, c.atOrigin & 0xFFFFFF) << c.name;
    }
    // The icon: white where it is transparent, its colour where it is not.
    const QImage icon = load(dir.filePath("icon.ico"));
    EXPECT_EQ(icon.pixel(1, 1) & 0xFFFFFF, qRgb(0, 0, 255) & 0xFFFFFF);
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(PictureFileTest, BrokenBitmapGoesToTheTiffReader) {
    const QString path = write("broken.bmp", QByteArray("BM\x10\0\0\0garbage", 14));
    EXPECT_TRUE(load(path).isNull());
    EXPECT_EQ(messages.messages, QStringList{"<" + path + "> is not a valid TIFF file"});
}

TEST_F(PictureFileTest, MetafilesAtNaturalSizeOnWhite) {
    struct Case {
        const char* name;
        QByteArray bytes;
    } cases[] = {{"drawing.emf", writeEmf(qRgb(255, 0, 0))}, {"drawing.wmf", writeWmf(qRgb(255, 0, 0))}};
    for (const auto& c : cases) {
        const QImage picture = load(write(c.name, c.bytes));
        ASSERT_FALSE(picture.isNull()) << c.name << " " << messages.messages.join('|').toStdString();
        EXPECT_EQ(picture.format(), QImage::Format_BGR888);
        EXPECT_NEAR(picture.width(), 100, 2) << c.name;
        EXPECT_NEAR(picture.height(), 50, 2) << c.name;
        EXPECT_EQ(picture.pixel(50, 25) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF) << c.name;
        EXPECT_EQ(picture.pixel(2, 2) & 0xFFFFFF, qRgb(255, 255, 255) & 0xFFFFFF) << c.name;
    }
}

TEST_F(PictureFileTest, MalformedMetafilesAreRefusedWhole) {
    const QByteArray emf = writeEmf(qRgb(0, 0, 0));
    const QByteArray wmf = writeWmf(qRgb(0, 0, 0));
    EXPECT_TRUE(emfStructureValid(emf));
    EXPECT_TRUE(wmfStructureValid(wmf));
    EXPECT_TRUE(wmfStructureValid(wmf.mid(22))) << "without the placeable header";
    auto patched = [](QByteArray bytes, int at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
        return bytes;
    };
    const QByteArray emfCases[] = {
        emf.left(emf.size() - 20),             // no end record
        patched(emf, 4, 40),                   // header shorter than a header
        patched(emf, 88 + 4, 0xFFFFFFF0u),     // record longer than the file
        patched(emf, 88 + 4, 6),               // record shorter than its own header
        patched(emf, 40, 0),                   // no signature
        patched(patched(emf, 60, 10), 64, 80), // description past the header record
        patched(emf, 88 + 4, 12),              // brush record too short for its fixed fields
    };
    for (const QByteArray& bad : emfCases)
        EXPECT_FALSE(emfStructureValid(bad)) << &bad - emfCases;
    const QByteArray wmfCases[] = {
        wmf.left(wmf.size() - 6),          // no end record
        patched(wmf, 40, 0x7FFFFFFF),      // record longer than the file
        patched(wmf, 40, 1),               // record shorter than its own header
        wmf.left(30),                      // header cut
        patched(wmf, 22 + 12, 0x6D6D6F63), // largest record far beyond the file
    };
    for (const QByteArray& bad : wmfCases)
        EXPECT_FALSE(wmfStructureValid(bad)) << &bad - wmfCases;
    // An offset to an empty description is dropped, not followed to the next zero character.
    const QImage withoutDescription = load(write("offset.emf", patched(emf, 64, 0x80)));
    EXPECT_EQ(withoutDescription.pixel(50, 25) & 0xFFFFFF, qRgb(0, 0, 0) & 0xFFFFFF);
    const QString path = write("cut.emf", emf.left(100));
    EXPECT_TRUE(load(path).isNull());
    EXPECT_EQ(messages.messages, QStringList{"<" + path + "> is not a valid TIFF file"});
}

// One drawing as other programs write it (tests/data/metafiles/make_metafiles.sh): on a white
// page of 240 × 160 units, a red rectangle, a blue circle and a green triangle. Each file shows
// the page at its natural size, each shape at its place in its colour.
TEST_F(PictureFileTest, MetafilesFromOtherProgramsShowTheirShapes) {
    struct Sample {
        QPointF at; // in the drawing's units
        QRgb colour;
        const char* what;
    };
    const QRgb white = qRgb(255, 255, 255);
    const Sample samples[] = {
        {{60, 50}, qRgb(255, 0, 0), "rectangle"},           {{180, 50}, qRgb(0, 0, 255), "circle"},
        {{100, 133}, qRgb(0, 255, 0), "triangle"},          {{210, 130}, white, "below the circle"},
        {{122, 50}, white, "between rectangle and circle"}, {{30, 120}, white, "left of the triangle"},
    };
    struct File {
        const char* name;
        int width; // the header's frame at 96 pixels an inch
    } files[] = {
        {"inkscape.emf", 242},
        {"inkscape.wmf", 240},
        {"fig2dev.emf", 300},             // its frame has a margin around the page
        {"pstoedit.emf", 380},            // its reference device has 81 pixels an inch, its page 240 points
        {"pstoedit_above_page.emf", 380}, // the frame's y origin is negative
        {"libreoffice.emf", 224},         // the page less the border's width
        {"libreoffice.wmf", 224},
    };
    for (const File& file : files) {
        const QImage picture = load(QStringLiteral(VISTELLO_TEST_DATA "/metafiles/") + file.name);
        ASSERT_FALSE(picture.isNull()) << file.name;
        EXPECT_NEAR(picture.width(), file.width, 3) << file.name;
        EXPECT_NEAR(double(picture.width()) / picture.height(), 1.5, 0.08) << file.name;
        for (const Sample& sample : samples) {
            const QPoint at(qRound(sample.at.x() / 240 * picture.width()),
                            qRound(sample.at.y() / 160 * picture.height()));
            EXPECT_TRUE(near(picture.pixel(at), sample.colour, 40))
                << file.name << ": " << sample.what << " at " << at.x() << "," << at.y() << " is #"
                << std::hex << (picture.pixel(at) & 0xFFFFFF);
        }
    }
    EXPECT_TRUE(messages.messages.isEmpty()) << messages.messages.join('|').toStdString();
}

// A bitmap that a mirroring map mode shrinks below a pixel: Qt's raster engine read outside
// the picture when handed the mirroring transform (a fuzzing find, kept in the fuzz corpus).
TEST_F(PictureFileTest, MirroredBitmapBelowAPixelIsDrawnSafely) {
    const QImage picture = load(
        QStringLiteral(VISTELLO_TEST_DATA "/../../fuzz/media/corpus/wmf/mirrored_bitmap_below_a_pixel.wmf"));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.format(), QImage::Format_BGR888);
}

// An icon with the same picture at 16, 32, 48 and 256 pixels, the smallest first
// (tests/data/icons/make_icons.sh): the largest is taken, or the largest within the limit.
TEST_F(PictureFileTest, IconTakesItsLargestImage) {
    QFile file(QStringLiteral(VISTELLO_TEST_DATA "/icons/sizes_16_32_48_256.ico"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const struct {
        qint64 maxPixels;
        int side;
    } cases[] = {{kDefaultMaxPixels, 256}, {256 * 256, 256}, {256 * 256 - 1, 48}, {40 * 40, 32}};
    for (const auto& c : cases) {
        const QImage icon = decodePicture(bytes, "icon.ico", messages, c.maxPixels);
        ASSERT_EQ(icon.size(), QSize(c.side, c.side)) << c.maxPixels;
        const int s = c.side;
        EXPECT_TRUE(near(icon.pixel(s / 16, s * 3 / 4), qRgb(255, 0, 0))) << s;
        EXPECT_TRUE(near(icon.pixel(s * 15 / 16, s * 3 / 4), qRgb(0, 0, 255))) << s;
        EXPECT_TRUE(near(icon.pixel(s / 2, s / 4), qRgb(0, 255, 0))) << s;
    }
    EXPECT_TRUE(messages.messages.isEmpty());
}

TEST_F(PictureFileTest, TiffByAnyOtherExtension) {
    const QByteArray tiff = TiffBuilder().build({simpleImage(2, 1, {8}, 1, QByteArray("\x10\x20", 2))});
    for (const char* name : {"a.tif", "b.TIFF", "c.png", "noextension"}) {
        const QImage picture = load(write(name, tiff));
        ASSERT_EQ(picture.size(), QSize(2, 1)) << name;
        EXPECT_EQ(picture.pixel(1, 0) & 0xFFFFFF, qRgb(0x20, 0x20, 0x20) & 0xFFFFFF);
    }
}

TEST_F(PictureFileTest, MissingFileLeavesTheTargetAlone) {
    QImage target(3, 3, QImage::Format_BGR888);
    target.fill(Qt::yellow);
    const QImage before = target;
    LoadPictureFile(dir.filePath("nothing.jpg"), target, messages);
    EXPECT_EQ(target, before);
    LoadPictureFile(QString(), target, messages);
    EXPECT_EQ(target, before);
    EXPECT_TRUE(messages.messages.isEmpty());
    // An existing but undecodable file empties it.
    LoadPictureFile(write("empty.bmp", {}), target, messages);
    EXPECT_TRUE(target.isNull());
}

TEST(JpegCodec, EncodesBaselineThatDecodesBack) {
    const QByteArray jpeg = encodeJpeg(marker(), 90);
    ASSERT_FALSE(jpeg.isEmpty());
    EXPECT_TRUE(jpeg.contains(QByteArray("\xFF\xC0", 2))) << "baseline frame";
    EXPECT_FALSE(jpeg.contains(QByteArray("\xFF\xC2", 2))) << "no progressive frame";
    const QImage back = decodeJpeg(jpeg, kDefaultMaxPixels);
    ASSERT_EQ(back.size(), QSize(64, 32));
    EXPECT_TRUE(near(back.pixel(20, 20), qRgb(255, 0, 0)));
    EXPECT_TRUE(encodeJpeg(QImage(), 90).isEmpty());
}

TEST(JpegCodec, TranscodeGivesTheSameBytesAsDecodeThenEncode) {
    QImage large(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 300; ++x)
            large.setPixel(x, y, qRgb(x % 256, y, (x ^ y) & 255));
    for (auto kind : {JpegKind::Colour, JpegKind::Grey, JpegKind::CmykAdobe}) {
        const QByteArray source = writeJpeg(large, kind);
        for (const QByteArray& bytes : {source, source.left(source.size() / 2)}) {
            const auto transcoded = transcodeJpeg(bytes, 90, kDefaultMaxPixels);
            ASSERT_TRUE(transcoded.has_value());
            EXPECT_EQ(*transcoded, encodeJpeg(decodeJpeg(bytes, kDefaultMaxPixels), 90));
        }
    }
    EXPECT_FALSE(transcodeJpeg(writeJpeg(large, JpegKind::Colour, 6), 90, kDefaultMaxPixels).has_value())
        << "turned pictures take the ordinary way";
    EXPECT_FALSE(transcodeJpeg(QByteArray("\xFF\xD8\xFF\xC0 broken", 12), 90, kDefaultMaxPixels).has_value());
    EXPECT_FALSE(transcodeJpeg({}, 90, kDefaultMaxPixels).has_value());
    EXPECT_FALSE(transcodeJpeg(writeJpeg(large), 90, 100).has_value());
}
