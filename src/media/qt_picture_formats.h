#pragma once
// PNG, GIF and WebP through Qt's image readers (WebP from the image formats plugins), into
// the module's 24-bit blue-green-red picture: transparent parts over white, a GIF's or an
// animated WebP's first frame, the EXIF orientation of a PNG eXIf or WebP EXIF chunk
// applied, a picture longer than kLargestKeptSide reduced to it. Null when the reader
// refuses the bytes or the picture would be larger than the decoding budget allows.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media {

// `format` is Qt's format name: "png", "gif" or "webp".
QImage decodeWithQtReader(QByteArrayView bytes, const char* format, qint64 maxPixels);

// The orientation (1..8) in the EXIF chunk of PNG or WebP bytes; 1 when there is none.
int pngExifOrientation(QByteArrayView bytes);
int webpExifOrientation(QByteArrayView bytes);

// True when GIF bytes hold their first image whole (every data block up to its end).
bool gifFirstFrameComplete(QByteArrayView bytes);

} // namespace vistello::media
