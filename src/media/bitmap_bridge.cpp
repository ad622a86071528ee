#include "media/bitmap_bridge.h"

#include <cstring>

namespace vistello::media {

effects::Bitmap bitmapFromImage(const QImage& image) {
    const QImage source =
        image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
    if (source.isNull())
        return {};
    effects::Bitmap bitmap(source.width(), source.height());
    const auto rowBytes = static_cast<std::size_t>(source.width()) * 3;
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(bitmap.row(y), source.constScanLine(y), rowBytes);
    return bitmap;
}

QImage imageFromBitmap(const effects::Bitmap& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_BGR888);
    if (image.isNull())
        return image;
    const auto rowBytes = static_cast<std::size_t>(bitmap.width()) * 3;
    for (int y = 0; y < bitmap.height(); ++y)
        std::memcpy(image.scanLine(y), bitmap.row(y), rowBytes);
    return image;
}

} // namespace vistello::media
