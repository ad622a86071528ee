#include "media/exif_orientation.h"

#include <QTransform>

#include <cstring>

namespace vistello::media {

namespace {

// Bounds-checked reads in the EXIF block's own byte order.
struct ExifBytes {
    const std::uint8_t* data;
    std::size_t size;
    bool littleEndian;

    bool has(std::size_t offset, std::size_t length) const {
        return offset <= size && length <= size - offset;
    }
    unsigned read16(std::size_t at) const {
        return littleEndian ? data[at] | data[at + 1] << 8 : data[at + 1] | data[at] << 8;
    }
    std::uint32_t read32(std::size_t at) const {
        return littleEndian ? read16(at) | std::uint32_t(read16(at + 2)) << 16
                            : read16(at + 2) | std::uint32_t(read16(at)) << 16;
    }
};

constexpr unsigned kTagOrientation = 0x0112;

constexpr std::size_t kExifHeader = 6; // "Exif\0\0"

bool startsWithExifHeader(const std::uint8_t* data, std::size_t size) {
    return data && size >= kExifHeader && std::memcmp(data, "Exif\0\0", kExifHeader) == 0;
}

// The orientation in a TIFF-form block ("II" or "MM", 42, first directory offset, ...).
int tiffBlockOrientation(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 8)
        return 1;
    ExifBytes tiff{data, size, true};
    if (std::memcmp(tiff.data, "II", 2) == 0)
        tiff.littleEndian = true;
    else if (std::memcmp(tiff.data, "MM", 2) == 0)
        tiff.littleEndian = false;
    else
        return 1;
    const std::uint32_t directory = tiff.read32(4);
    if (!tiff.has(directory, 2))
        return 1;
    const unsigned count = tiff.read16(directory);
    for (unsigned i = 0; i < count; ++i) {
        const std::size_t entry = directory + 2 + std::size_t{i} * 12;
        if (!tiff.has(entry, 12))
            return 1;
        if (tiff.read16(entry) != kTagOrientation)
            continue;
        const unsigned value = tiff.read16(entry + 8);
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

} // namespace

int exifOrientation(const std::uint8_t* payload, std::size_t size) {
    if (!startsWithExifHeader(payload, size))
        return 1;
    return tiffBlockOrientation(payload + kExifHeader, size - kExifHeader);
}

int exifBlockOrientation(const std::uint8_t* block, std::size_t size) {
    if (startsWithExifHeader(block, size))
        return tiffBlockOrientation(block + kExifHeader, size - kExifHeader);
    return tiffBlockOrientation(block, size);
}

QImage applyExifOrientation(const QImage& image, int orientation) {
    // 2, 4, 5 and 7 mirror first (5 and 7 then turn a quarter clockwise); 3, 6 and 8 only turn.
    QImage result;
    switch (orientation) {
    case 2:
        result = image.mirrored(true, false);
        break;
    case 3:
        result = image.transformed(QTransform().rotate(180));
        break;
    case 4:
        result = image.mirrored(false, true);
        break;
    case 5:
        result = image.mirrored(false, true).transformed(QTransform().rotate(90));
        break;
    case 6:
        result = image.transformed(QTransform().rotate(90));
        break;
    case 7:
        result = image.mirrored(true, false).transformed(QTransform().rotate(90));
        break;
    case 8:
        result = image.transformed(QTransform().rotate(270));
        break;
    default:
        return image;
    }
    return result.convertToFormat(image.format());
}

} // namespace vistello::media
