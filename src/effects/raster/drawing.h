#pragma once
// The drawing steps of the transitions: stretched and mirrored block copies, drawing a picture
// through a region, and the per-byte blend of the fade.
//
// All of them clip to both bitmaps: a destination pixel is written only when it lies inside the
// destination and the source pixel it takes lies inside the source. Copies never smooth; they
// take the source pixel whose centre maps nearest to the destination pixel's centre.

#include "effects/raster/bitmap.h"
#include "effects/raster/region.h"

namespace vistello::effects {

// Stretch copy with signed extents, the platform's stretch-block-transfer in source-copy mode:
// destination origin (destX, destY) with extents destWidth × destHeight, source origin and
// extents likewise. A positive extent covers [origin, origin + extent); a negative extent covers
// [origin + extent, origin) and mirrors along that axis. A zero extent draws nothing. When dest
// and source are the same bitmap the source area is read as a whole before anything is written.
void StretchCopy(Bitmap& dest, int destX, int destY, int destWidth, int destHeight, const Bitmap& source,
                 int sourceX, int sourceY, int sourceWidth, int sourceHeight);

// destRect ← sourceRect, stretched when the sizes differ (the families' "copy").
void CopyRect(Bitmap& dest, const Rect& destRect, const Bitmap& source, const Rect& sourceRect);

// The roll-outs' mirrored copy: the source rectangle is cut to the source bitmap ((0, 0, 0, 0)
// when nothing is left); a mirrored axis swaps the destination's edges and widens by one pixel
// on each side (new left = old right + 1, new right = old left − 1); then one StretchCopy.
void DrawMirrored(Bitmap& target, const Rect& destRect, const Bitmap& source, const Rect& sourceRect,
                  bool mirrorHorizontally, bool mirrorVertically);

// Draws newPicture unscaled at (0, 0) of dest, only inside region.
void ClipDraw(Bitmap& dest, const Bitmap& newPicture, const Region& region);

// Effect 1's step: every colour byte d of dest becomes ((100 − progress) × d + progress × n) div 100,
// n the same byte of newPicture, over the area both bitmaps share. progress is clamped to 0..100.
void BlendBitmaps(Bitmap& dest, const Bitmap& newPicture, int progress);

} // namespace vistello::effects
