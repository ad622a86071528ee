#pragma once
// A decoded picture in the module's 24-bit blue-green-red layout (QImage::Format_BGR888),
// its transparent parts drawn over white, as icons and transparent PNGs are shown.

#include <QImage>

namespace vistello::media {

// Null when the picture is null or the canvas cannot be allocated.
QImage pictureOnWhite(const QImage& picture);

} // namespace vistello::media
