#pragma once
// Transitions between pictures that move. The effect procedure (its contract unchanged) draws
// its steps into a coverage mask instead of the frame: a black bitmap onto which the "new
// picture" is plain white, so that each mask value tells how much of the new picture a pixel
// shows (0 none, 255 all; a fade leaves values between). Each frame then blends the two
// pictures, each rendered at its own place and time, through the mask: the revealed part of
// the new picture always shows it whole where it stands now, and the rest shows the old one,
// whatever the effect would have moved or stretched.

#include "effects/raster/bitmap.h"

namespace vistello::production {

// out = old × (255 − mask) / 255 + next × mask / 255, value by value, rounded; a mask value of
// 0 gives the old value exactly and 255 the new one. All four bitmaps are of one size; `out`
// may be `old` or `next`.
void blendThroughMask(const effects::Bitmap& mask, const effects::Bitmap& old, const effects::Bitmap& next,
                      effects::Bitmap& out);

} // namespace vistello::production
