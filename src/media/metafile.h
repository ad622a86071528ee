#pragma once
// Windows metafiles (EMF through libemf2svg, WMF through libwmf's SVG device), rendered with
// QtSvg at their natural size onto white, as a BGR888 picture.
//
// Both libraries are old C code that trusts its input, so each file's record structure is
// checked first: records must lie inside the file, be at least as long as their header and
// end with the end-of-file record. Anything else never reaches the library.

#include <QByteArrayView>
#include <QImage>

namespace vistello::media {

// Null when the bytes are not a well-formed metafile, cannot be converted, have no size or
// would be larger than `maxPixels`.
QImage decodeEmf(QByteArrayView bytes, qint64 maxPixels);
QImage decodeWmf(QByteArrayView bytes, qint64 maxPixels);

// The same checks on their own, exposed for tests.
bool emfStructureValid(QByteArrayView bytes);
bool wmfStructureValid(QByteArrayView bytes);

} // namespace vistello::media
