#pragma once
// The program's own artwork, drawn in code: the three 16 x 16 list icons and the splash picture.

#include <QIcon>
#include <QPixmap>

namespace vistello::app {

enum class ListIcon { Picture = 0, Song = 1, Album = 2 };

// The icons of ImageList1: green stacked frames, a green note, a round album.
QIcon listIcon(ListIcon which);

// The 414 x 285 splash picture.
QPixmap splashPicture();

} // namespace vistello::app
