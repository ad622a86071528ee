#pragma once
// Plays the records of a Windows metafile onto a GdiCanvas and renders it onto white: the
// frame of a placeable header at its units per inch, else the metafile's window at one unit
// a pixel.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media::metafile {

// `bytes` must have passed wmfStructureValid. Null when nothing can be shown, the picture
// would exceed `maxPixels` or the drawing is over its work budget (GdiCanvas).
QImage playWmf(QByteArrayView bytes, qint64 maxPixels);

} // namespace vistello::media::metafile
