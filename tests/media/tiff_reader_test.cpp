// The own TIFF reader: each reader's main path in both byte orders, the colour tables, the
// row layout, several images in one file, every message, and the guards against hostile files.

#include "qt_printing.h"
#include "tiff_builder.h"

#include "media/tiff_file.h"
#include "media/tiff_reader.h"

#include <gtest/gtest.h>

#include <QColor>

using namespace vistello::media;
using namespace vistello::media::testing;

namespace {

const QString kName = QStringLiteral("/pictures/test.tif");

struct Decoded {
    QImage image;
    QStringList messages;
    TiffReadEnd end = TiffReadEnd::Completed;
};

Decoded decode(const QByteArray& bytes, QImage start = {}, qint64 maxPixels = kDefaultMaxPixels) {
    Decoded result;
    result.image = std::move(start);
    MessageList messages;
    result.end = readTiffData(bytes, kName, result.image, messages, maxPixels);
    result.messages = messages.messages;
    return result;
}

QRgb at(const QImage& image, int x, int y) {
    return image.pixel(x, y) & 0xFFFFFF;
}

QRgb grey(int value) {
    return qRgb(value, value, value) & 0xFFFFFF;
}

QByteArray bytesOf(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// A red square on the left and a 200-grey right half, 4 × 2 pixels of RGB.
QByteArray rgbPixels() {
    QByteArray pixels;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            pixels.append(x < 2 ? bytesOf({255, 0, 0}) : bytesOf({200, 200, 200}));
    return pixels;
}

QImage redPixel() {
    QImage image(1, 1, QImage::Format_BGR888);
    image.fill(Qt::red);
    return image;
}

} // namespace

TEST(TiffReader, GreyscaleOddWidthHasNoShear) {
    constexpr int width = 101, height = 3;
    QByteArray pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.append(static_cast<char>((x + 7 * y) % 256));
    for (bool little : {true, false}) {
        const auto result = decode(TiffBuilder(little).build({simpleImage(width, height, {8}, 1, pixels)}));
        ASSERT_FALSE(result.image.isNull());
        EXPECT_TRUE(result.messages.isEmpty());
        EXPECT_EQ(result.image.format(), QImage::Format_BGR888);
        EXPECT_EQ(result.image.size(), QSize(width, height));
        for (int y = 0; y < height; ++y)
            for (int x : {0, 50, 100})
                EXPECT_EQ(at(result.image, x, y), grey((x + 7 * y) % 256))
                    << x << "," << y << " little " << little;
    }
}

TEST(TiffReader, BilevelPhotometricDecidesBlackAndWhite) {
    // 10 pixels wide: each row is two bytes; 1 bits at x = 0 and x = 9.
    const QByteArray pixels = bytesOf({0x80, 0x40, 0x80, 0x40});
    struct Case {
        std::uint32_t photometric;
        QRgb oneBits, zeroBits;
    } cases[] = {{0, grey(0), grey(255)}, {1, grey(255), grey(0)}};
    for (const auto& c : cases) {
        for (bool withBits : {true, false}) {
            Directory directory = simpleImage(10, 2, {1}, c.photometric, pixels);
            if (!withBits)
                directory.tags.erase(directory.tags.begin() + 2); // no tag 258 means bilevel
            const auto result = decode(TiffBuilder().build({directory}));
            ASSERT_FALSE(result.image.isNull()) << c.photometric;
            EXPECT_EQ(at(result.image, 0, 1), c.oneBits);
            EXPECT_EQ(at(result.image, 9, 0), c.oneBits);
            EXPECT_EQ(at(result.image, 1, 0), c.zeroBits);
            EXPECT_EQ(at(result.image, 8, 1), c.zeroBits);
        }
    }
}

TEST(TiffReader, FourBitGreyscaleTable) {
    // Values 15, 1, 0, 8 in one row of two bytes.
    const auto result = decode(TiffBuilder(false).build({simpleImage(4, 1, {4}, 1, bytesOf({0xF1, 0x08}))}));
    ASSERT_FALSE(result.image.isNull());
    EXPECT_EQ(at(result.image, 0, 0), grey(255));
    EXPECT_EQ(at(result.image, 1, 0), grey(17));
    EXPECT_EQ(at(result.image, 2, 0), grey(0));
    EXPECT_EQ(at(result.image, 3, 0), grey(136));
}

TEST(TiffReader, WhiteIsZeroGreyscaleIsNotInverted) {
    const auto eight = decode(TiffBuilder().build({simpleImage(2, 1, {8}, 0, bytesOf({0, 255}))}));
    EXPECT_EQ(at(eight.image, 0, 0), grey(255));
    EXPECT_EQ(at(eight.image, 1, 0), grey(0));
    const auto four = decode(TiffBuilder().build({simpleImage(2, 1, {4}, 0, bytesOf({0x0F}))}));
    EXPECT_EQ(at(four.image, 0, 0), grey(255));
    EXPECT_EQ(at(four.image, 1, 0), grey(0));
}

TEST(TiffReader, PaletteTablesKeepTheHighByte) {
    for (bool little : {true, false}) {
        for (std::uint32_t bits : {4u, 8u}) {
            const std::uint32_t n = 1u << bits;
            std::vector<std::uint32_t> map(3 * n, 0);
            map[5] = 0xFF00;         // red of entry 5
            map[n + 5] = 0x8012;     // green of entry 5
            map[2 * n + 1] = 0x4000; // blue of entry 1
            const QByteArray pixels = bits == 8 ? bytesOf({5, 1, 0, 0}) : bytesOf({0x51, 0x00});
            const auto result =
                decode(TiffBuilder(little).build({simpleImage(4, 1, {bits}, 3, pixels, {{320, 3, map}})}));
            ASSERT_FALSE(result.image.isNull()) << bits;
            EXPECT_TRUE(result.messages.isEmpty());
            EXPECT_EQ(at(result.image, 0, 0), qRgb(255, 0x80, 0) & 0xFFFFFF) << bits << little;
            EXPECT_EQ(at(result.image, 1, 0), qRgb(0, 0, 0x40) & 0xFFFFFF);
        }
    }
}

TEST(TiffReader, PaletteWithOddSizedMapKeepsTheRamp) {
    std::vector<std::uint32_t> map(3 * 300, 0xFFFF); // more than 256 entries: the ramp stays
    const auto result =
        decode(TiffBuilder().build({simpleImage(2, 1, {8}, 3, bytesOf({7, 200}), {{320, 3, map}})}));
    EXPECT_EQ(at(result.image, 0, 0), grey(7));
    EXPECT_EQ(at(result.image, 1, 0), grey(200));
}

TEST(TiffReader, PaletteDepthWithoutIndexedBitmapGivesEmptyPicture) {
    std::vector<std::uint32_t> map(3 * 4, 0);
    const auto result =
        decode(TiffBuilder().build({simpleImage(2, 1, {2}, 3, bytesOf({0}), {{320, 3, map}})}), redPixel());
    EXPECT_TRUE(result.image.isNull());
    EXPECT_TRUE(result.messages.isEmpty());
}

TEST(TiffReader, RgbIsTheSameInBothByteOrders) {
    QImage images[2];
    for (bool little : {true, false}) {
        const auto result = decode(TiffBuilder(little).build({simpleImage(4, 2, {8, 8, 8}, 2, rgbPixels())}));
        ASSERT_FALSE(result.image.isNull());
        EXPECT_TRUE(result.messages.isEmpty());
        EXPECT_EQ(at(result.image, 0, 0), qRgb(255, 0, 0) & 0xFFFFFF);
        EXPECT_EQ(at(result.image, 3, 1), grey(200));
        images[little] = result.image;
    }
    EXPECT_EQ(images[0], images[1]);
}

TEST(TiffReader, RgbWithOneBitsValueAndShortStripArrays) {
    // Bits per sample as one value, and two strips of one row listed as inline SHORT arrays;
    // the strips follow the directory, so the file is built once to learn where they go.
    Directory directory = simpleImage(4, 2, {8}, 2, {});
    directory.addStripTags = false;
    directory.tags[5] = {278, 3, {1}};
    directory.tags.push_back({273, 3, {0, 0}});
    directory.tags.push_back({279, 3, {12, 12}});
    TiffBuilder builder;
    const auto stripAt = static_cast<std::uint32_t>(builder.build({directory}).size());
    directory.tags[6].values = {stripAt, stripAt + 12};
    QByteArray file = builder.build({directory});
    ASSERT_EQ(file.size(), static_cast<int>(stripAt));
    file.append(rgbPixels());
    const auto result = decode(file);
    ASSERT_FALSE(result.image.isNull()) << result.messages.join('|').toStdString();
    EXPECT_EQ(at(result.image, 1, 0), qRgb(255, 0, 0) & 0xFFFFFF);
    EXPECT_EQ(at(result.image, 2, 1), grey(200));
}

TEST(TiffReader, SeveralImagesGiveTheLastThatDecodes) {
    const Directory first = simpleImage(1, 1, {8}, 1, bytesOf({10}));
    const Directory second = simpleImage(2, 1, {8}, 1, bytesOf({20, 30}));
    Directory broken = simpleImage(1, 1, {8}, 1, bytesOf({40}));
    broken.tags.erase(broken.tags.begin()); // no width
    for (bool little : {true, false}) {
        const auto two = decode(TiffBuilder(little).build({first, second}));
        EXPECT_EQ(two.image.size(), QSize(2, 1));
        EXPECT_EQ(at(two.image, 1, 0), grey(30));

        const auto secondFails = decode(TiffBuilder(little).build({first, broken}));
        EXPECT_EQ(secondFails.image.size(), QSize(1, 1));
        EXPECT_EQ(at(secondFails.image, 0, 0), grey(10));
        EXPECT_EQ(secondFails.messages, QStringList{"Error reading tag Image Width"});
    }
}

TEST(TiffReader, TagMessagesInTheirOrder) {
    const QByteArray grey8 = bytesOf({1, 2});
    auto without = [](Directory directory, std::uint16_t tag) {
        std::erase_if(directory.tags, [tag](const Tag& t) { return t.tag == tag; });
        return directory;
    };
    auto with = [](Directory directory, Tag tag) {
        directory.tags.push_back(tag);
        return directory;
    };
    const Directory greyImage = simpleImage(2, 1, {8}, 1, grey8);
    const Directory bilevel = simpleImage(16, 1, {1}, 0, grey8);
    const Directory palette =
        simpleImage(2, 1, {8}, 3, grey8, {{320, 3, std::vector<std::uint32_t>(768, 0)}});
    const Directory rgb = simpleImage(1, 1, {8, 8, 8}, 2, bytesOf({1, 2, 3}));
    struct Case {
        const char* what;
        Directory directory;
        QString message;
    } cases[] = {
        {"no photometric", without(greyImage, 262), "Error reading tag Photometric interpretation"},
        {"photometric 7", with(greyImage, {262, 3, {7}}), "Error evaluating Photometric interpretation: 7"},
        {"bilevel width", without(bilevel, 256), "Error reading tag Image Width"},
        {"bilevel height", without(bilevel, 257), "Error reading tag Image Height"},
        {"bilevel compression", without(bilevel, 259), "Error reading tag Compression"},
        {"grey height before compression", without(without(greyImage, 257), 259),
         "Error reading tag Image Height"},
        {"grey bits 4 or 8 only", with(with(greyImage, {262, 3, {1}}), {258, 3, {4}}), ""},
        {"palette bits", without(palette, 258), "Error reading tag Bits Per Sample"},
        {"palette colour map", without(palette, 320), "Error reading tag Color Table Offset"},
        {"rgb bits", with(rgb, {258, 3, {16, 16, 16}}), "Error: Bits Per Sample (RGB) not 8"},
        {"rgb bits missing", without(rgb, 258), "Error reading tag Bits Per Sample"},
    };
    for (const auto& c : cases) {
        const auto result = decode(TiffBuilder().build({c.directory}));
        if (c.message.isEmpty())
            EXPECT_TRUE(result.messages.isEmpty()) << c.what;
        else
            EXPECT_EQ(result.messages, QStringList{c.message}) << c.what;
    }
}

TEST(TiffReader, CompressedImagesNameTheirKind) {
    struct Case {
        Directory directory;
        const char* kind;
    } cases[] = {
        {simpleImage(8, 1, {1}, 1, bytesOf({0}), {{259, 3, {4}}}), "bilevel"},
        {simpleImage(1, 1, {8}, 1, bytesOf({0}), {{259, 3, {5}}}), "grey scale"},
        {simpleImage(1, 1, {8}, 3, bytesOf({0}),
                     {{259, 3, {32773}}, {320, 3, std::vector<std::uint32_t>(768)}}),
         "colour palette"},
        {simpleImage(1, 1, {8, 8, 8}, 2, bytesOf({0, 0, 0}), {{259, 3, {7}}}), "RGB full colour"},
    };
    for (const auto& c : cases) {
        const auto result = decode(TiffBuilder().build({c.directory}), redPixel());
        ASSERT_EQ(result.messages.size(), 1);
        EXPECT_EQ(result.messages[0].count('\n'), 2) << "three lines";
        EXPECT_TRUE(result.messages[0].contains(QLatin1String(c.kind))) << c.kind;
        EXPECT_EQ(result.image, redPixel()) << "the bitmap stays";
    }
}

TEST(TiffReader, NotATiffFile) {
    const QByteArray jpegStart = bytesOf({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1});
    for (const QByteArray& bytes :
         {jpegStart, QByteArray("II"), QByteArray("II*\0\0\0\0\0", 8).replace(2, 1, "+"), QByteArray()}) {
        const auto result = decode(bytes);
        EXPECT_TRUE(result.image.isNull());
        EXPECT_EQ(result.messages, QStringList{"</pictures/test.tif> is not a valid TIFF file"});
    }
}

TEST(TiffReader, SilentFaultsEndTheReadAndKeepTheBitmap) {
    auto changed = [](Directory directory, std::uint16_t tag, std::vector<std::uint32_t> values) {
        for (auto& t : directory.tags)
            if (t.tag == tag)
                t.values = values;
        return directory;
    };
    const Directory good = simpleImage(2, 1, {8}, 1, bytesOf({9, 9}));
    Directory noRows = good;
    std::erase_if(noRows.tags, [](const Tag& t) { return t.tag == 278; });
    Directory noStrips = good;
    noStrips.addStripTags = false;
    Directory unequalStrips = good;
    unequalStrips.addStripTags = false;
    unequalStrips.tags.push_back({273, 4, {8, 8}});
    unequalStrips.tags.push_back({279, 4, {2}});
    struct Case {
        const char* what;
        Directory directory;
    } cases[] = {
        {"no rows per strip", noRows},
        {"zero rows per strip", changed(good, 278, {0})},
        {"no strip table", noStrips},
        {"unequal strip arrays", unequalStrips},
        {"width above 65535", changed(good, 256, {65536})},
        {"height above 65535", changed(good, 257, {70000})},
    };
    for (const auto& c : cases) {
        const auto result = decode(TiffBuilder().build({c.directory}), redPixel());
        EXPECT_EQ(result.end, TiffReadEnd::Aborted) << c.what;
        EXPECT_TRUE(result.messages.isEmpty()) << c.what;
        EXPECT_EQ(result.image, redPixel()) << c.what;
    }
}

TEST(TiffReader, DirectoryChainsThatLoopOrLeaveTheFileEnd) {
    const Directory image = simpleImage(1, 1, {8}, 1, bytesOf({50}));
    TiffBuilder builder;
    const QByteArray plain = builder.build({image});
    const auto firstDirectory = static_cast<std::uint32_t>(plain.size() - 2 - 12 * 8 - 4);
    for (std::uint32_t next :
         {firstDirectory, 8u, 0xFFFFFFF0u, static_cast<std::uint32_t>(plain.size() - 1)}) {
        Directory looping = image;
        looping.nextOffset = next;
        const QByteArray bytes = builder.build({looping});
        TFileTiff file;
        file.setData(bytes, kName);
        EXPECT_LE(file.ImageCount(), TFileTiff::kMaxImages) << next;
        const auto result = decode(bytes);
        EXPECT_EQ(at(result.image, 0, 0), grey(50)) << next;
    }
    // Two directories pointing at each other.
    Directory a = image, b = image;
    const QByteArray pair = builder.build({a, b});
    TFileTiff twice;
    twice.setData(pair, kName);
    ASSERT_EQ(twice.ImageCount(), 2);
    QByteArray loop = pair;
    const auto secondEnd = static_cast<std::uint32_t>(pair.size() - 4);
    const auto firstAt = static_cast<std::uint32_t>(pair.size() - 2 * (2 + 12 * 8 + 4));
    builder.put32(loop, secondEnd, firstAt);
    TFileTiff looped;
    looped.setData(loop, kName);
    EXPECT_EQ(looped.ImageCount(), 2);
}

TEST(TiffReader, TruncatedDirectoryEndsTheChain) {
    QByteArray bytes = TiffBuilder().build({simpleImage(1, 1, {8}, 1, bytesOf({50}))});
    bytes.chop(20);
    const auto result = decode(bytes);
    EXPECT_TRUE(result.image.isNull());
    EXPECT_TRUE(result.messages.isEmpty());
}

TEST(TiffReader, ShortStripDataShowsBlack) {
    // 4 × 3 greyscale with only five bytes of data: row 0 whole, row 1 one pixel.
    Directory directory = simpleImage(4, 3, {8}, 1, bytesOf({200, 200, 200, 200, 200}));
    directory.tags[5].values = {3};
    const auto result = decode(TiffBuilder().build({directory}));
    ASSERT_FALSE(result.image.isNull());
    // L = 5 ÷ 3 = 1: each row holds one byte of the data.
    EXPECT_EQ(at(result.image, 0, 0), grey(200));
    EXPECT_EQ(at(result.image, 1, 0), grey(0));
    EXPECT_EQ(at(result.image, 0, 2), grey(200));
}

TEST(TiffReader, RowsPerStripAboveHeightUsesThePictureRows) {
    for (std::uint32_t rows : {3u, 8u, 0xFFFFFFFFu}) {
        Directory directory = simpleImage(3, 3, {8}, 1, bytesOf({1, 2, 3, 4, 5, 6, 7, 8, 9}));
        directory.tags[5].values = {rows};
        const auto result = decode(TiffBuilder().build({directory}));
        ASSERT_FALSE(result.image.isNull()) << rows;
        EXPECT_EQ(at(result.image, 2, 2), grey(9)) << rows;
        EXPECT_EQ(at(result.image, 0, 1), grey(4)) << rows;
    }
}

TEST(TiffReader, StripsOutsideTheFile) {
    struct Case {
        const char* what;
        std::vector<std::uint32_t> offsets, counts;
    } cases[] = {
        {"offset past the end", {1u << 20}, {4}},
        {"count past the end", {8}, {1u << 20}},
        {"offset plus count wraps", {0xFFFFFFF0u}, {0x20}},
    };
    for (const auto& c : cases) {
        Directory directory = simpleImage(2, 2, {8}, 1, {});
        directory.addStripTags = false;
        directory.tags.push_back({273, 4, c.offsets});
        directory.tags.push_back({279, 4, c.counts});
        const auto result = decode(TiffBuilder().build({directory}), redPixel());
        EXPECT_EQ(result.messages, QStringList{"Error reading image data"}) << c.what;
        EXPECT_EQ(result.image, redPixel()) << c.what;
    }
    // Strip arrays whose values lie outside the file.
    Directory arrays = simpleImage(2, 2, {8}, 1, {});
    arrays.addStripTags = false;
    arrays.tags.push_back({273, 4, {}, 0x7FFFFFF0u, 3u});
    arrays.tags.push_back({279, 4, {}, 0x7FFFFFF0u, 3u});
    EXPECT_EQ(decode(TiffBuilder().build({arrays})).messages, QStringList{"Error reading image data"});
}

TEST(TiffReader, HugePicturesAreRefusedBeforeAllocation) {
    const auto result = decode(TiffBuilder().build({simpleImage(60000, 60000, {8}, 1, bytesOf({1}))}),
                               redPixel(), qint64{1} << 20);
    EXPECT_EQ(result.messages, QStringList{"Out Of Memory "});
    EXPECT_EQ(result.image, redPixel());
}

TEST(TiffReader, ZeroSizedPictureEmptiesTheBitmap) {
    const auto result = decode(TiffBuilder().build({simpleImage(0, 1, {8}, 1, bytesOf({1}))}), redPixel());
    EXPECT_TRUE(result.image.isNull());
}

TEST(TiffReader, FileAccessors) {
    const QByteArray bytes = TiffBuilder(false).build({simpleImage(1, 1, {8}, 1, bytesOf({5}))});
    TFileTiff file;
    file.setData(bytes, kName);
    ASSERT_TRUE(file.valid());
    EXPECT_FALSE(file.littleEndian());
    ASSERT_EQ(file.ImageCount(), 1);
    EXPECT_EQ(file.Image(1), nullptr);
    EXPECT_EQ(file.Image(-1), nullptr);
    const TGraphicTiff* image = file.Image(0);
    ASSERT_EQ(image->StripCount(), 1);
    EXPECT_EQ(image->Strip(1), nullptr);
    EXPECT_EQ(image->Strip(0)->ByteCount, 1u);
    EXPECT_EQ(image->FindTag(256)->Value, 1u);
    EXPECT_EQ(image->FindTag(999), nullptr);
    file.setFileName(QString());
    EXPECT_FALSE(file.valid());
    EXPECT_EQ(file.ImageCount(), 0);
}
