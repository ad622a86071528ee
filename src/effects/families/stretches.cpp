// Stretches, roll-outs and flow-ins: copies that scale part of the new picture. A stretch
// magnifies the part a wipe would show over the whole picture and shrinks it to true size by the
// end; a roll-out uncovers the picture with a mirrored strip beside the uncovered part, like the
// back of an unrolling sheet; a flow-in smears the strip just beyond the uncovered part over the
// rest.

#include "effects/engine/geometry.h"
#include "effects/families/families.h"
#include "effects/raster/drawing.h"

#include <algorithm>

namespace vistello::effects {

namespace {

Extents measures(const Rect& rect, int grain, int progress) {
    return ProgressExtents(rect, grain, progress);
}

// Length of the roll at extent e on a side of length s: grows from nothing, keeps a tenth of the
// side in the middle of the transition, shrinks to nothing at the end.
int rollLength(int e, int s) {
    if (e < s / 5)
        return e / 2;
    if (s < e + s / 5)
        return (s - e) / 2;
    return s / 10;
}

} // namespace

// Stretches from one edge: a source extent X becomes a destination extent 2W − X.
void Effect6(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, 0, 2 * e.W - e.X, e.H}, New, {0, 0, e.X, e.H});
}

void Effect7(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.X - e.W, 0, e.W, e.H}, New, {e.W - e.X, 0, e.W, e.H});
}

void Effect19(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, 0, e.W, 2 * e.H - e.Y}, New, {0, 0, e.W, e.Y});
}

void Effect20(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, e.Y - e.H, e.W, e.H}, New, {0, e.H - e.Y, e.W, e.H});
}

// Stretches toward the middle: X becomes 3W − 2X.
void Effect8(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.X - e.W, 0, 2 * e.W - e.X, e.H}, New, {(e.W - e.X) / 2, 0, (e.W + e.X) / 2, e.H});
}

void Effect21(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, e.Y - e.H, e.W, 2 * e.H - e.Y}, New, {0, (e.H - e.Y) / 2, e.W, (e.H + e.Y) / 2});
}

// Stretches from a corner, and toward the centre.
void Effect32(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, 0, 2 * e.W - e.X, 2 * e.H - e.Y}, New, {0, 0, e.X, e.Y});
}

void Effect33(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, e.Y - e.H, 2 * e.W - e.X, e.H}, New, {0, e.H - e.Y, e.X, e.H});
}

void Effect34(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.X - e.W, e.Y - e.H, e.W, e.H}, New, {e.W - e.X, e.H - e.Y, e.W, e.H});
}

void Effect35(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.X - e.W, 0, e.W, 2 * e.H - e.Y}, New, {e.W - e.X, 0, e.W, e.Y});
}

void Effect36(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.X - e.W, e.Y - e.H, 2 * e.W - e.X, 2 * e.H - e.Y}, New,
             {(e.W - e.X) / 2, (e.H - e.Y) / 2, (e.W + e.X) / 2, (e.H + e.Y) / 2});
}

// Roll-outs: the roll first (the strip just beyond the uncovered part, mirrored across the
// roll's outer edge), then the uncovered part exactly.
void Effect11(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    const int r = e.X + rollLength(e.X, e.W);
    DrawMirrored(Dest, {e.X, 0, r, e.H}, New, {r, 0, 2 * r - e.X, e.H}, true, false);
    CopyRect(Dest, {0, 0, e.X, e.H}, New, {0, 0, e.X, e.H});
}

void Effect12(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    const int edge = e.W - e.X;
    const int f = edge - rollLength(e.X, e.W);
    DrawMirrored(Dest, {f, 0, edge, e.H}, New, {2 * f - edge, 0, f, e.H}, true, false);
    CopyRect(Dest, {edge, 0, e.W, e.H}, New, {edge, 0, e.W, e.H});
}

void Effect24(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    const int r = e.Y + rollLength(e.Y, e.H);
    DrawMirrored(Dest, {0, e.Y, e.W, r}, New, {0, r, e.W, 2 * r - e.Y}, false, true);
    CopyRect(Dest, {0, 0, e.W, e.Y}, New, {0, 0, e.W, e.Y});
}

void Effect25(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    const int edge = e.H - e.Y;
    const int f = edge - rollLength(e.Y, e.H);
    DrawMirrored(Dest, {0, f, e.W, edge}, New, {0, 2 * f - edge, e.W, f}, false, true);
    CopyRect(Dest, {0, edge, e.W, e.H}, New, {0, edge, e.W, e.H});
}

// Flow-ins: the uncovered part exactly, then the strip of W div B columns (H div B rows) just
// beyond it stretched over the covered rest, cut at the picture's edge.
void Effect13(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, 0, e.X, e.H}, New, {0, 0, e.X, e.H});
    CopyRect(Dest, {e.X, 0, e.W, e.H}, New, {e.X, 0, std::min(e.X + e.W / e.B, e.W), e.H});
}

void Effect14(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {e.W - e.X, 0, e.W, e.H}, New, {e.W - e.X, 0, e.W, e.H});
    CopyRect(Dest, {0, 0, e.W - e.X, e.H}, New, {std::max(e.W - e.X - e.W / e.B, 0), 0, e.W - e.X, e.H});
}

void Effect26(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, 0, e.W, e.Y}, New, {0, 0, e.W, e.Y});
    CopyRect(Dest, {0, e.Y, e.W, e.H}, New, {0, e.Y, e.W, std::min(e.Y + e.H / e.B, e.H)});
}

void Effect27(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = measures(rect, Grain, Progress);
    CopyRect(Dest, {0, e.H - e.Y, e.W, e.H}, New, {0, e.H - e.Y, e.W, e.H});
    CopyRect(Dest, {0, 0, e.W, e.H - e.Y}, New, {0, std::max(e.H - e.Y - e.H / e.B, 0), e.W, e.H - e.Y});
}

} // namespace vistello::effects
