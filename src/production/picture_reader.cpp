#include "production/picture_reader.h"

#include "media/jpeg_codec.h"
#include "media/message_sink.h"
#include "media/picture_file.h"
#include "media/tiff_reader.h"

#include <QFile>

#include <stdexcept>

namespace vistello::production {

QImage readPictureFile(const std::filesystem::path& path, PictureKind kind) {
    const QString name = QString::fromStdString(path.string());
    media::MessageList messages;
    QImage image;
    if (kind == PictureKind::Jpeg) {
        QFile file(name);
        if (file.open(QIODevice::ReadOnly))
            image = media::decodeJpeg(file.readAll(), media::kDefaultMaxPixels);
    } else {
        image = media::LoadPictureFile(name, messages);
    }
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        std::string message = "无法读取图片文件 " + path.string();
        if (!messages.messages.isEmpty())
            message += "：" + messages.messages.join(QStringLiteral("；")).toStdString();
        throw std::runtime_error(message);
    }
    return image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
}

} // namespace vistello::production
