// Curved and elliptic reveals (effects 41, 42, 51, 52, 59 to 64).
//
// Each member builds one rounded-rectangle region and draws the new picture through it. The
// curved reveals slide a rounded rectangle two picture sizes long in from an edge or a corner so
// that only its wide curved end crosses the picture: the tip stands at 2X (or 2Y) and its corner
// ellipses are two pictures wide, so the arc's ends reach the far edge at P = 100. The elliptic
// reveals grow a near-ellipse from the centre (63) or cut a shrinking one out of the whole
// picture (64).

#include "effects/families/families.h"

#include "effects/engine/geometry.h"
#include "effects/raster/drawing.h"
#include "effects/raster/region.h"

namespace vistello::effects {

namespace {

void drawRoundRect(Bitmap& Dest, const Bitmap& New, int left, int top, int right, int bottom,
                   int ellipseWidth, int ellipseHeight) {
    Region region;
    region.setRoundRect(left, top, right, bottom, ellipseWidth, ellipseHeight);
    ClipDraw(Dest, New, region);
}

} // namespace

void Effect41(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawRoundRect(Dest, New, -2 * e.W, -5, 2 * e.X, e.H + 5, 2 * e.W, 2 * e.W);
}

void Effect42(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawRoundRect(Dest, New, e.W - 2 * e.X, -5, 3 * e.W, e.H + 5, 2 * e.W, 2 * e.W);
}

void Effect51(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawRoundRect(Dest, New, -5, -2 * e.H, e.W + 5, 2 * e.Y, 2 * e.H, 2 * e.H);
}

void Effect52(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawRoundRect(Dest, New, -5, e.H - 2 * e.Y, e.W + 5, 3 * e.H, 2 * e.H, 2 * e.H);
}

void Effect59(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawRoundRect(Dest, New, -2 * e.W, -2 * e.H, 2 * e.X, 2 * e.Y, 2 * e.W, 2 * e.H);
}

void Effect60(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawRoundRect(Dest, New, e.W - 2 * e.X, -2 * e.H, 3 * e.W, 2 * e.Y, 2 * e.W, 2 * e.H);
}

void Effect61(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawRoundRect(Dest, New, -2 * e.W, e.H - 2 * e.Y, 2 * e.X, 3 * e.H, 2 * e.W, 2 * e.H);
}

// Unlike its three corner siblings, the bottom-right member's corner ellipse is 2H wide (not 2W),
// which gives a wide picture a tighter arc from this corner.
void Effect62(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawRoundRect(Dest, New, e.W - 2 * e.X, e.H - 2 * e.Y, 3 * e.W, 3 * e.H, 2 * e.H, 2 * e.H);
}

void Effect63(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const int cx = e.W / 2;
    const int cy = e.H / 2;
    drawRoundRect(Dest, New, cx - e.X, cy - e.Y, cx + e.X, cy + e.Y, (9 * e.X) / 5, (9 * e.Y) / 5);
}

// The whole picture minus a centred near-ellipse that shrinks from twice the picture's size to
// nothing. Near the end its edges meet and then cross (for an odd size at P = 100 the right edge
// lands one pixel left of the left one); a rounded rectangle whose edges have met or crossed is
// empty here, so the last step draws the whole picture instead of leaving its centre pixel out.
void Effect64(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const int left = e.X - e.W / 2;
    const int top = e.Y - e.H / 2;
    const int right = (3 * e.W) / 2 - e.X;
    const int bottom = (3 * e.H) / 2 - e.Y;
    Region region(Rect{0, 0, e.W, e.H});
    if (left < right && top < bottom) {
        Region shape;
        shape.setRoundRect(left, top, right, bottom, (9 * (e.W - e.X)) / 5, (9 * (e.H - e.Y)) / 5);
        region.exclusiveOr(shape);
    }
    ClipDraw(Dest, New, region);
}

} // namespace vistello::effects
