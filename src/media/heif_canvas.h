#pragma once
// The canvas of a HEIF/AVIF file's primary picture when that picture is composed (a grid of
// tiles or an overlay): the width and height its own item data gives, read from the file's
// boxes (pitm, iinf, iloc, idat) without decoding. libheif allocates a canvas of this size
// whatever size the file declares for the picture, so the decoder compares the two first.

#include <QByteArrayView>
#include <QSize>

#include <optional>

namespace vistello::media {

// The canvas size, or nothing when the primary picture is coded directly (no canvas), or
// when the boxes do not lead to its item data (libheif then refuses or decides alone).
std::optional<QSize> heifComposedCanvas(QByteArrayView file);

// Whether the primary picture is an identity-derived item ('iden', a copy of another item).
// libheif 1.15 stops the whole program on an assertion when such an item names no picture, so
// the decoder refuses these (cameras and converters do not write them as the primary picture).
bool heifPrimaryIsDerivedCopy(QByteArrayView file);

} // namespace vistello::media
