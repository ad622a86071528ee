#pragma once
// Device-independent bitmaps as metafiles embed them (a BITMAPINFO header with its colour
// table, then the pixels), decoded through Qt's BMP reader behind a file header made here.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media::metafile {

// `info` is the header with its colour table, `bits` the pixels; null when the header is
// not a bitmap header, the picture would exceed `maxPixels`, or Qt cannot read it.
QImage decodeDib(QByteArrayView info, QByteArrayView bits, qint64 maxPixels);

// The same for a header directly followed by its pixels, as in WMF records.
QImage decodePackedDib(QByteArrayView packed, qint64 maxPixels);

} // namespace vistello::media::metafile
