#pragma once
// Compressed and tiled TIFF pictures through libtiff. The program's own TIFF reader keeps
// every uncompressed picture in strips (and its messages); a file whose first image is
// compressed (LZW, Deflate, PackBits, JPEG, CCITT, ...) or stored in tiles is handed to
// libtiff instead, which decodes that first image. It is read in bands and reduced on the
// way when it is longer than kLargestKeptSide, so its size never sets the memory taken;
// its Orientation tag is applied, alpha goes over white.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media {

// True when the bytes are a TIFF file whose first image is compressed or tiled.
bool isCompressedOrTiledTiff(QByteArrayView bytes);

// The first image of the file; null when libtiff cannot read it or the kept picture
// would be larger than `maxPixels`.
QImage decodeTiffWithLibtiff(QByteArrayView bytes, qint64 maxPixels);

} // namespace vistello::media
