#include "production/picture_reader.h"

#include <QImageReader>

#include <stdexcept>

namespace vistello::production {

QImage readPictureFile(const std::filesystem::path& path, PictureKind kind) {
    QString extension = QString::fromStdString(path.extension().string()).toLower();
    const bool bitmap = kind == PictureKind::ByExtension && extension == QStringLiteral(".bmp");
    QImageReader reader(QString::fromStdString(path.string()), bitmap ? "bmp" : "jpeg");
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        throw std::runtime_error("无法读取图片文件 " + path.string() + "：" + reader.errorString().toStdString());
    return image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
}

} // namespace vistello::production
