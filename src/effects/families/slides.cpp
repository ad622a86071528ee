// Slides, wipes and pushes: the new picture comes in at its own scale by plain rectangle copies.
// A slide moves the whole picture in from an edge, a wipe shows it in place behind growing
// rectangles, a push shifts what is on screen and fills the gap from the new picture's edge.

#include "effects/engine/geometry.h"
#include "effects/families/families.h"
#include "effects/raster/drawing.h"

namespace vistello::effects {

namespace {

Extents measures(const Rect& rect, int grain, int progress) {
    return ProgressExtents(rect, grain, progress);
}

// The new picture shows in place over r.
void wipe(Bitmap& dest, const Bitmap& picture, const Rect& r) {
    CopyRect(dest, r, picture, r);
}

} // namespace

// Slides: the whole picture, unscaled, moved in by the extent reached.
void Effect2(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.W - e.X, 0, 2 * e.W - e.X, e.H}, New, {0, 0, e.W, e.H});
}

void Effect3(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.X - e.W, 0, e.X, e.H}, New, {0, 0, e.W, e.H});
}

void Effect15(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, e.H - e.Y, e.W, 2 * e.H - e.Y}, New, {0, 0, e.W, e.H});
}

void Effect16(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, e.Y - e.H, e.W, e.Y}, New, {0, 0, e.W, e.H});
}

// Wipes from an edge.
void Effect4(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, 0, e.X, e.H});
}

void Effect5(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {e.W - e.X, 0, e.W, e.H});
}

void Effect17(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, 0, e.W, e.Y});
}

void Effect18(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, e.H - e.Y, e.W, e.H});
}

// Bands from the middle, and from both edges toward it (one extra pixel per piece).
void Effect9(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {(e.W - e.X) / 2, 0, (e.W + e.X) / 2, e.H});
}

void Effect22(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, (e.H - e.Y) / 2, e.W, (e.H + e.Y) / 2});
}

void Effect10(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, 0, e.X / 2 + 1, e.H});
    wipe(Dest, New, {e.W - e.X / 2 - 1, 0, e.W, e.H});
}

void Effect23(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, 0, e.W, e.Y / 2 + 1});
    wipe(Dest, New, {0, e.H - e.Y / 2 - 1, e.W, e.H});
}

// Rectangles growing from a corner or the centre.
void Effect28(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, 0, e.X, e.Y});
}

void Effect29(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, e.H - e.Y, e.X, e.H});
}

void Effect30(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {e.W - e.X, e.H - e.Y, e.W, e.H});
}

void Effect31(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {e.W - e.X, 0, e.W, e.Y});
}

void Effect37(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {(e.W - e.X) / 2, (e.H - e.Y) / 2, (e.W + e.X) / 2, (e.H + e.Y) / 2});
}

// A frame of four bands closing in toward the centre.
void Effect38(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    wipe(Dest, New, {0, 0, e.W, e.Y / 2});
    wipe(Dest, New, {0, e.H - e.Y / 2, e.W, e.H});
    wipe(Dest, New, {0, 0, e.X / 2, e.H});
    wipe(Dest, New, {e.W - e.X / 2, 0, e.W, e.H});
}

// Four corner rectangles growing toward the centre.
void Effect39(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    const int a = e.X / 2 + 1;
    const int b = e.Y / 2 + 1;
    wipe(Dest, New, {0, 0, a, b});
    wipe(Dest, New, {0, e.H - b, a, e.H});
    wipe(Dest, New, {e.W - a, e.H - b, e.W, e.H});
    wipe(Dest, New, {e.W - a, 0, e.W, b});
}

// The four quarters slide in from the left, top, right and bottom; the pieces overlap the
// centre lines by a pixel, so their copies may stretch by one pixel.
void Effect40(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    const int hw = e.W / 2;
    const int hh = e.H / 2;
    const int hx = e.X / 2;
    const int hy = e.Y / 2;
    CopyRect(Dest, {(e.X - e.W) / 2, 0, hx + 1, hh + 1}, New, {0, 0, hw + 1, hh + 1});
    CopyRect(Dest, {hw - 1, (e.Y - e.H) / 2, e.W, hy + 1}, New, {hw - 1, 0, e.W, hh + 1});
    CopyRect(Dest, {e.W - hx, hh - 1, e.W + (e.W - e.X) / 2, e.H}, New, {hw + 1, hh - 1, e.W, e.H});
    CopyRect(Dest, {0, e.H - hy, hw + 1, e.H + (e.H - e.Y) / 2}, New, {0, hh + 1, hw + 1, e.H});
}

// Pushes: Dest shifts by the whole extent of this step, then the gap takes the new picture's
// matching edge.
void Effect95(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.X, 0, e.W, e.H}, Dest, {0, 0, e.W - e.X, e.H});
    CopyRect(Dest, {0, 0, e.X, e.H}, New, {e.W - e.X, 0, e.W, e.H});
}

void Effect96(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, 0, e.W - e.X, e.H}, Dest, {e.X, 0, e.W, e.H});
    CopyRect(Dest, {e.W - e.X, 0, e.W, e.H}, New, {0, 0, e.X, e.H});
}

void Effect97(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, e.Y, e.W, e.H}, Dest, {0, 0, e.W, e.H - e.Y});
    CopyRect(Dest, {0, 0, e.W, e.Y}, New, {0, e.H - e.Y, e.W, e.H});
}

void Effect98(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, 0, e.W, e.H - e.Y}, Dest, {0, e.Y, e.W, e.H});
    CopyRect(Dest, {0, e.H - e.Y, e.W, e.H}, New, {0, 0, e.W, e.Y});
}

} // namespace vistello::effects
