#include "media/added_picture_kinds.h"

#include "media/heif_picture.h"
#include "media/jxl_picture.h"
#include "media/libtiff_picture.h"
#include "media/qt_picture_formats.h"
#include "media/webp_picture.h"

namespace vistello::media {

QStringList addedPictureExtensions() {
    return {QStringLiteral("png"),  QStringLiteral("gif"),  QStringLiteral("webp"), QStringLiteral("heic"),
            QStringLiteral("heif"), QStringLiteral("avif"), QStringLiteral("jxl")};
}

QImage decodeAddedKind(QByteArrayView bytes, const QString& suffix, qint64 maxPixels) {
    if (suffix == QLatin1String("png"))
        return decodeWithQtReader(bytes, "png", maxPixels);
    if (suffix == QLatin1String("gif"))
        return decodeWithQtReader(bytes, "gif", maxPixels);
    if (suffix == QLatin1String("webp"))
        return decodeWebp(bytes, maxPixels);
    if (suffix == QLatin1String("heic") || suffix == QLatin1String("heif") || suffix == QLatin1String("avif"))
        return decodeHeif(bytes, maxPixels);
    if (suffix == QLatin1String("jxl"))
        return decodeJxl(bytes, maxPixels);
    return {};
}

QImage decodeCompressedTiff(QByteArrayView bytes, qint64 maxPixels) {
    return isCompressedOrTiledTiff(bytes) ? decodeTiffWithLibtiff(bytes, maxPixels) : QImage();
}

} // namespace vistello::media
