#pragma once
// JPEG XL pictures through libjxl: the decoder turns them upright by their orientation,
// alpha goes over white, a picture longer than kLargestKeptSide is reduced to it. Null on
// any failure, and for pictures beyond the decoding budget (libjxl cannot decode at a
// reduced scale and works in floating point).

#include <QByteArrayView>
#include <QImage>

namespace vistello::media {

QImage decodeJxl(QByteArrayView bytes, qint64 maxPixels);

} // namespace vistello::media
