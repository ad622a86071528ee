#include "media/picture_import.h"

#include "media/file_bytes.h"
#include "media/jpeg_codec.h"
#include "media/picture_file.h"
#include "store/record_file.h"
#include "store/store_error.h"

#include <QFileInfo>
#include <QSaveFile>

namespace vistello::media {

namespace {

constexpr int kJpegQuality = 90;
constexpr std::int32_t kDefaultStayTime = 3;

// A JPEG source is re-encoded while it decodes; every other source, and a JPEG that path
// does not take, is loaded whole by LoadPictureFile first.
QByteArray encodeForAlbum(const QString& source, MessageSink& messages) {
    const QString suffix = QFileInfo(source).suffix().toLower();
    if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
        const FileBytes contents(source);
        if (auto jpeg = transcodeJpeg(contents.bytes(), kJpegQuality, kDefaultMaxPixels))
            return *jpeg;
    }
    const QImage picture = LoadPictureFile(source, messages);
    return picture.isNull() ? QByteArray() : encodeJpeg(picture, kJpegQuality);
}

// One picture's turn of the import: the album's JPEG copy at `destination`, and its record.
// A source that cannot be read or decoded is left out; a picture that cannot be written
// ends the batch, since the next one would fail too.
std::variant<store::TPicInfo, store::SkipReason> importPicture(const std::filesystem::path& source,
                                                               const std::filesystem::path& destination,
                                                               MessageSink& messages) {
    const QString sourceName = QString::fromStdString(source.string());
    const QByteArray jpeg = encodeForAlbum(sourceName, messages);
    if (jpeg.isEmpty())
        return store::SkipReason::NoPicture;
    try {
        store::writeFileAtomically(destination,
                                   std::string_view(jpeg.constData(), static_cast<std::size_t>(jpeg.size())));
    } catch (const store::StoreError& error) {
        // Named after the album's copy, not the temporary file it is written through.
        throw store::StoreError(error.code().value(), store::StoreAction::Write, destination);
    }
    store::TPicInfo picture;
    picture.StayTime = kDefaultStayTime;
    picture.Effect = 0;
    picture.Remark.setText(QFileInfo(sourceName).fileName().toStdString());
    return picture;
}

} // namespace

bool ConvertPictureToJpeg(const QString& source, const QString& destination, MessageSink& messages) {
    // The picture goes into the album unchanged: no library of ours alters it on the way.
    const QByteArray jpeg = encodeForAlbum(source, messages);
    if (jpeg.isEmpty())
        return false;
    QSaveFile file(destination);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(jpeg) != jpeg.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

store::ImportResult ImportPictures(store::AlbumStore& store, const std::vector<std::filesystem::path>& files,
                                   store::ImportProgress& progress, MessageSink& messages) {
    return store::importBatch<store::TPicInfo>(
        store, files, progress,
        [&messages](const std::filesystem::path& source, const std::filesystem::path& destination) {
            return importPicture(source, destination, messages);
        });
}

} // namespace vistello::media
