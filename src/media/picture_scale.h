#pragma once
// Pictures larger than any output needs are kept at a reduced size: no video or preview of
// this program shows more than kLargestKeptSide pixels on a side, and a panorama of tens of
// thousands of pixels decoded in full would take gigabytes. Decoders that can decode at a
// reduced scale (libjpeg, libtiff by bands) ask reducedSize() first; the others reduce the
// decoded picture with keepWithinLargestSide().

#include <QImage>
#include <QSize>

namespace vistello::media {

inline constexpr int kLargestKeptSide = 8192;

// The size a picture of `size` is kept at: `size` itself when its long side is at most
// kLargestKeptSide, else scaled down to that long side with its proportions (never below 1).
QSize reducedSize(QSize size);

// The picture scaled down (smoothly) to reducedSize(), in its own format; unchanged when it fits.
QImage keepWithinLargestSide(const QImage& picture);

} // namespace vistello::media
