// Effect 1, the fade: the only effect that mixes the two pictures' pixels.

#include "effects/families/families.h"
#include "effects/raster/drawing.h"

namespace vistello::effects {

void Effect1(Bitmap& Dest, const Bitmap& New, const Rect&, int, int Progress, RandomSource&) {
    BlendBitmaps(Dest, New, Progress);
}

} // namespace vistello::effects
