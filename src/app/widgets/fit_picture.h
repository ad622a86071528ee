#pragma once
// FitPicture: where a picture of W x H goes in a box of A x B so that it fits without
// distortion and sits in the middle. Smaller pictures are enlarged, larger ones reduced.
// The preview panel's routine; the picture editor's image controls round the other way
// (roundedFitRect in picture_fitting.h, which says why both exist).

#include <QRect>
#include <QSize>
#include <optional>

namespace vistello::app {

// The picture's rectangle inside the box, or nothing for an empty picture. Sizes are whole
// pixels (fraction dropped); the offsets round halves to the even neighbour.
std::optional<QRect> FitPicture(QSize picture, QSize box);

} // namespace vistello::app
