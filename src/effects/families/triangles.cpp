// Diagonals, triangles and grid shreds (effects 83 to 90 and 101).
//
// The diagonal reveals grow one right triangle from a corner with legs 2X and 2Y; the sweeps
// and the starburst hinge triangles at picture corners or at the centre and run their free
// corner along an edge; the grid shreds grow a small triangle or rectangle around every point of
// an (n + 1) × (n + 1) lattice at once. All draw the new picture through the united region.

#include "effects/families/families.h"

#include "effects/engine/geometry.h"
#include "effects/raster/drawing.h"
#include "effects/raster/region.h"

namespace vistello::effects {

namespace {

// The polygon region of the three points in this order, winding rule, built into region.
void TriangleRegion(Region& region, int x1, int y1, int x2, int y2, int x3, int y3) {
    const Point points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    region.setPolygon(points);
}

void drawTriangle(Bitmap& Dest, const Bitmap& New, int x1, int y1, int x2, int y2, int x3, int y3) {
    Region region;
    TriangleRegion(region, x1, y1, x2, y2, x3, y3);
    ClipDraw(Dest, New, region);
}

// Grid of the shreds: (n + 1) × (n + 1) points (j × cw, i × ch).
struct Grid {
    int n = 1;
    int cw = 0;
    int ch = 0;
};

Grid makeGrid(const Extents& e) {
    Grid grid;
    grid.n = e.B > 1 ? e.B / 2 : e.B;
    grid.cw = e.W / grid.n;
    grid.ch = e.H / grid.n;
    return grid;
}

// out = the union of count copies of unit moved by k × (dx, dy), k = 0 .. count − 1. The copies
// are merged by doubling (a block of 2^m copies joins its own copy moved 2^m steps on), so a
// grid row of 21 shapes takes a handful of unions instead of one per shape; unit is consumed.
void uniteRepeated(Region& out, Region& unit, int count, int dx, int dy, Region& moved) {
    out.clear();
    int placed = 0;
    for (int blockSize = 1; count > 0; blockSize *= 2) {
        if (count & 1) {
            moved = unit;
            moved.offset(placed * dx, placed * dy);
            out.unite(moved);
            placed += blockSize;
        }
        count >>= 1;
        if (count > 0) {
            moved = unit;
            moved.offset(blockSize * dx, blockSize * dy);
            unit.unite(moved);
        }
    }
}

// The shred grid: shape (placed around the point (0, 0)) repeated around every grid point. The
// shapes are translates of one another by whole pixels, so uniting moved copies of one drawn
// shape gives the same pixels as drawing every shape on its own and uniting them in any order.
void drawGrid(Bitmap& Dest, const Bitmap& New, const Grid& grid, Region& shape) {
    Region row;
    Region all;
    Region moved;
    uniteRepeated(row, shape, grid.n + 1, grid.cw, 0, moved);
    uniteRepeated(all, row, grid.n + 1, 0, grid.ch, moved);
    ClipDraw(Dest, New, all);
}

} // namespace

void Effect83(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawTriangle(Dest, New, 0, 0, 2 * e.X, 0, 0, 2 * e.Y);
}

void Effect84(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawTriangle(Dest, New, e.W, 0, e.W - 2 * e.X, 0, e.W, 2 * e.Y);
}

void Effect85(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawTriangle(Dest, New, 0, e.H, 2 * e.X, e.H, 0, e.H - 2 * e.Y);
}

void Effect86(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    drawTriangle(Dest, New, e.W, e.H, e.W - 2 * e.X, e.H, e.W, e.H - 2 * e.Y);
}

void Effect87(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    Region region;
    Region part;
    TriangleRegion(region, 0, e.H, 0, 0, e.X, e.H);
    TriangleRegion(part, e.W, e.H, e.W, 0, e.W - e.X, 0);
    region.unite(part);
    ClipDraw(Dest, New, region);
}

void Effect88(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    Region region;
    Region part;
    TriangleRegion(region, e.W, 0, 0, 0, e.W, e.Y);
    TriangleRegion(part, e.W, e.H, 0, e.H, 0, e.H - e.Y);
    region.unite(part);
    ClipDraw(Dest, New, region);
}

// Four blades hinged at the centre, their free corners running up the left edge, right along
// the top, left along the bottom and down the right edge.
void Effect89(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const int cx = e.W / 2;
    const int cy = e.H / 2;
    Region region;
    Region part;
    TriangleRegion(region, cx, cy, 0, e.H, 0, e.H - e.Y);
    TriangleRegion(part, 0, 0, e.X, 0, cx, cy);
    region.unite(part);
    TriangleRegion(part, e.W - e.X, e.H, cx, cy, e.W, e.H);
    region.unite(part);
    TriangleRegion(part, cx, cy, e.W, 0, e.W, e.Y);
    region.unite(part);
    ClipDraw(Dest, New, region);
}

// A right triangle with its right angle up and to the left of every grid point; at P = 100 each
// covers the cell above and left of its point.
void Effect90(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const Grid grid = makeGrid(e);
    const int x = e.X / grid.n;
    const int y = e.Y / grid.n;
    Region shape;
    TriangleRegion(shape, -x, -y, x, -y, -x, y);
    drawGrid(Dest, New, grid, shape);
}

// A rectangle centred on every grid point, its half-sizes X and Y divided by B itself (not by
// n), so a thin lattice between the rectangles stays uncovered even at P = 100.
void Effect101(Bitmap& Dest, const Bitmap& New, const Rect& rect, int Grain, int Progress, RandomSource&) {
    const Extents e = ProgressExtents(rect, Grain, Progress);
    const Grid grid = makeGrid(e);
    const int x = e.X / e.B;
    const int y = e.Y / e.B;
    Region shape(Rect{-x, -y, x, y});
    drawGrid(Dest, New, grid, shape);
}

} // namespace vistello::effects
