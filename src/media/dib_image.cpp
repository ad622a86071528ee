#include "media/dib_image.h"

#include "media/metafile_records.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <cstdlib>

namespace vistello::media::metafile {

namespace {

constexpr qint64 kCoreHeaderSize = 12, kInfoHeaderSize = 40;

// Bytes of header, bit masks and colour table in front of the pixels; -1 when not a header.
qint64 headerAndTableSize(const RecordView& info) {
    const qint64 headerSize = info.u32(0);
    if (headerSize == kCoreHeaderSize) {
        const int bits = info.u16(10);
        return headerSize + (bits <= 8 ? 3 * (qint64{1} << bits) : 0);
    }
    if (headerSize < kInfoHeaderSize || !info.has(0, kInfoHeaderSize))
        return -1;
    const int bits = info.u16(14);
    const std::uint32_t compression = info.u32(16);
    qint64 colours = info.u32(32);
    if (colours == 0 && bits <= 8)
        colours = qint64{1} << bits;
    if (colours > 256 && bits <= 8)
        return -1;
    constexpr std::uint32_t kBitFields = 3, kAlphaBitFields = 6;
    const qint64 masks =
        headerSize == kInfoHeaderSize && (compression == kBitFields || compression == kAlphaBitFields)
            ? (compression == kBitFields ? 12 : 16)
            : 0;
    return headerSize + masks + 4 * colours;
}

} // namespace

QImage decodeDib(QByteArrayView info, QByteArrayView bits, qint64 maxPixels) {
    const RecordView header(info);
    const qint64 tableEnd = headerAndTableSize(header);
    if (tableEnd < 0 || tableEnd > info.size())
        return {};
    const bool core = header.u32(0) == kCoreHeaderSize;
    const qint64 width = core ? header.u16(4) : header.i32(4);
    const qint64 height = std::abs(core ? qint64{header.i16(6)} : qint64{header.i32(8)});
    if (width <= 0 || height <= 0 || width * height > maxPixels)
        return {};
    // The pixels must be there before a picture of their size is made: whole rows when
    // uncompressed, and no more than run-length coding can give from the bytes present.
    const int bitsPerPixel = core ? header.u16(10) : header.u16(14);
    const std::uint32_t compression = core ? 0 : header.u32(16);
    constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
    constexpr qint64 kMaxRunPixelsPerByte = 64;
    if (compression == kRgb || compression == kBitFields || compression == kAlphaBitFields) {
        const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
        if (bitsPerPixel <= 0 || rowBytes * height > bits.size())
            return {};
    } else if (compression == kRle8 || compression == kRle4) {
        if (width * height > bits.size() * kMaxRunPixelsPerByte)
            return {};
    } else {
        return {}; // JPEG and PNG inside a bitmap are for printers
    }
    QByteArray file;
    const qint64 total = 14 + info.size() + bits.size();
    if (total > 0x7FFFFFFF)
        return {};
    file.reserve(total);
    const auto le32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            file.append(static_cast<char>(v >> (8 * i)));
    };
    file.append("BM", 2);
    le32(static_cast<std::uint32_t>(total));
    le32(0);
    le32(static_cast<std::uint32_t>(14 + info.size()));
    file.append(info.data(), info.size());
    file.append(bits.data(), bits.size());
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(static_cast<int>(std::min<qint64>(maxPixels * 4 / (1024 * 1024) + 1, 1 << 30)));
    return reader.read();
}

QImage decodePackedDib(QByteArrayView packed, qint64 maxPixels) {
    const qint64 tableEnd = headerAndTableSize(RecordView(packed));
    if (tableEnd < 0 || tableEnd > packed.size())
        return {};
    return decodeDib(packed.first(tableEnd), packed.sliced(tableEnd), maxPixels);
}

} // namespace vistello::media::metafile
