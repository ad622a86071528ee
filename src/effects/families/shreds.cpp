// Uneven shreds and speckles: the new picture is drawn through a region with a random edge.

#include "effects/families/shreds.h"

#include "effects/engine/geometry.h"
#include "effects/engine/random_source.h"
#include "effects/families/families.h"
#include "effects/raster/drawing.h"

#include <algorithm>
#include <cstdint>

namespace vistello::effects {

namespace {

// Strips start every 5 pixels and are 5 plus the side's remainder thick, so the last one ends on
// (or past) the edge.
constexpr int kShredPitch = 5;

// Cells ahead of a speckle front: n = e div f is at most 29 for any side (f is e div 20, or 2),
// so one 64-bit mask records which of them a band's draws set.
constexpr int kMaxCells = 64;

// ext: extent reached; length: the side the strips advance on; breadth: the side they stack on.
void addShredStrips(LineUnion& lines, int mode, int ext, int length, int breadth, RandomSource& random) {
    const int c = ext < length ? length / 7 : 0;
    const int height = kShredPitch + breadth % kShredPitch;
    const bool complete = ext >= length;
    for (int off = 0; off < breadth; off += kShredPitch) {
        lines.beginLine(off, off + height);
        const int r1 = random.Random(c);
        const int r2 = random.Random(c);
        switch (mode) {
        case ShredFromFar:
            lines.addInterval(length - ext + r1 - r2, length);
            break;
        case ShredFromNear:
            lines.addInterval(0, ext + r1 - r2);
            break;
        case ShredOutFromMid: {
            const int r3 = random.Random(c);
            const int r4 = random.Random(c);
            lines.addInterval((length - ext + r1 - r2) / 2, length / 2);
            lines.addInterval(length / 2, (length + ext + r3 - r4) / 2);
            break;
        }
        default: { // ShredInToMid
            const int r3 = random.Random(c);
            const int r4 = random.Random(c);
            if (complete) {
                // The two halves of an odd side would leave its middle pixel line uncovered.
                lines.addInterval(0, length);
            } else {
                lines.addInterval(length - (ext + r1 - r2) / 2, length);
                lines.addInterval(0, (ext + r3 - r4) / 2);
            }
            break;
        }
        }
    }
}

// Bands f thick every f div 2 pixels: a solid part up to the front and cells up to n places
// beyond it, cell i set with chance 2/i up to the threshold t and 1/i past it.
void addSpeckleBands(LineUnion& lines, int mode, int ext, int length, int breadth, RandomSource& random) {
    const int e = ext < length ? length / 10 : 0;
    const int f = std::max(e / 20, 2);
    const int n = std::min(e / f, kMaxCells - 1);
    const int t = ((3 * e) / f) / 4;
    const bool fromFar = mode == ShredFromFar;
    for (int s = 0; s < breadth; s += f / 2) {
        lines.beginLine(s, s + f);
        std::uint64_t cells = 0; // bit i: cell i is set
        for (int i = n; i >= 1; --i) {
            const int r = random.Random(i);
            if (i <= t ? r <= 1 : r == 0)
                cells |= std::uint64_t{1} << i;
        }
        // Added in ascending order along the band, so the strip needs no sorting.
        if (fromFar) {
            const int front = length - ext;
            for (int i = n; i >= 1; --i)
                if (cells & (std::uint64_t{1} << i))
                    lines.addInterval(front - i * f, front - i * f + f);
            lines.addInterval(front, length);
        } else {
            lines.addInterval(0, ext);
            for (int i = 1; i <= n; ++i)
                if (cells & (std::uint64_t{1} << i))
                    lines.addInterval(ext + i * f - f, ext + i * f);
        }
    }
}

using StripAdder = void (*)(LineUnion&, int, int, int, int, RandomSource&);

// Row strips into result, then column strips united with them.
void buildRagged(StripAdder add, bool (*usesMode)(int), Region& result, RaggedScratch& scratch, int HExt,
                 int VExt, int W, int H, int HorzMode, int VertMode, RandomSource& random) {
    result.clear();
    if (usesMode(HorzMode)) {
        scratch.lines.reset(LineUnion::Lines::Rows, W, H);
        add(scratch.lines, HorzMode, HExt, W, H, random);
        scratch.lines.build(result);
    }
    if (usesMode(VertMode)) {
        scratch.lines.reset(LineUnion::Lines::Columns, W, H);
        add(scratch.lines, VertMode, VExt, H, W, random);
        if (result.isEmpty()) {
            scratch.lines.build(result);
        } else {
            scratch.lines.build(scratch.columns);
            result.unite(scratch.columns);
        }
    }
}

bool isShredMode(int mode) {
    return mode >= ShredFromFar && mode <= ShredInToMid;
}

bool isSpeckleMode(int mode) {
    return mode == ShredFromFar || mode == ShredFromNear;
}

void drawShreds(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
                RandomSource& random, int HorzMode, int VertMode) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    Region region;
    RaggedScratch scratch;
    ShredRegion(region, scratch, HorzMode != ShredNone ? e.X : 0, VertMode != ShredNone ? e.Y : 0, e.W, e.H,
                HorzMode, VertMode, random);
    ClipDraw(Dest, New, region);
}

void drawSpeckles(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
                  RandomSource& random, int HorzMode, int VertMode) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    Region region;
    RaggedScratch scratch;
    SpeckleRegion(region, scratch, HorzMode != ShredNone ? e.X : 0, VertMode != ShredNone ? e.Y : 0, e.W, e.H,
                  HorzMode, VertMode, random);
    ClipDraw(Dest, New, region);
}

} // namespace

void ShredRegion(Region& result, RaggedScratch& scratch, int HExt, int VExt, int W, int H, int HorzMode,
                 int VertMode, RandomSource& random) {
    buildRagged(addShredStrips, isShredMode, result, scratch, HExt, VExt, W, H, HorzMode, VertMode, random);
}

void SpeckleRegion(Region& result, RaggedScratch& scratch, int HExt, int VExt, int W, int H, int HorzMode,
                   int VertMode, RandomSource& random) {
    buildRagged(addSpeckleBands, isSpeckleMode, result, scratch, HExt, VExt, W, H, HorzMode, VertMode,
                random);
}

void Effect47(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredNone);
}

void Effect48(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromNear, ShredNone);
}

void Effect49(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredOutFromMid, ShredNone);
}

void Effect50(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredInToMid, ShredNone);
}

void Effect55(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredNone, ShredFromFar);
}

void Effect56(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredNone, ShredFromNear);
}

void Effect57(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredNone, ShredOutFromMid);
}

void Effect58(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredNone, ShredInToMid);
}

void Effect74(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredFromFar);
}

void Effect75(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredFromNear);
}

void Effect76(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromNear, ShredFromFar);
}

void Effect77(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredOutFromMid);
}

void Effect78(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredFromNear, ShredOutFromMid);
}

void Effect79(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredOutFromMid, ShredFromFar);
}

void Effect80(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredOutFromMid, ShredFromNear);
}

void Effect81(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredOutFromMid, ShredOutFromMid);
}

void Effect82(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawShreds(Dest, New, rect, Grain, Progress, random, ShredInToMid, ShredInToMid);
}

void Effect91(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawSpeckles(Dest, New, rect, Grain, Progress, random, ShredFromFar, ShredNone);
}

void Effect92(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawSpeckles(Dest, New, rect, Grain, Progress, random, ShredFromNear, ShredNone);
}

void Effect93(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawSpeckles(Dest, New, rect, Grain, Progress, random, ShredNone, ShredFromFar);
}

void Effect94(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress,
              RandomSource& random) {
    drawSpeckles(Dest, New, rect, Grain, Progress, random, ShredNone, ShredFromNear);
}

} // namespace vistello::effects
