#include "media/picture_on_white.h"

#include <QPainter>

namespace vistello::media {

QImage pictureOnWhite(const QImage& picture) {
    if (picture.isNull())
        return {};
    if (!picture.hasAlphaChannel())
        return picture.convertToFormat(QImage::Format_BGR888);
    QImage canvas(picture.size(), QImage::Format_RGB32);
    if (canvas.isNull())
        return {};
    canvas.fill(Qt::white);
    {
        QPainter painter(&canvas);
        painter.drawImage(0, 0, picture);
    }
    return canvas.convertToFormat(QImage::Format_BGR888);
}

} // namespace vistello::media
