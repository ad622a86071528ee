#pragma once
// HEIC/HEIF and AVIF pictures through libheif (libde265 decodes HEVC, dav1d or libaom AV1):
// the primary image with the file's rotation, mirroring and cropping applied (libheif's
// transformations, which HEIF files carry instead of an EXIF orientation), alpha over
// white, 10- and 12-bit pictures reduced to 8 bits, a picture longer than
// kLargestKeptSide reduced to it. Null on any failure, and for a grid or overlay picture
// composed on a canvas larger than the size the file declares.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media {

QImage decodeHeif(QByteArrayView bytes, qint64 maxPixels);

} // namespace vistello::media
