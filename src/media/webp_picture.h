#pragma once
// WebP pictures through libwebp: a still picture decoded at the kept size directly (libwebp
// scales row by row while it decodes, so a picture longer than kLargestKeptSide never exists
// at full size), an animation's first frame on its canvas, alpha over white, the EXIF
// orientation of the file's EXIF chunk applied. Null on any failure.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media {

QImage decodeWebp(QByteArrayView bytes, qint64 maxPixels);

// The orientation (1..8) in the EXIF chunk of WebP bytes; 1 when there is none.
int webpExifOrientation(QByteArrayView bytes);

} // namespace vistello::media
