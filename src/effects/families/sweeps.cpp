// Sweeps and rotations (effects 102 to 105).
//
// Two clock-hand sweeps open a sector hinged at the centre from twelve o'clock, one arc point per
// percent of progress (3.6 degrees each); two centred shapes, a rectangle and an eight-pointed
// star, grow with the extents while turning one full turn clockwise. All draw the new picture
// through their polygon region. Point buffers live on the stack: a step allocates nothing but
// its region.

#include "effects/families/sector_region.h"

#include "effects/engine/geometry.h"
#include "effects/families/families.h"
#include "effects/raster/drawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace vistello::effects {

namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

// One full turn over the transition: P × π / 50.
double turnAngle(int progress) {
    return static_cast<double>(progress * kPi / 50);
}

int roundHalfEven(long double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Sector sweep from twelve o'clock; direction +1 turns clockwise, −1 anticlockwise.
void drawSweep(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, int direction) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const int cx = e.W / 2;
    const int cy = e.H / 2;
    const long double endAngle = direction * Progress * kPi / 50 - kPi / 2;
    Region region;
    SectorRegion(region, cx, cy, CeilHypot(cx, cy), Progress, endAngle, -kPi / 2);
    ClipDraw(Dest, New, region);
}

template <std::size_t N>
void drawTurned(Bitmap& Dest, const Bitmap& New, std::array<Point, N>& points, int cx, int cy, int Progress) {
    RotatePoints(points, static_cast<int>(N) - 1, cx, cy, turnAngle(Progress));
    Region region;
    region.setPolygon(points);
    ClipDraw(Dest, New, region);
}

} // namespace

int CeilHypot(int x, int y) {
    const long long squared = static_cast<long long>(x) * x + static_cast<long long>(y) * y;
    long long r = static_cast<long long>(std::ceil(std::sqrt(static_cast<double>(squared))));
    // The square root of a large integer may be off by one either way; settle it exactly.
    while (r > 0 && (r - 1) * (r - 1) >= squared)
        --r;
    while (r * r < squared)
        ++r;
    return static_cast<int>(r);
}

int SectorPoints(std::span<Point> points, int cx, int cy, int r, int count, long double endAngle,
                 long double startAngle) {
    if (points.empty())
        return 0;
    points[0] = {cx, cy};
    const int wanted = count < 1 ? 1 : count + 1;
    const int written = std::min(wanted, static_cast<int>(points.size()));
    const long double step = count < 1 ? 0 : (endAngle - startAngle) / count;
    long double angle = startAngle;
    for (int k = 1; k < written; ++k) {
        points[static_cast<std::size_t>(k)] = {cx + roundHalfEven(r * std::cos(angle)),
                                               cy + roundHalfEven(r * std::sin(angle))};
        angle += step;
    }
    return written;
}

void SectorRegion(Region& region, int cx, int cy, int r, int count, long double endAngle,
                  long double startAngle) {
    // The sweeps ask for at most 101 points; a larger count is served from the heap.
    constexpr int kStackPoints = 101;
    std::array<Point, kStackPoints> stackPoints;
    std::vector<Point> heapPoints;
    std::span<Point> buffer(stackPoints);
    if (count + 1 > kStackPoints) {
        heapPoints.resize(static_cast<std::size_t>(count) + 1);
        buffer = heapPoints;
    }
    const int written = SectorPoints(buffer, cx, cy, r, count, endAngle, startAngle);
    region.setPolygon(buffer.first(static_cast<std::size_t>(written)));
}

void Effect102(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawSweep(Dest, New, rect, Grain, Progress, +1);
}

void Effect103(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    drawSweep(Dest, New, rect, Grain, Progress, -1);
}

// A centred rectangle of half-sizes X div 2 × Y div 2, turned by P × π / 50.
void Effect104(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const int cx = e.W / 2;
    const int cy = e.H / 2;
    const int hx = e.X / 2;
    const int hy = e.Y / 2;
    std::array<Point, 4> points = {
        {{cx - hx, cy - hy}, {cx + hx, cy - hy}, {cx + hx, cy + hy}, {cx - hx, cy + hy}}};
    drawTurned(Dest, New, points, cx, cy, Progress);
}

// An eight-pointed star: four arms reaching 2X and 2Y from the centre, four inner corners at
// half the extents, turned by P × π / 50.
void Effect105(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const int cx = e.W / 2;
    const int cy = e.H / 2;
    const int ix = e.X / 2;
    const int iy = e.Y / 2;
    std::array<Point, 8> points = {{{cx - 2 * e.X, cy},
                                    {cx - ix, cy - iy},
                                    {cx, cy - 2 * e.Y},
                                    {cx + ix, cy - iy},
                                    {cx + 2 * e.X, cy},
                                    {cx + ix, cy + iy},
                                    {cx, cy + 2 * e.Y},
                                    {cx - ix, cy + iy}}};
    drawTurned(Dest, New, points, cx, cy, Progress);
}

} // namespace vistello::effects
