#include "media/picture_scale.h"

#include <algorithm>

namespace vistello::media {

QSize reducedSize(QSize size) {
    const int longSide = std::max(size.width(), size.height());
    if (longSide <= kLargestKeptSide)
        return size;
    auto scaled = [&](int side) {
        return std::max(1, static_cast<int>(qint64{side} * kLargestKeptSide / longSide));
    };
    return {scaled(size.width()), scaled(size.height())};
}

QImage keepWithinLargestSide(const QImage& picture) {
    const QSize target = reducedSize(picture.size());
    if (target == picture.size())
        return picture;
    return picture.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(picture.format());
}

} // namespace vistello::media
