#include "media/qt_picture_formats.h"

#include "media/exif_blocks.h"
#include "media/exif_orientation.h"
#include "media/picture_on_white.h"
#include "media/picture_scale.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace vistello::media {

namespace {

// Qt's PNG and GIF readers decode the whole picture at 32 bits a pixel before it is
// reduced; this keeps that buffer, its reduced copy and the encoding within the memory an
// import may take.
constexpr qint64 kFullDecodeMaxPixels = qint64{128} << 20;

const std::uint8_t* bytesOf(QByteArrayView bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

} // namespace

int pngExifOrientation(QByteArrayView bytes) {
    const QByteArrayView block = pngExifBlock(bytes);
    return exifBlockOrientation(reinterpret_cast<const std::uint8_t*>(block.data()),
                                static_cast<std::size_t>(block.size()));
}

bool pngChunksWithinFile(QByteArrayView bytes) {
    // The signature (8 bytes), then chunks: length (big-endian), type, data, CRC.
    const std::uint8_t* data = bytesOf(bytes);
    const auto size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 8;
    while (at + 8 <= size) {
        const std::size_t length = std::size_t{data[at]} << 24 | std::size_t{data[at + 1]} << 16 |
                                   std::size_t{data[at + 2]} << 8 | data[at + 3];
        if (length > size - at - 8)
            return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            return true;
        at += 8 + length + 4;
    }
    return true; // a file that ends between chunks is for libpng to judge
}

bool gifFirstFrameComplete(QByteArrayView bytes) {
    // Header and logical screen (13 bytes), the global colour table, then extension blocks
    // (0x21, label, sub-blocks) until the first image (0x2C, 9 bytes, local colour table,
    // code size, sub-blocks); each run of sub-blocks ends with an empty one.
    const std::uint8_t* data = bytesOf(bytes);
    const auto size = static_cast<std::size_t>(bytes.size());
    if (size < 13 || std::memcmp(data, "GIF", 3) != 0)
        return false;
    auto colourTable = [](std::uint8_t flags) {
        return flags & 0x80 ? std::size_t{3} << ((flags & 7) + 1) : 0;
    };
    std::size_t at = 13 + colourTable(data[10]);
    auto skipSubBlocks = [&] {
        while (at < size && data[at] != 0)
            at += std::size_t{data[at]} + 1;
        if (at >= size)
            return false;
        ++at;
        return true;
    };
    while (at < size) {
        if (data[at] == 0x21) {
            at += 2;
            if (!skipSubBlocks())
                return false;
        } else if (data[at] == 0x2C) {
            if (size - at < 10)
                return false;
            at += 10 + colourTable(data[at + 9]) + 1; // descriptor, table, code size
            return skipSubBlocks();
        } else {
            return false; // the trailer or an unknown block before any image
        }
    }
    return false;
}

QImage decodeWithQtReader(QByteArrayView bytes, const char* format, qint64 maxPixels) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    const qint64 limit = std::min(maxPixels, kFullDecodeMaxPixels);
    if (!size.isValid() || qint64{size.width()} * size.height() > limit)
        return {};
    reader.setAllocationLimit(static_cast<int>(limit * 4 / (1024 * 1024) + 1));
    // Readers that can decode at a reduced size do so; the others are scaled by Qt afterwards.
    if (reducedSize(size) != size)
        reader.setScaledSize(reducedSize(size));
    // Qt's GIF reader gives what it has of a frame cut short; such a file is refused.
    if (QByteArrayView(format) == "gif" && !gifFirstFrameComplete(bytes))
        return {};
    if (QByteArrayView(format) == "png" && !pngChunksWithinFile(bytes))
        return {};
    QImage picture = reader.read();
    if (picture.isNull())
        return {};
    const QImage kept = pictureOnWhite(keepWithinLargestSide(picture));
    if (kept.isNull())
        return {};
    return QByteArrayView(format) == "png" ? applyExifOrientation(kept, pngExifOrientation(bytes)) : kept;
}

} // namespace vistello::media
