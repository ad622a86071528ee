#pragma once
// The bridge between Qt's pictures and the effects module's Bitmap. Both keep 24-bit pixels
// in blue-green-red byte order with rows top-down and 32-bit aligned (QImage::Format_BGR888),
// so a conversion is one row copy; the windows, the render and the command-line tool all
// cross here.

#include "effects/raster/bitmap.h"

#include <QImage>

namespace vistello::media {

// A copy of `image` in any format, converted to Format_BGR888 first when it is in another one.
// A null image, or one too large to convert, gives an empty bitmap.
effects::Bitmap bitmapFromImage(const QImage& image);

// A Format_BGR888 copy of `bitmap`; null for an empty bitmap or when the memory is not there.
QImage imageFromBitmap(const effects::Bitmap& bitmap);

} // namespace vistello::media
