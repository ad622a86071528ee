#pragma once
// PNG and GIF through Qt's own image readers, into the module's 24-bit blue-green-red
// picture: transparent parts over white, a GIF's first frame, the EXIF orientation of a PNG
// eXIf chunk applied, a picture longer than kLargestKeptSide reduced to it. Null when the reader
// refuses the bytes or the picture would be larger than the decoding budget allows.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media {

// `format` is Qt's format name: "png" or "gif".
QImage decodeWithQtReader(QByteArrayView bytes, const char* format, qint64 maxPixels);

// The orientation (1..8) in the eXIf chunk of PNG bytes; 1 when there is none.
int pngExifOrientation(QByteArrayView bytes);

// False when a chunk of PNG bytes claims more bytes than the file has left: libpng would
// allocate (and clear) all it claims before finding the file short, up to 2 GB for a few bytes.
bool pngChunksWithinFile(QByteArrayView bytes);

// True when GIF bytes hold their first image whole (every data block up to its end).
bool gifFirstFrameComplete(QByteArrayView bytes);

} // namespace vistello::media
