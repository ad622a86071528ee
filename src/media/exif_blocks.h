#pragma once
// Where each picture kind keeps its EXIF block (TIFF-form: "II"/"MM", 42, directories): a
// JPEG's APP1 "Exif" segment, PNG's eXIf chunk, WebP's EXIF chunk, a HEIF/AVIF file's Exif
// item, and a TIFF file, which is such a block itself. Each finder gives the block within the
// file's bytes (without the "Exif\0\0" start), or an empty view when there is none.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vistello::media {

QByteArrayView jpegExifBlock(QByteArrayView bytes);
QByteArrayView pngExifBlock(QByteArrayView bytes);
QByteArrayView webpExifBlock(QByteArrayView bytes);
// A copy, since libheif hands out the item's bytes rather than a place in the file.
QByteArray heifExifBlock(QByteArrayView bytes);

// The EXIF block of a picture file's bytes, by the extension (lower case) of its kind; it
// refers to `bytes` (except for HEIF), so it must not outlive them.
QByteArray exifBlockOf(QByteArrayView bytes, const QString& suffix);

} // namespace vistello::media
