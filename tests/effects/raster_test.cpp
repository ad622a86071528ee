// The raster layer: bitmap layout, region shapes and operations against a per-pixel model,
// stretched and mirrored copies, drawing through a region, the fade's blend.

#include "effects/raster/bitmap.h"
#include "effects/raster/drawing.h"
#include "effects/raster/region.h"
#include "effects_fixture.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace vistello::effects {
namespace {

using testing::kOld;
using testing::plainPicture;
using testing::positionColour;
using testing::positionPicture;
using testing::sourceOf;

// A region's pixels inside a window, as a boolean grid: the model the operations are checked on.
struct Grid {
    Rect window;
    std::vector<bool> cells;
    explicit Grid(Rect w) : window(w), cells(static_cast<std::size_t>(w.width() * w.height())) {}
    std::vector<bool>::reference at(int x, int y) {
        return cells[static_cast<std::size_t>((y - window.top) * window.width() + x - window.left)];
    }
    static Grid of(const Region& region, Rect w) {
        Grid grid(w);
        for (int y = w.top; y < w.bottom; ++y)
            for (int x = w.left; x < w.right; ++x)
                grid.at(x, y) = region.contains(x, y);
        return grid;
    }
    static Grid ofRect(Rect r, Rect w) {
        Grid grid(w);
        for (int y = w.top; y < w.bottom; ++y)
            for (int x = w.left; x < w.right; ++x)
                grid.at(x, y) = r.contains(x, y);
        return grid;
    }
};

TEST(Bitmap, RowsArePaddedToFourBytesAndTopDown) {
    const struct {
        int width;
        int stride;
    } cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {185, 556}, {720, 2160}};
    for (const auto& c : cases) {
        Bitmap bitmap(c.width, 3);
        EXPECT_EQ(bitmap.stride(), c.stride) << c.width;
        bitmap.setPixel(c.width - 1, 1, {1, 2, 3});
        EXPECT_EQ(bitmap.row(1)[(c.width - 1) * 3], 1);
        EXPECT_EQ(bitmap.row(1)[(c.width - 1) * 3 + 2], 3);
    }
    EXPECT_TRUE(Bitmap(-3, 5).isEmpty());
    EXPECT_EQ(Bgr::fromColorRef(0x00112233), (Bgr{0x11, 0x22, 0x33}));
}

TEST(Region, RectanglesAreExclusiveAndNormalised) {
    const Region region = Region::rectangle(2, 3, 5, 7);
    EXPECT_TRUE(region.isRect());
    EXPECT_TRUE(region.contains(2, 3));
    EXPECT_TRUE(region.contains(4, 6));
    EXPECT_FALSE(region.contains(5, 6));
    EXPECT_FALSE(region.contains(4, 7));
    EXPECT_EQ(region.bounds(), (Rect{2, 3, 5, 7}));
    EXPECT_EQ(Region::rectangle(5, 7, 2, 3).rectangles(), region.rectangles());
    EXPECT_TRUE(Region::rectangle(4, 0, 4, 10).isEmpty());
    EXPECT_TRUE(Region().isEmpty());
    EXPECT_EQ(Region().bounds(), (Rect{}));
}

TEST(Region, OperationsMatchThePixelModel) {
    std::mt19937 engine(12345);
    std::uniform_int_distribution<int> coordinate(-6, 30);
    const Rect window{-8, -8, 34, 34};
    for (int round = 0; round < 300; ++round) {
        const RegionOp op = static_cast<RegionOp>(round % 3);
        Region a;
        Region b;
        Grid modelA(window);
        Grid modelB(window);
        for (int k = 0; k < 1 + round % 7; ++k) {
            const Rect r{coordinate(engine), coordinate(engine), coordinate(engine), coordinate(engine)};
            const Rect n{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                         std::max(r.top, r.bottom)};
            Region& target = k % 2 ? b : a;
            Grid& model = k % 2 ? modelB : modelA;
            if (k % 3 == 2)
                target.unite(Region(r));
            else
                target.unite(r);
            const Grid piece = Grid::ofRect(n, window);
            for (std::size_t i = 0; i < model.cells.size(); ++i)
                model.cells[i] = model.cells[i] || piece.cells[i];
        }
        Region result = a;
        result.combine(b, op);
        ASSERT_TRUE(result.isValid()) << round;
        const Grid got = Grid::of(result, window);
        std::size_t mismatch = got.cells.size();
        for (std::size_t i = 0; i < got.cells.size() && mismatch == got.cells.size(); ++i) {
            const bool inA = modelA.cells[i];
            const bool inB = modelB.cells[i];
            const bool want = op == RegionOp::Union       ? (inA || inB)
                              : op == RegionOp::Intersect ? (inA && inB)
                                                          : (inA != inB);
            if (got.cells[i] != want)
                mismatch = i;
        }
        ASSERT_EQ(mismatch, got.cells.size()) << "round " << round << " op " << static_cast<int>(op);
    }
}

TEST(Region, ThousandsOfSmallCellsStayMergedAndValid) {
    // A speckle-like build: overlapping two-row bands of cells, top to bottom.
    Region region;
    for (int s = 0; s < 576; ++s) {
        Region band = Region::rectangle(400, s, 720, s + 3);
        for (int i = 1; i <= 24; i += 2)
            band.unite(Rect{400 - 3 * i, s, 403 - 3 * i, s + 3});
        region.unite(band);
    }
    EXPECT_TRUE(region.isValid());
    EXPECT_EQ(region.bandCount(), 1);
    EXPECT_EQ(region.bounds(), (Rect{331, 0, 720, 578}));
    EXPECT_FALSE(region.contains(334, 10));
    EXPECT_TRUE(region.contains(337, 10));
}

TEST(Region, SelfCombinationAndEmptyOperands) {
    Region region = Region::rectangle(0, 0, 10, 10);
    region.unite(region);
    EXPECT_EQ(region.rectangles(), (std::vector<Rect>{{0, 0, 10, 10}}));
    region.intersect(Region());
    EXPECT_TRUE(region.isEmpty());
    region = Region::rectangle(0, 0, 10, 10);
    region.exclusiveOr(region);
    EXPECT_TRUE(region.isEmpty());
    Region empty;
    empty.exclusiveOr(Region::rectangle(1, 1, 2, 2));
    EXPECT_EQ(empty.rectangles(), (std::vector<Rect>{{1, 1, 2, 2}}));
}

TEST(Region, PolygonsFillByWindingAtPixelCentres) {
    // An axis-aligned polygon covers exactly the rectangle it outlines.
    const Point square[] = {{2, 1}, {9, 1}, {9, 6}, {2, 6}};
    EXPECT_EQ(Region::polygon(square).rectangles(), (std::vector<Rect>{{2, 1, 9, 6}}));
    // A five-pointed star drawn in one stroke: its centre has winding 2 and stays filled.
    const Point star[] = {{50, 0}, {79, 90}, {2, 35}, {98, 35}, {21, 90}};
    const Region filled = Region::polygon(star);
    EXPECT_TRUE(filled.isValid());
    EXPECT_TRUE(filled.contains(50, 50));
    EXPECT_TRUE(filled.contains(50, 5));
    EXPECT_FALSE(filled.contains(5, 80));
    // Right triangle (0, 0), (120, 0), (0, 60): the slanted edge x = 120 − 2y.
    const Point triangle[] = {{0, 0}, {120, 0}, {0, 60}};
    const Region t = Region::polygon(triangle);
    EXPECT_TRUE(t.contains(0, 0));
    EXPECT_TRUE(t.contains(118, 0));
    EXPECT_FALSE(t.contains(120, 0));
    EXPECT_TRUE(t.contains(0, 59));
    EXPECT_FALSE(t.contains(0, 60));
    EXPECT_TRUE(t.contains(58, 30));
    EXPECT_FALSE(t.contains(60, 30));
    EXPECT_TRUE(Region::polygon(std::span<const Point>(square, 2)).isEmpty());
}

// Winding number of the closed polygon around (px, py), counted by upward and downward edge
// crossings of the ray to the right.
int windingNumber(std::span<const Point> points, double px, double py) {
    int winding = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Point& a = points[i];
        const Point& b = points[(i + 1) % points.size()];
        const double cross = (b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y);
        if (a.y <= py && b.y > py && cross > 0)
            ++winding;
        else if (a.y > py && b.y <= py && cross < 0)
            --winding;
    }
    return winding;
}

TEST(Region, RandomPolygonsCoverThePixelsWhoseCentresTheyWind) {
    std::mt19937 engine(4711);
    std::uniform_int_distribution<int> coordinate(-10, 50);
    for (int round = 0; round < 200; ++round) {
        std::vector<Point> points(static_cast<std::size_t>(3 + round % 9));
        for (Point& p : points)
            p = {coordinate(engine), coordinate(engine)};
        const Region region = Region::polygon(points);
        ASSERT_TRUE(region.isValid()) << round;
        for (int y = -12; y < 52; ++y)
            for (int x = -12; x < 52; ++x) {
                const double px = x + 0.5;
                const double py = y + 0.5;
                // Centres exactly on an edge may go either way; skip them.
                bool onEdge = false;
                for (std::size_t i = 0; i < points.size() && !onEdge; ++i) {
                    const Point& a = points[i];
                    const Point& b = points[(i + 1) % points.size()];
                    const double cross = (b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y);
                    onEdge = std::abs(cross) < 1e-9 && px >= std::min(a.x, b.x) && px <= std::max(a.x, b.x) &&
                             py >= std::min(a.y, b.y) && py <= std::max(a.y, b.y);
                }
                if (onEdge)
                    continue;
                ASSERT_EQ(region.contains(x, y), windingNumber(points, px, py) != 0)
                    << "round " << round << " pixel " << x << "," << y;
            }
    }
}

TEST(Region, RoundRectanglesRoundTheirCornersAndLimitTheEllipse) {
    const Region r = Region::roundRect(0, 0, 100, 50, 40, 20);
    EXPECT_TRUE(r.isValid());
    EXPECT_EQ(r.bounds(), (Rect{0, 0, 100, 50}));
    EXPECT_FALSE(r.contains(0, 0));
    EXPECT_FALSE(r.contains(99, 49));
    EXPECT_TRUE(r.contains(0, 25));
    EXPECT_TRUE(r.contains(50, 0));
    EXPECT_TRUE(r.contains(99, 10));
    // An ellipse wider than the rectangle is limited to it: the short ends become half ellipses.
    const Region limited = Region::roundRect(-400, -5, 120, 105, 400, 400);
    EXPECT_EQ(limited.bounds(), (Rect{-400, -5, 120, 105}));
    EXPECT_TRUE(limited.contains(119, 50));
    EXPECT_FALSE(limited.contains(119, 0));
    EXPECT_EQ(Region::roundRect(3, 3, 8, 9, 0, 0).rectangles(), (std::vector<Rect>{{3, 3, 8, 9}}));
    EXPECT_TRUE(Region::roundRect(100, 50, 100, 50, 9, 9).isEmpty());
    const Region e = Region::ellipse(0, 0, 20, 10);
    EXPECT_TRUE(e.contains(10, 5));
    EXPECT_FALSE(e.contains(0, 0));
    EXPECT_FALSE(e.contains(19, 9));
}

TEST(StretchCopy, SameSizeCopiesAndClipsToBothBitmaps) {
    const Bitmap source = positionPicture(20, 10);
    Bitmap dest = plainPicture(20, 10, kOld);
    CopyRect(dest, {-5, 2, 10, 12}, source, {3, 0, 18, 10});
    EXPECT_EQ(sourceOf(dest, 0, 2), (Point{8, 0}));
    EXPECT_EQ(sourceOf(dest, 9, 9), (Point{17, 7}));
    EXPECT_EQ(sourceOf(dest, 10, 5), std::nullopt);
    EXPECT_EQ(sourceOf(dest, 0, 1), std::nullopt);
    // Source pixels outside the source bitmap are not drawn.
    Bitmap partial = plainPicture(20, 10, kOld);
    CopyRect(partial, {0, 0, 10, 10}, source, {15, 0, 25, 10});
    EXPECT_EQ(sourceOf(partial, 4, 0), (Point{19, 0}));
    EXPECT_EQ(sourceOf(partial, 5, 0), std::nullopt);
    // Zero extents draw nothing.
    Bitmap untouched = plainPicture(20, 10, kOld);
    CopyRect(untouched, {0, 0, 0, 10}, source, {0, 0, 5, 10});
    CopyRect(untouched, {0, 0, 5, 10}, source, {200, 0, 200, 10});
    EXPECT_EQ(untouched, plainPicture(20, 10, kOld));
}

TEST(StretchCopy, MagnifiesShrinksAndMirrorsByNearestCentre) {
    const Bitmap source = positionPicture(40, 4);
    Bitmap dest = plainPicture(200, 4, kOld);
    StretchCopy(dest, 0, 0, 360, 4, source, 0, 0, 40, 4);
    // 9 destination columns per source column.
    for (int x : {0, 8, 9, 17, 18, 199})
        EXPECT_EQ(sourceOf(dest, x, 0)->x, x / 9) << x;
    Bitmap shrunk = plainPicture(10, 4, kOld);
    StretchCopy(shrunk, 0, 0, 10, 4, source, 0, 0, 40, 4);
    EXPECT_EQ(sourceOf(shrunk, 0, 0)->x, 2);
    EXPECT_EQ(sourceOf(shrunk, 9, 0)->x, 38);
    // A negative destination extent covers [origin + extent, origin) mirrored.
    Bitmap mirrored = plainPicture(20, 4, kOld);
    StretchCopy(mirrored, 13, 0, -6, 4, source, 12, 0, 4, 4);
    EXPECT_EQ(sourceOf(mirrored, 13, 0), std::nullopt);
    EXPECT_EQ(sourceOf(mirrored, 6, 0), std::nullopt);
    EXPECT_EQ(sourceOf(mirrored, 12, 0)->x, 12);
    EXPECT_EQ(sourceOf(mirrored, 7, 0)->x, 15);
    // A negative source extent mirrors too.
    Bitmap flipped = plainPicture(4, 4, kOld);
    StretchCopy(flipped, 0, 0, 4, 4, source, 4, 0, -4, 4);
    EXPECT_EQ(sourceOf(flipped, 0, 0)->x, 3);
    EXPECT_EQ(sourceOf(flipped, 3, 0)->x, 0);
}

TEST(StretchCopy, EveryPixelTakesTheSourcePixelNearestItsCentre) {
    // Random signed extents, partly outside both bitmaps, against the rule written per pixel:
    // destination pixel k of a run of n takes source pixel floor((k + 0.5) × m / n) of a run of m,
    // counted from the far end along a mirrored axis.
    std::mt19937 engine(99);
    std::uniform_int_distribution<int> position(-30, 60);
    std::uniform_int_distribution<int> extent(-70, 70);
    const Bitmap source = positionPicture(41, 23);
    auto sourceIndex = [](int d, int origin, int n, int sOrigin, int m) -> std::optional<int> {
        if (n == 0 || m == 0)
            return std::nullopt;
        bool mirrored = false;
        if (m < 0) {
            sOrigin += m;
            m = -m;
            mirrored = !mirrored;
        }
        if (n < 0) {
            origin += n;
            n = -n;
            mirrored = !mirrored;
        }
        if (d < origin || d >= origin + n)
            return std::nullopt;
        const int i = d - origin;
        const int k = mirrored ? n - 1 - i : i;
        return sOrigin + static_cast<int>((2LL * k + 1) * m / (2LL * n));
    };
    // Rows wider than one chunk of the column table, mirrored.
    for (const int width : {1023, 1024, 1025, 2100}) {
        Bitmap wide = plainPicture(width, 3, kOld);
        StretchCopy(wide, width + 5, 0, -(width + 9), 3, source, 3, 2, 37, 3);
        for (int x = 0; x < width; ++x) {
            const auto fx = sourceIndex(x, width + 5, -(width + 9), 3, 37);
            ASSERT_EQ(wide.pixel(x, 1), positionColour(*fx, 3)) << width << " " << x;
        }
    }
    for (int round = 0; round < 400; ++round) {
        const int dx = position(engine), dy = position(engine), dw = extent(engine), dh = extent(engine);
        const int sx = position(engine) / 2, sy = position(engine) / 3, sw = extent(engine),
                  sh = extent(engine) / 2;
        Bitmap dest = plainPicture(37, 29, kOld);
        StretchCopy(dest, dx, dy, dw, dh, source, sx, sy, sw, sh);
        for (int y = 0; y < 29; ++y)
            for (int x = 0; x < 37; ++x) {
                const auto fx = sourceIndex(x, dx, dw, sx, sw);
                const auto fy = sourceIndex(y, dy, dh, sy, sh);
                const bool drawn = fx && fy && *fx >= 0 && *fx < 41 && *fy >= 0 && *fy < 23;
                const Bgr want = drawn ? positionColour(*fx, *fy) : kOld;
                ASSERT_EQ(dest.pixel(x, y), want) << "round " << round << " pixel " << x << "," << y;
            }
    }
}

TEST(StretchCopy, OverlappingCopyWithinOneBitmapReadsTheSourceWhole) {
    const struct {
        Rect dest;
        Rect source;
    } cases[] = {
        {{60, 0, 200, 100}, {0, 0, 140, 100}}, // push right
        {{0, 0, 140, 100}, {60, 0, 200, 100}}, // push left
        {{0, 30, 200, 100}, {0, 0, 200, 70}},  // push down
        {{0, 0, 200, 70}, {0, 30, 200, 100}},  // push up
        {{10, 10, 110, 60}, {0, 0, 50, 25}},   // stretched, overlapping
        {{50, 0, 0, 100}, {0, 0, 50, 100}},    // mirrored onto itself
    };
    for (const auto& c : cases) {
        Bitmap picture = positionPicture(200, 100);
        const Bitmap original = picture;
        Bitmap expected = picture;
        CopyRect(expected, c.dest, original, c.source);
        CopyRect(picture, c.dest, picture, c.source);
        EXPECT_EQ(picture, expected) << c.dest.left << "," << c.dest.top;
    }
}

TEST(DrawMirrored, RollStripCoversTheWidenedDestination) {
    // Effect 11 on 200 × 100 at P = 20: roll (40, 0, 60, 100), source (60, 0, 80, 100).
    const Bitmap picture = positionPicture(200, 100);
    Bitmap dest = plainPicture(200, 100, kOld);
    DrawMirrored(dest, {40, 0, 60, 100}, picture, {60, 0, 80, 100}, true, false);
    EXPECT_EQ(sourceOf(dest, 38, 50), std::nullopt);
    EXPECT_EQ(sourceOf(dest, 61, 50), std::nullopt);
    EXPECT_EQ(sourceOf(dest, 60, 50)->x, 60);
    EXPECT_EQ(sourceOf(dest, 39, 50)->x, 79);
    // The source is cut to the bitmap; an empty cut draws nothing.
    Bitmap untouched = plainPicture(200, 100, kOld);
    DrawMirrored(untouched, {200, 0, 200, 100}, picture, {200, 0, 200, 100}, true, false);
    EXPECT_EQ(untouched, plainPicture(200, 100, kOld));
    Bitmap vertical = plainPicture(200, 100, kOld);
    DrawMirrored(vertical, {0, 20, 200, 30}, picture, {0, 30, 200, 40}, false, true);
    EXPECT_EQ(sourceOf(vertical, 5, 31), std::nullopt);
    EXPECT_EQ(sourceOf(vertical, 5, 18), std::nullopt);
    EXPECT_EQ(sourceOf(vertical, 5, 30)->y, 30);
    EXPECT_EQ(sourceOf(vertical, 5, 19)->y, 39);
}

TEST(ClipDraw, ChangesOnlyPixelsInsideTheRegion) {
    const Bitmap picture = positionPicture(50, 40);
    Bitmap dest = plainPicture(50, 40, kOld);
    Region region = Region::rectangle(-10, -10, 5, 5);
    region.unite(Region::rectangle(45, 35, 90, 90));
    ClipDraw(dest, picture, region);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x)
            EXPECT_EQ(dest.pixel(x, y) == positionColour(x, y), region.contains(x, y)) << x << "," << y;
}

TEST(BlendBitmaps, MixesEveryByteByProgress) {
    const struct {
        std::uint8_t dest;
        std::uint8_t incoming;
        int progress;
        std::uint8_t result;
    } cases[] = {
        {200, 100, 50, 150}, {200, 0, 96, 8}, {0, 255, 100, 255}, {255, 0, 1, 252}, {77, 200, 0, 77}};
    for (const auto& c : cases) {
        Bitmap dest = plainPicture(7, 3, {c.dest, c.dest, c.dest});
        BlendBitmaps(dest, plainPicture(7, 3, {c.incoming, c.incoming, c.incoming}), c.progress);
        EXPECT_EQ(dest.pixel(6, 2), (Bgr{c.result, c.result, c.result})) << c.progress;
        EXPECT_EQ(dest.pixel(0, 0), (Bgr{c.result, c.result, c.result})) << c.progress;
    }
    // Padding bytes at the row end stay untouched.
    Bitmap dest = plainPicture(7, 3, {9, 9, 9});
    BlendBitmaps(dest, plainPicture(7, 3, {255, 255, 255}), 100);
    EXPECT_EQ(dest.row(0)[21], 0);
}

} // namespace
} // namespace vistello::effects
