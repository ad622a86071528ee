#pragma once
// The measures every transition derives from its progress, and the integer rounding rules the
// effect tables are written in.

#include "effects/raster/bitmap.h"

#include <span>

namespace vistello::effects {

// a × b / c computed exactly and rounded to the nearest integer, halves away from zero; −1 when
// c is 0 or the result does not fit an int (the platform's MulDiv).
int MulDiv(int a, int b, int c);

// Nearest integer, halves to the even neighbour.
int RoundEven(double value);

// W, H: the rectangle's size. X, Y: the horizontal and vertical extents reached at the progress,
// the longer side's rounded from the percentage and the shorter side's carried by the aspect
// ratio. B: the band count, the longer side × grain / 90.
struct Extents {
    int W = 0;
    int H = 0;
    int X = 0;
    int Y = 0;
    int B = 0;
    friend bool operator==(const Extents&, const Extents&) = default;
};

Extents ProgressExtents(const Rect& rect, int grain, int progress);

// Turns points[0..lastIndex] about (cx, cy) in place by angle radians (clockwise on screen):
// (cx + Round(cos·dx − sin·dy), cy + Round(sin·dx + cos·dy)), Round halves to even.
void RotatePoints(std::span<Point> points, int lastIndex, int cx, int cy, double angle);

} // namespace vistello::effects
