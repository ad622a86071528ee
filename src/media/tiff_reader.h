#pragma once
// The program's own reader of uncompressed baseline TIFF images: bilevel, 4- and 8-bit
// greyscale, 1-, 4- and 8-bit palette and 24-bit RGB, in strips, in either byte order.
//
// Every directory of the file is decoded in turn and each image that decodes replaces the
// bitmap, so a file with several images gives its last good one. Problems are reported to
// the user through the MessageSink with fixed texts; faults the user cannot act on (a
// directory without rows per strip or strip table, a side longer than 65535) end the read
// silently with the bitmap as it stood.

#include "media/message_sink.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace vistello::media {

enum class TiffReadEnd {
    Completed, // every directory was examined (messages may have been shown)
    Aborted,   // a fault ended the read early; the bitmap holds what was decoded before it
};

// Largest picture (width × height) any decoder of this module allocates by default.
inline constexpr qint64 kDefaultMaxPixels = qint64{1} << 28;

// Decodes the TIFF file into `bitmap` (Format_BGR888 on success, null when emptied).
TiffReadEnd ReadTiffFile(const QString& fileName, QImage& bitmap, MessageSink& messages,
                         qint64 maxPixels = kDefaultMaxPixels);
// The same over bytes already in memory; `fileName` only names them in messages.
TiffReadEnd readTiffData(const QByteArray& bytes, const QString& fileName, QImage& bitmap,
                         MessageSink& messages, qint64 maxPixels = kDefaultMaxPixels);

} // namespace vistello::media
