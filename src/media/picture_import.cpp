#include "media/picture_import.h"

#include "media/file_bytes.h"
#include "media/jpeg_codec.h"
#include "media/picture_file.h"
#include "store/album_store.h"
#include "store/list_operations.h"
#include "store/record_file.h"
#include "store/store_error.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <system_error>
#include <vector>

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

ImportResult ImportPictures(store::AlbumStore& store, const QStringList& files, ImportProgress& progress,
                            MessageSink& messages) {
    ImportResult result;
    const std::filesystem::path folder = store.AlbumPath();
    if (folder.empty())
        return result;
    const std::size_t firstNew = store.PicList.size();
    std::vector<std::filesystem::path> written;
    const auto count = static_cast<int>(files.size());
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            result.cancelled = true;
            break;
        }
        progress.fileStarting(i, count, files[i]);
        const std::string storedName = "P" + NextFreeFileNumber(folder, "P", "jpg") + ".jpg";
        // A source that cannot be read or decoded is skipped without a word; a picture that
        // cannot be written ends the batch with the error, since the next one would fail too.
        const QByteArray jpeg = encodeForAlbum(files[i], messages);
        if (jpeg.isEmpty()) {
            ++result.skipped;
            continue;
        }
        try {
            store::writeFileAtomically(
                folder / storedName,
                std::string_view(jpeg.constData(), static_cast<std::size_t>(jpeg.size())));
        } catch (const store::StoreError& error) {
            // The pictures before it stay when the list can be saved with them.
            if (!written.empty())
                store::saveImportedBatch(store, store::MediaList::Pictures, firstNew, written);
            throw store::StoreError(error.code().value(), store::StoreAction::Write, folder / storedName);
        }
        written.push_back(folder / storedName);
        store::TPicInfo picture;
        picture.StayTime = kDefaultStayTime;
        picture.Effect = 0;
        picture.Remark.setText(QFileInfo(files[i]).fileName().toStdString());
        picture.FileName.setText(storedName);
        store.PicList.push_back(picture);
        ++result.imported;
    }
    store::saveImportedBatch(store, store::MediaList::Pictures, firstNew, written);
    return result;
}

} // namespace vistello::media
