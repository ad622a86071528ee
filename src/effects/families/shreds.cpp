// Uneven shreds and speckles: the new picture is drawn through a region with a random edge.

#include "effects/families/shreds.h"

#include "effects/engine/geometry.h"
#include "effects/engine/random_source.h"
#include "effects/families/families.h"
#include "effects/raster/drawing.h"

#include <algorithm>

namespace vistello::effects {

namespace {

// Strips start every 5 pixels and are 5 plus the side's remainder thick, so the last one ends on
// (or past) the edge.
constexpr int kShredPitch = 5;

// Adds rectangles given in (along, across) coordinates: along is the axis the strips advance on
// (x for horizontal strips), across the axis they are stacked on.
struct AxisRects {
    Region& result;
    bool vertical;

    void add(int along0, int across0, int along1, int across1) const {
        if (vertical)
            result.unite(Rect{across0, along0, across1, along1});
        else
            result.unite(Rect{along0, across0, along1, across1});
    }
};

// ext: extent reached; length: the side the strips advance on; breadth: the side they stack on.
void addShredStrips(AxisRects out, int mode, int ext, int length, int breadth, RandomSource& random) {
    if (mode < ShredFromFar || mode > ShredInToMid)
        return;
    const int c = ext < length ? length / 7 : 0;
    const int height = kShredPitch + breadth % kShredPitch;
    const bool complete = ext >= length;
    for (int off = 0; off < breadth; off += kShredPitch) {
        const int b = off + height;
        const int r1 = random.Random(c);
        const int r2 = random.Random(c);
        switch (mode) {
        case ShredFromFar:
            out.add(length - ext + r1 - r2, off, length, b);
            break;
        case ShredFromNear:
            out.add(0, off, ext + r1 - r2, b);
            break;
        case ShredOutFromMid: {
            const int r3 = random.Random(c);
            const int r4 = random.Random(c);
            out.add((length - ext + r1 - r2) / 2, off, length / 2, b);
            out.add(length / 2, off, (length + ext + r3 - r4) / 2, b);
            break;
        }
        default: { // ShredInToMid
            const int r3 = random.Random(c);
            const int r4 = random.Random(c);
            if (complete) {
                // The two halves of an odd side would leave its middle pixel line uncovered.
                out.add(0, off, length, b);
            } else {
                out.add(length - (ext + r1 - r2) / 2, off, length, b);
                out.add(0, off, (ext + r3 - r4) / 2, b);
            }
            break;
        }
        }
    }
}

// Row (or column) bands f thick every f div 2 pixels: a solid part up to the front and cells up
// to n places beyond it, cell i set with chance 2/i up to the threshold t and 1/i past it.
void addSpeckleBands(Region& result, Region& band, bool vertical, int mode, int ext, int length, int breadth,
                     RandomSource& random) {
    if (mode != ShredFromFar && mode != ShredFromNear)
        return;
    const int e = ext < length ? length / 10 : 0;
    const int f = std::max(e / 20, 2);
    const int n = e / f;
    const int t = ((3 * e) / f) / 4;
    const AxisRects out{band, vertical};
    const bool fromFar = mode == ShredFromFar;
    for (int s = 0; s < breadth; s += f / 2) {
        band.clear();
        if (fromFar)
            out.add(length - ext, s, length, s + f);
        else
            out.add(0, s, ext, s + f);
        for (int i = n; i >= 1; --i) {
            const int r = random.Random(i);
            if (i <= t ? r > 1 : r != 0)
                continue;
            if (fromFar)
                out.add(length - ext - i * f, s, length - ext - i * f + f, s + f);
            else
                out.add(ext + i * f - f, s, ext + i * f, s + f);
        }
        result.unite(band);
    }
}

void drawShreds(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random,
                int HorzMode, int VertMode) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    Region region;
    ShredRegion(region, HorzMode != ShredNone ? e.X : 0, VertMode != ShredNone ? e.Y : 0, e.W, e.H, HorzMode,
                VertMode, random);
    ClipDraw(Dest, New, region);
}

void drawSpeckles(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random,
                  int HorzMode, int VertMode) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    Region region;
    Region band;
    SpeckleRegion(region, band, HorzMode != ShredNone ? e.X : 0, VertMode != ShredNone ? e.Y : 0, e.W, e.H,
                  HorzMode, VertMode, random);
    ClipDraw(Dest, New, region);
}

} // namespace

void ShredRegion(Region& result, int HExt, int VExt, int W, int H, int HorzMode, int VertMode,
                 RandomSource& random) {
    result.clear();
    addShredStrips(AxisRects{result, false}, HorzMode, HExt, W, H, random);
    addShredStrips(AxisRects{result, true}, VertMode, VExt, H, W, random);
}

void SpeckleRegion(Region& result, Region& band, int HExt, int VExt, int W, int H, int HorzMode, int VertMode,
                   RandomSource& random) {
    result.clear();
    addSpeckleBands(result, band, false, HorzMode, HExt, W, H, random);
    addSpeckleBands(result, band, true, VertMode, VExt, H, W, random);
}

void Effect47(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredNone);
}

void Effect48(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromNear, ShredNone);
}

void Effect49(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredOutFromMid, ShredNone);
}

void Effect50(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredInToMid, ShredNone);
}

void Effect55(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredNone, ShredFromFar);
}

void Effect56(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredNone, ShredFromNear);
}

void Effect57(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredNone, ShredOutFromMid);
}

void Effect58(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredNone, ShredInToMid);
}

void Effect74(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredFromFar);
}

void Effect75(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredFromNear);
}

void Effect76(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromNear, ShredFromFar);
}

void Effect77(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredOutFromMid);
}

void Effect78(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromNear, ShredOutFromMid);
}

void Effect79(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredOutFromMid, ShredFromFar);
}

void Effect80(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredOutFromMid, ShredFromNear);
}

void Effect81(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredOutFromMid, ShredOutFromMid);
}

void Effect82(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredInToMid, ShredInToMid);
}

void Effect91(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawSpeckles(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredNone);
}

void Effect92(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawSpeckles(Dest, New, rect, Grain, Progress, random, ShredFromNear, ShredNone);
}

void Effect93(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawSpeckles(Dest, New, rect, Grain, Progress, random, ShredNone, ShredFromFar);
}

void Effect94(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource& random) {
    drawSpeckles(Dest, New, rect, Grain, Progress, random, ShredNone, ShredFromNear);
}

} // namespace vistello::effects
