#pragma once
// The order in which a batch of pictures goes into an album: by the date each was taken
// (EXIF DateTimeOriginal, else the file's modification time), or by file name in the order
// people read numbered names (IMG_2 before IMG_10). The user's last choice is remembered in
// the store's folder for the next import.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <optional>

namespace vistello::media {

enum class PictureOrder { ByDateTaken, ByName };

// The DateTimeOriginal of an EXIF block ("YYYY:MM:DD HH:MM:SS", taken as local time), if any.
std::optional<QDateTime> exifDateTaken(QByteArrayView block);

// When the picture was taken: its EXIF DateTimeOriginal (JPEG, PNG, WebP, HEIC/AVIF, TIFF),
// else the file's modification time; invalid when the file cannot be read.
QDateTime pictureDateTaken(const QString& path);

// The files in that order; files of equal date or name keep the order they came in.
QStringList orderPictures(const QStringList& files, PictureOrder order);

// The choice remembered in `root` (by date when nothing is remembered yet), and remembering one.
PictureOrder rememberedPictureOrder(const std::filesystem::path& root);
void rememberPictureOrder(const std::filesystem::path& root, PictureOrder order);

} // namespace vistello::media
