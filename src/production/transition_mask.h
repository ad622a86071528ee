#pragma once
// Transitions between pictures that move. The effect procedure (its contract unchanged) draws
// its steps into a coverage mask instead of the frame: a black bitmap onto which the "new
// picture" is plain white, so that each mask value tells how much of the new picture a pixel
// shows (0 none, 255 all; a fade leaves values between). Each frame then blends the two
// pictures, each rendered at its own place and time, through the mask: the revealed part of
// the new picture always shows it whole where it stands now, and the rest shows the old one,
// whatever the effect would have moved or stretched.

#include "effects/raster/bitmap.h"

#include <cstdint>
#include <vector>

namespace vistello::production {

// out = old × (255 − mask) / 255 + next × mask / 255, value by value, rounded; a mask value of
// 0 gives the old value exactly and 255 the new one. All four bitmaps are of one size; `out`
// may be `old` or `next`.
void blendThroughMask(const effects::Bitmap& mask, const effects::Bitmap& old, const effects::Bitmap& next,
                      effects::Bitmap& out);

// Brings a coverage mask drawn at the frame's square-pixel compose size to the width of the
// stored picture (same height), where frames of moving pictures are drawn: the effect keeps
// its proportions on the screen whatever the pixel shape. Each value is the linear
// interpolation of the two nearest mask columns (centres aligned), so wholly covered and
// wholly uncovered parts stay exactly 255 and 0 and only the effect's edges get values between.
class MaskWidthScaler {
  public:
    // `out` keeps its width; it takes the mask's height.
    void scale(const effects::Bitmap& mask, effects::Bitmap& out);

  private:
    int fromWidth_ = 0, toWidth_ = 0;   // of the table below
    std::vector<int> left_;             // per output column: the left mask column's first value
    std::vector<std::uint16_t> weight_; // per output column: of the right column, in 256ths
};

} // namespace vistello::production
