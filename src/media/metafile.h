#pragma once
// Windows metafiles (EMF and WMF), played record by record onto QPainter by the program's own
// players and rendered at their natural size (screen resolution) onto white, as a BGR888
// picture.
//
// Each file's record structure is checked first: records must lie inside the file, be at
// least as long as their header (an EMF record as long as the fixed fields the player reads)
// and end with the end-of-file record. Anything else is refused as a whole; inside a record
// the players read every count and offset through bounds-checked views.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media {

// Null when the bytes are not a well-formed metafile, cannot be converted, have no size, would
// be larger than `maxPixels`, or would cost more work to play and paint than any real drawing
// (a budget counted per record and priced before painting, the same on every machine).
QImage decodeEmf(QByteArrayView bytes, qint64 maxPixels);
QImage decodeWmf(QByteArrayView bytes, qint64 maxPixels);

// The same checks on their own, exposed for tests.
bool emfStructureValid(QByteArrayView bytes);
bool wmfStructureValid(QByteArrayView bytes);

} // namespace vistello::media
