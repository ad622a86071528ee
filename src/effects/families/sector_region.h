#pragma once
// The clock-hand sector of the sweeps: a polygon from the centre through count points on a
// circle, the arc's points stepping evenly from the start angle toward the end angle.
//
// Angles are radians in screen coordinates (y grows downward): 0 points right, −π/2 up, and a
// growing angle turns clockwise. The angle is accumulated in extended precision, step by step,
// so the arc's points land on the same pixels at every size of the sweep.

#include "effects/raster/bitmap.h"
#include "effects/raster/region.h"

#include <span>

namespace vistello::effects {

// Writes the centre and then count points on the circle of radius r into points: point k + 1
// lies at angle a(k), a(0) = startAngle, a(k + 1) = a(k) + (endAngle − startAngle) / count, at
// (cx + Round(r·cos a(k)), cy + Round(r·sin a(k))), Round halving to even. The last point lies
// one step short of endAngle. Returns the number of points written: count + 1, or fewer when
// points is too small; 1 (the centre alone) when count < 1.
int SectorPoints(std::span<Point> points, int cx, int cy, int r, int count, long double endAngle,
                 long double startAngle);

// The polygon region (winding rule) of SectorPoints, built into region; empty when count < 2.
void SectorRegion(Region& region, int cx, int cy, int r, int count, long double endAngle,
                  long double startAngle);

// The smallest integer not below √(x² + y²): a radius that reaches the point (x, y).
int CeilHypot(int x, int y);

} // namespace vistello::effects
