#include "media/exif_orientation.h"

#include "media/exif_bytes.h"

#include <QTransform>

#include <cstring>

namespace vistello::media {

namespace {

constexpr unsigned kTagOrientation = 0x0112;

constexpr std::size_t kExifHeader = 6; // "Exif\0\0"

bool startsWithExifHeader(const std::uint8_t* data, std::size_t size) {
    return data && size >= kExifHeader && std::memcmp(data, "Exif\0\0", kExifHeader) == 0;
}

// The orientation in a TIFF-form block ("II" or "MM", 42, first directory offset, ...).
int tiffBlockOrientation(const std::uint8_t* data, std::size_t size) {
    const auto tiff = ExifBytes::of(data, size);
    if (!tiff)
        return 1;
    const auto entry = tiff->findEntry(tiff->read32(4), kTagOrientation);
    if (!entry)
        return 1;
    const unsigned value = tiff->read16(*entry + 8);
    return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
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
