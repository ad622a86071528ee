#pragma once
// Fitting a picture into an image control: the picture keeps its proportions, fills the
// control's width or its height and is centred on black. Also the row copies between QImage
// and the effects module's Bitmap, which share the 24-bit blue-green-red row layout.

#include "effects/raster/bitmap.h"

#include <QImage>
#include <QRect>
#include <QString>

namespace vistello::media {
class MessageSink;
}

namespace vistello::app {

class PictureView;

// Where a picture of size `picture` goes inside a box of size `box`: the full height when the
// box is at least as wide in proportion, else the full width, the other side rounded halves
// to even, centred with the offsets rounded toward zero. Empty when either size is not
// positive (a missing or unreadable picture), so the caller shows plain black.
QRect fittedRect(QSize picture, QSize box);

// A box-sized 24-bit picture: black, with `picture` stretched without smoothing into
// fittedRect(picture.size(), box).
QImage fitPicture(const QImage& picture, QSize box);

// Gives `image` its parent's client size, reads the picture file and shows it fitted and
// centred on black. A missing or unreadable file shows the black box; problems the reader
// reports go to `messages`.
void LoadPictureFitted(const QString& fileName, PictureView& image, media::MessageSink& messages);

// Row copies between a QImage (any format; converted to 24-bit BGR first) and a Bitmap.
effects::Bitmap toBitmap(const QImage& image);
QImage toImage(const effects::Bitmap& bitmap);

} // namespace vistello::app
