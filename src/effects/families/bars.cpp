// Bars, criss-cross and blinds: the new picture is drawn through a region of regular stripes.

#include "effects/families/bars.h"

#include "effects/engine/geometry.h"
#include "effects/families/families.h"
#include "effects/raster/drawing.h"

namespace vistello::effects {

namespace {

// One set of bands, written once for both directions: `along` is the axis the bands advance on
// (x for horizontal bands), `across` the axis their thickness lies on.
struct BandSet {
    Region& result;
    bool vertical; // bands are columns advancing along y
    int S;

    void add(int along0, int across0, int along1, int across1) const {
        if (vertical)
            result.unite(Rect{across0, along0, across1, along1});
        else
            result.unite(Rect{along0, across0, along1, across1});
    }

    // ext: extent reached along the bands; length: the side they advance on; breadth: the side
    // their thickness stacks up on.
    void build(int mode, int ext, int length, int breadth, int B) const {
        if (mode < StripeFarThenFar || mode > StripeFarThenNear)
            return;
        // Both-ways bands never take a second phase; an extent beyond the side is the whole side.
        if (mode == StripeBothWays && ext > length)
            ext = length;
        if (ext <= length) {
            if (length - ext < B)
                ext = length;
            for (int i = 0; i < breadth + S; i += 2 * S) {
                switch (mode) {
                case StripeFarThenFar:
                case StripeFarThenNear:
                    add(length - ext, i, length, i + S);
                    break;
                case StripeNearThenNear:
                case StripeNearThenFar:
                    add(0, i, ext, i + S);
                    break;
                default: // StripeBothWays
                    add(0, i + S, ext, i + 2 * S);
                    add(length - ext, i, length, i + S);
                    break;
                }
            }
            return;
        }
        // Second phase: every even band is complete and the odd bands travel.
        for (int i = S; i < breadth + S; i += 2 * S) {
            add(0, i - S, length, i);
            if (mode == StripeFarThenFar || mode == StripeNearThenFar)
                add(2 * length - ext, i, length, i + S);
            else
                add(0, i, ext - length, i + S);
        }
    }
};

// extentFactor 2 passes the doubled extents (2X, 2Y): even bands cross in the first half of the
// transition and odd bands in the second; 1 lets the bands reach the far edge only at P = 100.
void drawStripes(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, int S,
                 int extentFactor, int HorzMode, int VertMode) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    Region region;
    StripeRegion(region, S, extentFactor * e.X, extentFactor * e.Y, e.W, e.H, e.B, HorzMode, VertMode);
    ClipDraw(Dest, New, region);
}

// Blinds: strips at period `period` that all widen by the raw progress; the period is at least
// one pixel, so a picture far narrower than the band count implies still ends whole.
void drawBlinds(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, bool vertical) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const int side = vertical ? e.W : e.H;
    int period = side / e.B;
    if (period < 1)
        period = 1;
    const int thickness = Progress * period / 100;
    Region region;
    Rect strip = vertical ? Rect{0, 0, thickness, e.H} : Rect{0, 0, e.W, thickness};
    for (int k = 0; k < side; k += period) {
        region.unite(strip);
        if (vertical) {
            strip.left += period;
            strip.right += period;
        } else {
            strip.top += period;
            strip.bottom += period;
        }
    }
    ClipDraw(Dest, New, region);
}

} // namespace

void StripeRegion(Region& result, int S, int HExt, int VExt, int W, int H, int B, int HorzMode,
                  int VertMode) {
    result.clear();
    if (S < 1)
        return;
    BandSet{result, false, S}.build(HorzMode, HExt, W, H, B);
    BandSet{result, true, S}.build(VertMode, VExt, H, W, B);
}

void Effect43(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kBarThickness, 2, StripeFarThenFar, StripeNone);
}

void Effect44(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kBarThickness, 2, StripeNearThenNear, StripeNone);
}

void Effect45(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kBarThickness, 2, StripeNearThenFar, StripeNone);
}

void Effect46(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kBarThickness, 2, StripeFarThenNear, StripeNone);
}

void Effect53(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kBarThickness, 2, StripeNone, StripeFarThenFar);
}

void Effect54(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kBarThickness, 2, StripeNone, StripeFarThenNear);
}

void Effect65(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kCrissCrossThickness, 2, StripeFarThenFar,
                StripeFarThenFar);
}

void Effect66(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kCrissCrossThickness, 2, StripeFarThenFar,
                StripeNearThenNear);
}

void Effect67(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kCrissCrossThickness, 2, StripeNearThenFar,
                StripeFarThenNear);
}

void Effect68(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kCrissCrossThickness, 2, StripeFarThenNear,
                StripeFarThenNear);
}

void Effect69(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kCrissCrossThickness, 1, StripeFarThenFar, StripeBothWays);
}

void Effect70(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kCrissCrossThickness, 1, StripeNearThenNear,
                StripeBothWays);
}

void Effect71(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kCrissCrossThickness, 1, StripeBothWays, StripeFarThenFar);
}

void Effect72(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawStripes(Dest, New, rect, Grain, Progress, kCrissCrossThickness, 1, StripeBothWays,
                StripeNearThenNear);
}

// Only where both lattices have arrived: from the bottom right and from the top left at once.
void Effect73(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    Region region;
    Region other;
    StripeRegion(region, kCrissCrossThickness, 2 * e.X, 2 * e.Y, e.W, e.H, e.B, StripeFarThenFar,
                 StripeFarThenFar);
    StripeRegion(other, kCrissCrossThickness, 2 * e.X, 2 * e.Y, e.W, e.H, e.B, StripeNearThenNear,
                 StripeNearThenNear);
    region.intersect(other);
    ClipDraw(Dest, New, region);
}

void Effect99(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawBlinds(Dest, New, rect, Grain, Progress, true);
}

void Effect100(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawBlinds(Dest, New, rect, Grain, Progress, false);
}

} // namespace vistello::effects
