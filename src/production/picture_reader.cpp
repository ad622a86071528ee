#include "production/picture_reader.h"

#include "media/jpeg_codec.h"
#include "media/message_sink.h"
#include "media/picture_file.h"
#include "media/tiff_reader.h"

#include <QFile>

namespace vistello::production {

PictureReadError::PictureReadError(std::filesystem::path path, std::vector<std::string> reasons)
    : std::runtime_error("cannot read the picture file " + path.string()), path_(std::move(path)),
      reasons_(std::move(reasons)) {}

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
        std::vector<std::string> reasons;
        for (const QString& message : messages.messages)
            reasons.push_back(message.toStdString());
        throw PictureReadError(path, std::move(reasons));
    }
    return image.format() == QImage::Format_BGR888 ? image : image.convertToFormat(QImage::Format_BGR888);
}

} // namespace vistello::production
