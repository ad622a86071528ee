#include "media/picture_file.h"

#include "media/added_picture_kinds.h"
#include "media/file_bytes.h"
#include "media/jpeg_codec.h"
#include "media/metafile.h"
#include "media/picture_on_white.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace vistello::media {

namespace {

// An icon file holds one picture at several sizes: the largest that fits `maxPixels` shows it
// best.
void jumpToLargestImage(QImageReader& reader, qint64 maxPixels) {
    int best = 0;
    qint64 bestArea = -1;
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        const QSize size = reader.size();
        const qint64 area = qint64{size.width()} * size.height();
        if (size.isValid() && area <= maxPixels && area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    reader.jumpToImage(best);
}

// BMP and ICO through Qt's image readers, with the size checked before anything is allocated.
QImage readWithQt(QByteArrayView bytes, const char* format, qint64 maxPixels) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), bytes.size());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setDecideFormatFromContent(false);
    reader.setAutoTransform(false);
    if (qstrcmp(format, "ico") == 0)
        jumpToLargestImage(reader, maxPixels);
    const QSize size = reader.size();
    if (size.isValid() && qint64{size.width()} * size.height() > maxPixels)
        return {};
    // Qt's own allocation ceiling would refuse pictures this module accepts.
    reader.setAllocationLimit(static_cast<int>(std::min<qint64>(maxPixels * 4 / (1024 * 1024) + 1, 1 << 30)));
    QImage picture = reader.read();
    if (picture.isNull() || qint64{picture.width()} * picture.height() > maxPixels)
        return {};
    return pictureOnWhite(picture);
}

QImage loadByExtension(QByteArrayView bytes, const QString& suffix, qint64 maxPixels) {
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
        return decodeJpeg(bytes, maxPixels);
    if (suffix == QLatin1String("bmp"))
        return readWithQt(bytes, "bmp", maxPixels);
    if (suffix == QLatin1String("ico"))
        return readWithQt(bytes, "ico", maxPixels);
    if (suffix == QLatin1String("emf"))
        return decodeEmf(bytes, maxPixels);
    if (suffix == QLatin1String("wmf"))
        return decodeWmf(bytes, maxPixels);
    return decodeAddedKind(bytes, suffix, maxPixels);
}

} // namespace

QImage decodePicture(QByteArrayView bytes, const QString& fileName, MessageSink& messages, qint64 maxPixels) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    QImage picture = loadByExtension(bytes, suffix, maxPixels);
    if (!picture.isNull())
        return picture;
    picture = decodeCompressedTiff(bytes, maxPixels);
    if (!picture.isNull())
        return picture;
    // Unknown extensions and files their loader refused: the TIFF reader decides, and says why not.
    readTiffData(QByteArray::fromRawData(bytes.data(), bytes.size()), fileName, picture, messages, maxPixels);
    return picture;
}

QImage LoadPictureFile(const QString& fileName, MessageSink& messages, qint64 maxPixels) {
    QImage picture;
    LoadPictureFile(fileName, picture, messages, maxPixels);
    return picture;
}

void LoadPictureFile(const QString& fileName, QImage& target, MessageSink& messages, qint64 maxPixels) {
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return;
    const FileBytes contents(fileName);
    target = decodePicture(contents.bytes(), fileName, messages, maxPixels);
}

} // namespace vistello::media
