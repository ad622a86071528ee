#pragma once
// The orientation a camera records in a JPEG's EXIF block (APP1 "Exif"), and turning a
// decoded picture upright by it. Phones store pictures as the sensor saw them and only
// note the turn, so without this their portrait photos would lie on their side.

#include <QImage>

#include <cstddef>
#include <cstdint>

namespace vistello::media {

// The orientation value 1..8 of an APP1 segment's payload (starting with "Exif\0\0"), or 1
// when the payload holds none or is malformed.
int exifOrientation(const std::uint8_t* payload, std::size_t size);

// The same for an EXIF block as PNG (eXIf) and WebP (EXIF) files carry it: the TIFF-form
// block itself, with or without the "Exif\0\0" start that JPEG's segment has.
int exifBlockOrientation(const std::uint8_t* block, std::size_t size);

// The picture turned and mirrored so that orientation 1 results.
QImage applyExifOrientation(const QImage& image, int orientation);

} // namespace vistello::media
