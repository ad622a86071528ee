#include "effects/raster/drawing.h"

namespace vistello::effects {

void StretchCopy(Bitmap&, int, int, int, int, const Bitmap&, int, int, int, int) {}

void CopyRect(Bitmap& dest, const Rect& destRect, const Bitmap& source, const Rect& sourceRect) {
    StretchCopy(dest, destRect.left, destRect.top, destRect.width(), destRect.height(), source, sourceRect.left,
                sourceRect.top, sourceRect.width(), sourceRect.height());
}

void DrawMirrored(Bitmap&, const Rect&, const Bitmap&, const Rect&, bool, bool) {}

void ClipDraw(Bitmap&, const Bitmap&, const Region&) {}

void BlendBitmaps(Bitmap&, const Bitmap&, int) {}

} // namespace vistello::effects
