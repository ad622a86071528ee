#pragma once
// Band regions of the bars and criss-cross transitions.
//
// `StripeRegion` builds the union of horizontal bands (rows k·S .. k·S + S that advance along x)
// and vertical bands (columns that advance along y) reached at the given extents. Even bands
// (k = 0, 2, 4, ...) and odd bands travel as the modes say; with extents beyond the side (the
// doubled extents 2X, 2Y) the even bands are complete and the odd ones follow. The bars use a
// band thickness of 10 pixels, the criss-cross patterns 20.

#include "effects/raster/region.h"

namespace vistello::effects {

// Band movement of `HorzMode` (horizontal bands, "far" = right edge) and `VertMode` (vertical
// bands, "far" = bottom edge).
enum StripeMode : int {
    StripeNone = 0,
    StripeFarThenFar = 1,   // even bands from the far edge, then the odd ones from the far edge
    StripeNearThenNear = 2, // even from the near edge (left or top), then odd from the near edge
    StripeBothWays = 3,     // even from the far edge and odd from the near edge at once
    StripeNearThenFar = 4,  // even from the near edge, then odd from the far edge
    StripeFarThenNear = 5,  // even from the far edge, then odd from the near edge
};

inline constexpr int kBarThickness = 10;
inline constexpr int kCrissCrossThickness = 20;

// Builds into result (its old content is dropped, its storage reused) the bands of thickness S
// reached at extents HExt and VExt on a W × H picture with band count B. An extent within B
// pixels of its side snaps to the full side.
void StripeRegion(Region& result, int S, int HExt, int VExt, int W, int H, int B, int HorzMode, int VertMode);

} // namespace vistello::effects
