#pragma once
// Ragged-edged regions of the uneven shreds and speckles.
//
// `ShredRegion` cuts the picture into strips 5 pixels apart whose ends advance together, each
// end displaced by the difference of two random draws of up to a seventh of the side, so the
// front is ragged until it is complete. `SpeckleRegion` is a solid front with a fringe of small
// square cells ahead of it, set at random and denser near the front. Both draw every random
// number from the generator they are handed, in a fixed order, so a scripted generator fixes the
// result.

#include "effects/families/line_union.h"
#include "effects/raster/region.h"

namespace vistello::effects {

class RandomSource;

// `HorzMode` (horizontal strips, rows whose ends advance along x) and `VertMode` (vertical
// strips, columns advancing along y). Speckles use only None, FromFar and FromNear.
enum ShredMode : int {
    ShredNone = 0,
    ShredFromFar = 1,    // from the right (horizontal) or bottom (vertical) edge
    ShredFromNear = 2,   // from the left or top edge
    ShredOutFromMid = 3, // out from the centre line to both edges
    ShredInToMid = 4,    // in from both edges to the centre line
};

// Storage the builders reuse from strip to strip (and from step to step when a caller keeps it).
struct RaggedScratch {
    LineUnion lines;
    Region columns;
};

// Builds into result (old content dropped, storage reused) the strips reached at extents HExt
// and VExt on a W × H picture, horizontal strips first.
void ShredRegion(Region& result, RaggedScratch& scratch, int HExt, int VExt, int W, int H, int HorzMode,
                 int VertMode, RandomSource& random);

// Builds into result the solid front and its random fringe at extents HExt and VExt, row bands
// first.
void SpeckleRegion(Region& result, RaggedScratch& scratch, int HExt, int VExt, int W, int H, int HorzMode,
                   int VertMode, RandomSource& random);

} // namespace vistello::effects
