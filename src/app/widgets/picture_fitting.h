#pragma once
// Fitting a picture into an image control: the picture keeps its proportions, fills the
// control's width or its height and is centred on black.
//
// Why there are two fitting routines: FitPicture (fit_picture.h) is the preview panel's, which
// cuts the stretched side to whole pixels and rounds the centring offsets; the image controls
// of the picture editor stretch the way the platform's image control does, rounding the
// stretched side and cutting the offsets. The two differ by a pixel for some sizes, and each
// control shows its pictures where it always did, so both are kept, under names that say
// which rounding they use.

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
QRect roundedFitRect(QSize picture, QSize box);

// A box-sized 24-bit picture: black, with `picture` stretched without smoothing into
// roundedFitRect(picture.size(), box).
QImage fitIntoBlackBox(const QImage& picture, QSize box);

// Gives `image` its parent's client size, reads the picture file and shows it fitted and
// centred on black. A missing or unreadable file shows the black box; problems the reader
// reports go to `messages`.
void LoadPictureFitted(const QString& fileName, PictureView& image, media::MessageSink& messages);

} // namespace vistello::app
