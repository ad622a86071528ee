#pragma once
// The picture kinds read besides the original JPEG, BMP, ICO, EMF, WMF and TIFF: PNG, GIF,
// WebP, HEIC/HEIF, AVIF and JPEG XL, picked by extension like the others, and compressed or
// tiled TIFF, picked by content before the program's own TIFF reader sees the file.

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <QStringList>

namespace vistello::media {

// The extensions (lower case, without dot) of the added kinds, in the order the open
// dialog lists them.
QStringList addedPictureExtensions();

// The picture, when `suffix` (lower case) names an added kind and its decoder reads the
// bytes; null otherwise.
QImage decodeAddedKind(QByteArrayView bytes, const QString& suffix, qint64 maxPixels);

// The picture of a compressed or tiled TIFF file; null for every other file (which the
// program's own TIFF reader then takes) and for one libtiff cannot read.
QImage decodeCompressedTiff(QByteArrayView bytes, qint64 maxPixels);

} // namespace vistello::media
