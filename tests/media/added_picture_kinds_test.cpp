// The picture kinds read besides the original ones (PNG, GIF, WebP, HEIC, AVIF, JPEG XL,
// compressed and tiled TIFF): each fixture of tests/data/pictures, made by another program,
// decodes as that kind's reference decoder decodes it (scripts/make-picture-fixtures.sh makes
// both); orientations come out upright; broken files are refused cleanly; pictures longer
// than the largest kept side are reduced.

#include "gui_environment.h"
#include "picture_fixtures.h"
#include "qt_printing.h"
#include "tiff_builder.h"

#include "media/heif_canvas.h"
#include "media/jpeg_codec.h"
#include "media/picture_file.h"
#include "media/picture_scale.h"
#include "media/qt_picture_formats.h"
#include "media/webp_picture.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <tiffio.h>

using namespace vistello::media;
using namespace vistello::media::testing;

namespace {

QString fixturePath(const QString& name) {
    return QStringLiteral(VISTELLO_TEST_DATA "/pictures/") + name;
}

QByteArray fixtureBytes(const QString& name) {
    QFile file(fixturePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Difference {
    int largest = 0;
    double mean = 0;
};

Difference differenceOf(const QImage& ours, const QImage& reference) {
    const QImage a = ours.convertToFormat(QImage::Format_RGB888);
    const QImage b = reference.convertToFormat(QImage::Format_RGB888);
    Difference d;
    qint64 sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width() * 3; ++x) {
            const int delta = std::abs(a.constScanLine(y)[x] - b.constScanLine(y)[x]);
            d.largest = std::max(d.largest, delta);
            sum += delta;
        }
    d.mean = static_cast<double>(sum) / (3.0 * a.width() * a.height());
    return d;
}

struct Kind {
    const char* file;
    int largest; // largest difference of a sample from the reference decoder's
    double mean; // mean difference of the samples
};

// Lossless kinds match exactly (or within the rounding of alpha over white and of 16 to 8
// bits); lossy ones are compared with the reference decoder of their own kind, which for HEIC
// and JPEG XL is the same library's and for AVIF and JPEG-in-TIFF another's colour conversion.
const Kind kKinds[] = {
    {"png_rgb.png", 0, 0},
    {"png_alpha.png", 1, 0.5},
    {"png_palette.png", 0, 0},
    {"png_grey16.png", 1, 1},
    {"png_interlaced.png", 0, 0},
    {"png_orient6.png", 0, 0},
    {"gif_animated.gif", 0, 0},
    {"webp_lossy.webp", 0, 0},
    {"webp_alpha.webp", 1, 0.5},
    {"webp_animated.webp", 0, 0},
    {"webp_orient6.webp", 0, 0},
    {"heic_photo.heic", 2, 0.5},
    {"heic_alpha.heic", 2, 0.5},
    {"heic_orient6.heic", 2, 0.5},
    {"heic_orient2.heic", 2, 0.5},
    {"heic_grid.heic", 2, 0.5},
    {"heic_odd_size.heic", 2, 0.5},
    {"avif_photo.avif", 6, 1.5},
    {"avif_irot1.avif", 6, 1.5},
    {"tiff_lzw.tif", 0, 0},
    {"tiff_deflate.tif", 0, 0},
    {"tiff_packbits.tif", 0, 0},
    {"tiff_jpeg.tif", 8, 2},
    {"tiff_tiled.tif", 0, 0},
    {"tiff_tiled_lzw.tif", 0, 0},
    {"tiff_grey_lzw.tif", 0, 0},
    {"tiff_palette_lzw.tif", 1, 0.5},
    {"tiff_alpha_deflate.tif", 1, 0.5},
    {"tiff_orient6.tif", 0, 0},
    {"jxl_photo.jxl", 2, 0.5},
    {"jxl_alpha.jxl", 2, 0.5},
};

TEST(AddedPictureKinds, EachDecodesAsItsReferenceDecoderDoes) {
    for (const Kind& kind : kKinds) {
        const QString name = QString::fromLatin1(kind.file);
        MessageList messages;
        const QImage ours = LoadPictureFile(fixturePath(name), messages);
        const QImage reference(fixturePath(name + QStringLiteral(".ref.png")));
        ASSERT_FALSE(reference.isNull()) << kind.file;
        ASSERT_FALSE(ours.isNull()) << kind.file;
        EXPECT_EQ(ours.format(), QImage::Format_BGR888) << kind.file;
        EXPECT_TRUE(messages.messages.isEmpty()) << kind.file;
        ASSERT_EQ(ours.size(), reference.size()) << kind.file;
        const Difference d = differenceOf(ours, reference);
        EXPECT_LE(d.largest, kind.largest) << kind.file << " mean " << d.mean;
        EXPECT_LE(d.mean, kind.mean) << kind.file << " largest " << d.largest;
    }
}

// The orientation fixtures hold the plain fixture's picture turned or mirrored by their
// kind's own means (EXIF chunk, irot/imir, Orientation tag); upright, each is its
// plain twin turned by ImageMagick, which the reference already is. Here: not the plain one.
TEST(AddedPictureKinds, OrientedPicturesDifferFromTheirUnturnedTwins) {
    const std::pair<const char*, const char*> twins[] = {
        {"png_orient6.png", "png_rgb.png"},       {"webp_orient6.webp", "webp_lossy.webp"},
        {"heic_orient6.heic", "heic_photo.heic"}, {"heic_orient2.heic", "heic_photo.heic"},
        {"avif_irot1.avif", "avif_photo.avif"},   {"tiff_orient6.tif", "tiff_lzw.tif"},
    };
    for (const auto& [turned, plain] : twins) {
        MessageList messages;
        const QImage a = LoadPictureFile(fixturePath(QString::fromLatin1(turned)), messages);
        const QImage b = LoadPictureFile(fixturePath(QString::fromLatin1(plain)), messages);
        ASSERT_FALSE(a.isNull()) << turned;
        EXPECT_TRUE(a.size() != b.size() || differenceOf(a, b).mean > 20) << turned;
    }
}

TEST(AddedPictureKinds, ExifChunksOfPngAndWebp) {
    const QByteArray png = fixtureBytes(QStringLiteral("png_orient6.png"));
    EXPECT_EQ(pngExifOrientation(png), 6);
    EXPECT_EQ(pngExifOrientation(fixtureBytes(QStringLiteral("png_rgb.png"))), 1);
    EXPECT_EQ(pngExifOrientation(png.left(40)), 1) << "a chunk cut short";
    EXPECT_EQ(webpExifOrientation(fixtureBytes(QStringLiteral("webp_orient6.webp"))), 6);
    EXPECT_EQ(webpExifOrientation(fixtureBytes(QStringLiteral("webp_lossy.webp"))), 1);
    // WebP files written by some tools keep JPEG's "Exif\0\0" start in the chunk.
    QByteArray riff("RIFF\0\0\0\0WEBPEXIF", 16);
    const QByteArray payload = exifPayload(8);
    appendLe(riff, static_cast<std::uint32_t>(payload.size()), 4);
    riff += payload;
    EXPECT_EQ(webpExifOrientation(riff), 8);
    // An odd chunk that ends the file has no padding byte (a fuzzing find: the walk read past it).
    QByteArray odd("RIFF\0\0\0\0WEBPVP8X", 16);
    appendLe(odd, 1, 4);
    odd.append('x');
    EXPECT_EQ(webpExifOrientation(odd), 1);
}

// A text chunk after the image that claims 812 MB in a file of a few hundred bytes (a fuzzing
// find): libpng would allocate and clear all of it before finding the file short, taking
// seconds and most of a gigabyte, so the file is refused before it reaches libpng.
TEST(AddedPictureKinds, PngChunkLongerThanTheFileIsRefusedFirst) {
    const QByteArray png = fixtureBytes(QStringLiteral("png_rgb.png"));
    const qsizetype end = png.lastIndexOf("IEND") - 4;
    ASSERT_GT(end, 8);
    QByteArray claiming = png.left(end);
    for (int shift = 24; shift >= 0; shift -= 8) // the length, big-endian
        claiming.append(static_cast<char>((812404453u >> shift) & 0xFF));
    claiming += QByteArray("tEXtComment\0", 12) + QByteArray(20, 'x');
    EXPECT_TRUE(pngChunksWithinFile(png));
    EXPECT_TRUE(pngChunksWithinFile(png.left(end))) << "ends between chunks: for libpng to judge";
    EXPECT_FALSE(pngChunksWithinFile(claiming));
    MessageList messages;
    EXPECT_TRUE(decodePicture(claiming, QStringLiteral("claiming.png"), messages).isNull());
    EXPECT_FALSE(decodePicture(png, QStringLiteral("whole.png"), messages).isNull());
}

// Every fixture cut short, cut to its first bytes, and garbage under its extension: a null
// picture, never a crash; and bytes changed at random in every fixture decode without a fault.
TEST(AddedPictureKinds, BrokenFilesAreRefused) {
    QTemporaryDir dir;
    QRandomGenerator random(16);
    for (const Kind& kind : kKinds) {
        const QString name = QString::fromLatin1(kind.file);
        const QByteArray whole = fixtureBytes(name);
        const QString suffix = QFileInfo(name).suffix();
        QByteArray garbage(300, '\0');
        for (auto& c : garbage)
            c = static_cast<char>(random.bounded(256));
        for (const QByteArray& broken : {whole.left(whole.size() / 3), whole.left(24), garbage}) {
            MessageList messages;
            const QImage picture = decodePicture(broken, QStringLiteral("broken.") + suffix, messages);
            EXPECT_TRUE(picture.isNull()) << kind.file << " of " << broken.size() << " bytes";
        }
        for (int round = 0; round < 20; ++round) {
            QByteArray changed = whole;
            for (int i = 0; i < 4; ++i)
                changed[static_cast<qsizetype>(random.bounded(static_cast<quint32>(changed.size())))] =
                    static_cast<char>(random.bounded(256));
            MessageList messages;
            const QImage picture = decodePicture(changed, name, messages);
            EXPECT_TRUE(picture.isNull() || picture.format() == QImage::Format_BGR888) << kind.file;
        }
    }
}

// A grid picture is composed on a canvas whose size the grid's own data gives. A canvas larger
// than the size the file declares is refused before libheif allocates it, as any unreadable
// file is: the fuzzing find declares 48 x 64 and composes on 14441 x 27759 (its grid data runs
// past the end of its idat box into the next box), which took libheif a minute and 2.3 GB.
// Honest grids (the phone-style fixture, heif-enc's single-tile grid for odd sizes) decode
// in EachDecodesAsItsReferenceDecoderDoes; here the phone-style one with its canvas changed.
TEST(AddedPictureKinds, GridCanvasLargerThanTheDeclaredSizeIsRefused) {
    MessageList garbageMessages;
    ASSERT_TRUE(decodePicture(QByteArray(300, 'x'), QStringLiteral("found.heic"), garbageMessages).isNull());
    ASSERT_EQ(garbageMessages.messages.size(), 1);

    QFile file(QStringLiteral(VISTELLO_TEST_DATA
                              "/../../fuzz/media/corpus/heic/grid_canvas_far_larger_than_declared.heic"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    MessageList messages;
    EXPECT_TRUE(decodePicture(file.readAll(), QStringLiteral("found.heic"), messages).isNull());
    EXPECT_EQ(messages.messages, garbageMessages.messages);

    // The fixture's grid data: version, flags, rows - 1, columns - 1, then the canvas's
    // width and height (16 bits each, big-endian), the whole content of its idat box.
    const QByteArray grid = fixtureBytes(QStringLiteral("heic_grid.heic"));
    const qsizetype data = grid.indexOf("idat") + 4;
    ASSERT_EQ(grid.mid(data, 8), QByteArray::fromHex("00000101038402bc"));
    const struct {
        int width, height;
        bool refused;
    } cases[] = {
        {900, 700, false},   // as declared
        {899, 699, false},   // within the declared size: libheif crops the tiles to it
        {700, 900, false},   // the declared size turned, as libheif's encoder declares turned grids
        {901, 700, true},    // one column more than declared
        {900, 701, true},    // one row more, though shorter than the declared width
        {900, 901, true},    // taller than the declared picture is wide
        {1024, 1024, true},  // all that the tiles cover
        {65535, 65535, true} // the largest the grid data can give
    };
    for (const auto& c : cases) {
        QByteArray changed = grid;
        changed[data + 4] = static_cast<char>(c.width >> 8);
        changed[data + 5] = static_cast<char>(c.width);
        changed[data + 6] = static_cast<char>(c.height >> 8);
        changed[data + 7] = static_cast<char>(c.height);
        MessageList changedMessages;
        const QImage picture = decodePicture(changed, QStringLiteral("grid.heic"), changedMessages);
        EXPECT_EQ(picture.isNull(), c.refused) << c.width << " x " << c.height;
        if (!c.refused) {
            EXPECT_EQ(picture.size(), QSize(c.width, c.height));
        }
    }
}

void putBigEndian32(QByteArray& bytes, qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

// The fuzzing find (declared 48 x 64, turned a quarter) with its grid data made a 66 x 64
// canvas at the start of its idat box: in one extent the box reading sees the canvas and
// refuses it; split over two extents of four bytes it does not, and libheif's canvas limit,
// the longer declared side, refuses it. A 66 x 64 canvas would otherwise decode, as 64 x 66.
TEST(AddedPictureKinds, GridDataInTwoExtentsIsHeldToTheLongerDeclaredSide) {
    QFile found(QStringLiteral(VISTELLO_TEST_DATA
                               "/../../fuzz/media/corpus/heic/grid_canvas_far_larger_than_declared.heic"));
    ASSERT_TRUE(found.open(QIODevice::ReadOnly));
    QByteArray oneExtent = found.readAll();
    const qsizetype idat = oneExtent.indexOf("idat"), iloc = oneExtent.indexOf("iloc");
    ASSERT_GT(idat, 0);
    ASSERT_GT(iloc, 0);
    oneExtent.replace(idat + 4, 8, QByteArray::fromHex("0000000000420040"));
    // In iloc, the tile's base offset (into mdat), and the grid item's extent count, extent
    // offset and length (into idat).
    ASSERT_EQ(oneExtent.mid(iloc + 18, 4).toHex(), QByteArray("000001db"));
    ASSERT_EQ(oneExtent.mid(iloc + 42, 10).toHex(), QByteArray("00010000000700000008"));
    putBigEndian32(oneExtent, iloc + 44, 0);

    QByteArray twoExtents = oneExtent;
    twoExtents[iloc + 43] = 2;
    putBigEndian32(twoExtents, iloc + 48, 4);
    twoExtents.insert(iloc + 52, QByteArray::fromHex("0000000400000004"));
    const qsizetype meta = twoExtents.indexOf("meta");
    putBigEndian32(twoExtents, iloc - 4, 0x38 + 8);
    putBigEndian32(twoExtents, meta - 4, 0x1b7 + 8);
    putBigEndian32(twoExtents, iloc + 18, 0x1db + 8); // the tile's base offset: 8 bytes later

    EXPECT_EQ(heifComposedCanvas(oneExtent), QSize(66, 64));
    EXPECT_EQ(heifComposedCanvas(twoExtents), std::nullopt);
    for (const QByteArray& bytes : {oneExtent, twoExtents}) {
        MessageList messages;
        EXPECT_TRUE(decodePicture(bytes, QStringLiteral("found.heic"), messages).isNull());
        EXPECT_EQ(messages.messages.size(), 1);
    }
}

// The canvas as the file's boxes give it: the grid data of the phone-style fixture, of
// libheif's single-tile grids (for an odd size; for a turned picture, whose declared size is
// the turned 48 x 64 over a 64 x 48 canvas), and of the fuzzing find (its data read, as
// libheif reads it, past the end of its idat box); none for a picture coded directly or for
// broken boxes.
TEST(AddedPictureKinds, ComposedCanvasReadFromTheBoxes) {
    QFile found(QStringLiteral(VISTELLO_TEST_DATA
                               "/../../fuzz/media/corpus/heic/grid_canvas_far_larger_than_declared.heic"));
    ASSERT_TRUE(found.open(QIODevice::ReadOnly));
    const QByteArray foundBytes = found.readAll();
    const QByteArray grid = fixtureBytes(QStringLiteral("heic_grid.heic"));
    const struct {
        const char* what;
        QByteArray bytes;
        std::optional<QSize> canvas;
    } cases[] = {
        {"phone-style grid", grid, QSize(900, 700)},
        {"heif-enc's odd size", fixtureBytes(QStringLiteral("heic_odd_size.heic")), QSize(63, 47)},
        {"fuzzing find", foundBytes, QSize(14441, 27759)},
        {"libheif's grid of a turned picture", fixtureBytes(QStringLiteral("heic_orient6.heic")),
         QSize(64, 48)},
        {"coded picture (AVIF)", fixtureBytes(QStringLiteral("avif_photo.avif")), std::nullopt},
        {"grid cut inside its boxes", grid.left(grid.indexOf("idat") + 6), std::nullopt},
        {"nothing", QByteArray(), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(heifComposedCanvas(c.bytes), c.canvas) << c.what;
}

// The program's own reader keeps uncompressed TIFF and its messages: a compressed image that
// libtiff cannot read either (of a compression libtiff lacks) still gets the own reader's
// message for compressed images.
TEST(AddedPictureKinds, CompressedTiffThatLibtiffRefusesKeepsTheOwnMessage) {
    auto unknownCompression = [](Directory directory) {
        for (Tag& tag : directory.tags)
            if (tag.tag == 259)
                tag.values = {34999};
        return TiffBuilder().build({directory});
    };
    const QByteArray grey = unknownCompression(simpleImage(4, 1, {8}, 1, QByteArray(4, '\0')));
    const QByteArray rgb = unknownCompression(simpleImage(1, 1, {8, 8, 8}, 2, QByteArray(3, '\0')));
    for (const auto& [bytes, kind] : {std::pair{rgb, "RGB full colour"}, std::pair{grey, "grey scale"}}) {
        MessageList messages;
        EXPECT_TRUE(decodePicture(bytes, QStringLiteral("broken.tif"), messages).isNull()) << kind;
        ASSERT_EQ(messages.messages.size(), 1) << kind;
        EXPECT_TRUE(messages.messages[0].contains(QLatin1String(kind))) << kind;
    }
}

// A compressed TIFF named for another kind goes through its own kind's loader first, then on
// to the TIFF readers like every file that loader refuses.
TEST(AddedPictureKinds, CompressedTiffUnderAnotherName) {
    MessageList messages;
    const QImage picture =
        decodePicture(fixtureBytes(QStringLiteral("tiff_lzw.tif")), QStringLiteral("scan.jpg"), messages);
    EXPECT_EQ(picture.size(), QSize(64, 48));
    EXPECT_TRUE(messages.messages.isEmpty());
}

QImage stripes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        uchar* row = image.scanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = static_cast<uchar>(x * 255 / width);
            row[3 * x + 1] = static_cast<uchar>(y * 255 / height);
            row[3 * x + 2] = (x / 64) % 2 ? 200 : 40;
        }
    }
    return image;
}

QByteArray writeLzwTiff(const QImage& rgb) {
    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("big.tif")).toLocal8Bit();
    TIFF* tiff = TIFFOpen(path.constData(), "w");
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, rgb.width());
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, rgb.height());
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 4);
    for (int y = 0; y < rgb.height(); ++y)
        TIFFWriteScanline(tiff, const_cast<uchar*>(rgb.constScanLine(y)), static_cast<uint32_t>(y), 0);
    TIFFClose(tiff);
    QFile file(QString::fromLocal8Bit(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray writePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

// The picture as cwebp encodes it, or empty when the tool is not there.
QByteArray writeWebp(const QImage& image) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("in.png")),
                  webp = dir.filePath(QStringLiteral("out.webp"));
    image.save(png);
    QProcess encoder;
    encoder.start(QStringLiteral("cwebp"), {QStringLiteral("-quiet"), png, QStringLiteral("-o"), webp});
    if (!encoder.waitForFinished(60000) || encoder.exitCode() != 0)
        return {};
    QFile file(webp);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The picture as heif-enc encodes it (HEVC), or empty when the tool is not there.
QByteArray writeHeic(const QImage& image) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("in.png")),
                  heic = dir.filePath(QStringLiteral("out.heic"));
    image.save(png);
    QProcess encoder;
    encoder.start(QStringLiteral("heif-enc"),
                  {QStringLiteral("-q"), QStringLiteral("80"), png, QStringLiteral("-o"), heic});
    if (!encoder.waitForFinished(60000) || encoder.exitCode() != 0)
        return {};
    QFile file(heic);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A picture longer than the largest kept side is kept at that side (libjpeg: the largest n/8
// scale within it), its proportions and content kept.
TEST(AddedPictureKinds, HugePicturesAreReducedToTheLargestKeptSide) {
    EXPECT_EQ(reducedSize(QSize(65000, 36563)), QSize(8192, 4608));
    EXPECT_EQ(reducedSize(QSize(8192, 100)), QSize(8192, 100));
    EXPECT_EQ(reducedSize(QSize(20, 90000)), QSize(1, 8192));

    const QImage wide = stripes(9000, 24);
    struct Case {
        const char* what;
        QByteArray bytes;
        QString name;
        QSize kept;
    } cases[] = {
        {"JPEG at 7/8", writeJpeg(wide, JpegKind::Colour, 0, 90), QStringLiteral("wide.jpg"),
         QSize(7875, 21)},
        {"JPEG at 3/8", writeJpeg(stripes(17000, 16), JpegKind::Colour, 0, 90), QStringLiteral("wider.jpg"),
         QSize(6375, 6)},
        {"JPEG turned", writeJpeg(wide, JpegKind::Colour, 6, 90), QStringLiteral("turned.jpg"),
         QSize(21, 7875)},
        {"LZW TIFF", writeLzwTiff(wide), QStringLiteral("wide.tif"), QSize(8192, 21)},
        {"PNG", writePng(wide), QStringLiteral("wide.png"), QSize(8192, 21)},
        {"WebP", writeWebp(stripes(9000, 24)), QStringLiteral("wide.webp"), QSize(8192, 21)},
        {"HEIC", writeHeic(stripes(8400, 64)), QStringLiteral("wide.heic"), QSize(8192, 62)},
    };
    for (const Case& c : cases) {
        ASSERT_FALSE(c.bytes.isEmpty()) << c.what << ": its encoder failed";
        MessageList messages;
        const QImage picture = decodePicture(c.bytes, c.name, messages);
        ASSERT_EQ(picture.size(), c.kept) << c.what;
        // Red rises from the left end to the right one.
        const QImage upright =
            c.kept.width() < c.kept.height() ? picture.transformed(QTransform().rotate(-90)) : picture;
        const QRgb left = upright.pixel(2, upright.height() / 2),
                   right = upright.pixel(upright.width() - 3, upright.height() / 2);
        EXPECT_LT(qRed(left), 30) << c.what;
        EXPECT_GT(qRed(right), 220) << c.what;
    }
}

} // namespace
