#pragma once
// Composing one picture into a video frame, and softening a frame.
//
// A picture is fitted into a work area three times the frame's size, keeping its proportions,
// over the background (a colour, or a background picture stretched to the whole area), and the
// work area is then reduced to the frame by taking the mean of every 3 × 3 block. Stretches
// copy or drop whole pixels, never interpolate. The work area is never materialised: each
// frame pixel sums its nine work pixels through per-row and per-column lookups, which gives
// the same values for a fraction of the memory.

#include "effects/raster/bitmap.h"

#include <QImage>

namespace vistello::production {

// Where a pw × ph picture goes in the work area of a frameWidth × frameHeight frame.
struct PictureFit {
    int workWidth = 0, workHeight = 0; // 3 × the frame
    int drawWidth = 0, drawHeight = 0; // dw, dh
    int left = 0, top = 0;             // ox, oy
    effects::Rect rect;                // (ox, oy) to (work − ox, work − oy), right and bottom excluded
};
PictureFit fitPicture(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight);

// Composes `picture` (Format_BGR888) into `frame`, which keeps its size. `background` is
// stretched behind it when it is not null; otherwise `colour` (0x00BBGGRR) fills the frame.
void ComposePicture(const QImage& picture, const QImage& background, std::uint32_t colour,
                    effects::Bitmap& frame);

// Softens a frame in place: rows 1 to H − 2 top-down, columns 1 to W − 2 left to right, each
// colour value becomes the integer mean of its 3 × 3 neighbourhood as it stands at that moment
// (the pixels above and to the left are already softened). The outermost rows and columns stay.
void SoftenBitmap(effects::Bitmap& frame);

// Softening that grows with the frame: radius 1 is SoftenBitmap; a larger radius takes the mean
// of the (2r + 1) × (2r + 1) neighbourhood (a box blur, rows then columns, of the pixels as they
// were), so a 2160-line frame softens as visibly as a 576-line one. The outermost r rows and
// columns stay.
void SoftenBitmap(effects::Bitmap& frame, int radius);

} // namespace vistello::production
