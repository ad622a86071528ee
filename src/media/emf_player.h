#pragma once
// Plays the records of an enhanced metafile onto a GdiCanvas and renders the picture its
// header frames, at screen resolution, onto white.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media::metafile {

// `bytes` must have passed emfStructureValid. Null when nothing can be shown, the picture
// would exceed `maxPixels` or the drawing is over its work budget (GdiCanvas).
QImage playEmf(QByteArrayView bytes, qint64 maxPixels);

} // namespace vistello::media::metafile
