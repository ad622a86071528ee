#pragma once
// LoadPictureFile: any picture file the program accepts (JPEG, BMP, ICO, EMF, WMF, TIFF, and
// the kinds of added_picture_kinds.h: PNG, GIF, WebP, HEIC/HEIF, AVIF, JPEG XL)
// into a 24-bit blue-green-red picture (QImage::Format_BGR888, rows 32-bit aligned, the
// memory layout of the effects module's Bitmap, so callers convert with a row copy).
//
// The file's extension picks the loader; a file the loader refuses, and every other
// extension, goes to libtiff when it is a compressed or tiled TIFF file and otherwise to the
// program's own TIFF reader, which reports its problems through the MessageSink.
// Transparent parts come out white. The call never throws and never crashes on any bytes;
// a failure gives a null picture.

#include "media/message_sink.h"
#include "media/tiff_reader.h"

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace vistello::media {

// The picture of the file, or null when the file is missing or nothing could decode it.
QImage LoadPictureFile(const QString& fileName, MessageSink& messages, qint64 maxPixels = kDefaultMaxPixels);

// Loads into `target`; a file that does not exist leaves `target` exactly as it was,
// otherwise `target` becomes the result, possibly null.
void LoadPictureFile(const QString& fileName, QImage& target, MessageSink& messages,
                     qint64 maxPixels = kDefaultMaxPixels);

// The same decoding over bytes in memory; the extension of `fileName` picks the loader and
// the name appears in messages.
QImage decodePicture(QByteArrayView bytes, const QString& fileName, MessageSink& messages,
                     qint64 maxPixels = kDefaultMaxPixels);

} // namespace vistello::media
