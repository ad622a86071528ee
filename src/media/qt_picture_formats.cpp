#include "media/qt_picture_formats.h"

#include "media/exif_orientation.h"
#include "media/picture_on_white.h"
#include "media/picture_scale.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstring>

namespace vistello::media {

namespace {

// Qt's PNG, GIF and WebP readers decode the whole picture at 32 bits a pixel before it is
// reduced; this keeps that buffer, its reduced copy and the encoding within the memory an
// import may take.
constexpr qint64 kFullDecodeMaxPixels = qint64{128} << 20;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}
std::uint32_t littleEndian32(const std::uint8_t* p) {
    return std::uint32_t{p[3]} << 24 | std::uint32_t{p[2]} << 16 | std::uint32_t{p[1]} << 8 | p[0];
}

const std::uint8_t* bytesOf(QByteArrayView bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

} // namespace

int pngExifOrientation(QByteArrayView bytes) {
    // Signature, then chunks of length (big-endian), type, data and CRC.
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 8 || std::memcmp(bytes.data(), kSignature, 8) != 0)
        return 1;
    const std::uint8_t* data = bytesOf(bytes);
    const auto size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 8;
    while (size - at >= 12) {
        const std::uint32_t length = bigEndian32(data + at);
        if (length > size - at - 12)
            return 1;
        const std::uint8_t* type = data + at + 4;
        if (std::memcmp(type, "eXIf", 4) == 0)
            return exifBlockOrientation(data + at + 8, length);
        if (std::memcmp(type, "IEND", 4) == 0)
            return 1;
        at += std::size_t{length} + 12;
    }
    return 1;
}

int webpExifOrientation(QByteArrayView bytes) {
    // "RIFF", size, "WEBP", then chunks of type, length (little-endian) and data padded to even.
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WEBP", 4) != 0)
        return 1;
    const std::uint8_t* data = bytesOf(bytes);
    const auto size = static_cast<std::size_t>(bytes.size());
    std::size_t at = 12;
    while (size - at >= 8) {
        const std::uint32_t length = littleEndian32(data + at + 4);
        if (length > size - at - 8)
            return 1;
        if (std::memcmp(data + at, "EXIF", 4) == 0)
            return exifBlockOrientation(data + at + 8, length);
        at += 8 + std::size_t{length} + (length & 1);
    }
    return 1;
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
    QImage picture = reader.read();
    if (picture.isNull())
        return {};
    const QImage kept = pictureOnWhite(keepWithinLargestSide(picture));
    if (kept.isNull())
        return {};
    const QByteArrayView name(format);
    const int orientation = name == "png"    ? pngExifOrientation(bytes)
                            : name == "webp" ? webpExifOrientation(bytes)
                                             : 1;
    return applyExifOrientation(kept, orientation);
}

} // namespace vistello::media
