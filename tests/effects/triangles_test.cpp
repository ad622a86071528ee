// Diagonals, triangles and grid shreds: the triangles and grids of the worked figures, drawn
// through the catalogue on distinctive pictures, and what the last step covers.

#include "shape_expectations.h"

#include "effects/engine/geometry.h"
#include "effects/raster/drawing.h"
#include "effects/raster/region.h"

#include <gtest/gtest.h>

namespace vistello::effects::testing {
namespace {

Shape triangle(double x1, double y1, double x2, double y2, double x3, double y3) {
    return polygonShape({{x1, y1}, {x2, y2}, {x3, y3}});
}

// The 90 grid: around every point (j·cw, i·ch), i, j in 0..n, a right triangle of legs 2x, 2y
// with its right angle up and to the left.
Shape triangleGrid(int n, int cw, int ch, int x, int y) {
    return [=](double u, double v) {
        for (int i = 0; i <= n; ++i)
            for (int j = 0; j <= n; ++j) {
                // Distances from the right angle along the two legs, as fractions of the legs.
                const double s = (u - (j * cw - x)) / (2.0 * x);
                const double t = (v - (i * ch - y)) / (2.0 * y);
                if (s >= 0 && t >= 0 && s + t <= 1)
                    return true;
            }
        return false;
    };
}

// The 101 grid: a rectangle 2x × 2y centred on every point.
Shape rectangleGrid(int n, int cw, int ch, int x, int y) {
    return [=](double u, double v) {
        for (int i = 0; i <= n; ++i)
            for (int j = 0; j <= n; ++j)
                if (u >= j * cw - x && u < j * cw + x && v >= i * ch - y && v < i * ch + y)
                    return true;
        return false;
    };
}

struct TriangleCase {
    const char* figure;
    int effect;
    int width;
    int height;
    int progress;
    Shape shape;
    double margin = 1.5; // 0 for shapes of whole pixels only
};

void PrintTo(const TriangleCase& c, std::ostream* os) {
    *os << c.figure;
}

class TriangleFigures : public ::testing::TestWithParam<TriangleCase> {};

TEST_P(TriangleFigures, DrawsTheShapesOfTheFigure) {
    const TriangleCase& c = GetParam();
    Scene scene(c.width, c.height);
    scene.run(c.effect, {c.progress});
    EXPECT_TRUE(matchesShape(scene, c.shape, c.margin));
}

INSTANTIATE_TEST_SUITE_P(
    Figures, TriangleFigures,
    ::testing::Values(
        TriangleCase{"83_top_left_200x100_p30", 83, 200, 100, 30, triangle(0, 0, 120, 0, 0, 60)},
        TriangleCase{"84_top_right_200x100_p30", 84, 200, 100, 30, triangle(200, 0, 80, 0, 200, 60)},
        TriangleCase{"85_bottom_left_200x100_p30", 85, 200, 100, 30, triangle(0, 100, 120, 100, 0, 40)},
        TriangleCase{"86_bottom_right_200x100_p30", 86, 200, 100, 30, triangle(200, 100, 80, 100, 200, 40)},
        TriangleCase{"83_top_left_100x200_p30", 83, 100, 200, 30, triangle(0, 0, 60, 0, 0, 120)},
        TriangleCase{"83_top_left_200x100_p50_through_centre", 83, 200, 100, 50,
                     triangle(0, 0, 200, 0, 0, 100)},
        TriangleCase{"87_anticlockwise_200x100_p30", 87, 200, 100, 30,
                     unite({triangle(0, 100, 0, 0, 60, 100), triangle(200, 100, 200, 0, 140, 0)})},
        TriangleCase{"88_clockwise_200x100_p30", 88, 200, 100, 30,
                     unite({triangle(200, 0, 0, 0, 200, 30), triangle(200, 100, 0, 100, 0, 70)})},
        TriangleCase{"89_starburst_173x97_p30", 89, 173, 97, 30,
                     unite({triangle(86, 48, 0, 97, 0, 68), triangle(0, 0, 52, 0, 86, 48),
                            triangle(121, 97, 86, 48, 173, 97), triangle(86, 48, 173, 0, 173, 29)})},
        // B = 11, n = 5, cw = 40, ch = 20, x = 60 div 5, y = 30 div 5.
        TriangleCase{"90_triangle_grid_200x100_p30", 90, 200, 100, 30, triangleGrid(5, 40, 20, 12, 6)},
        // B = 10 on the editor's preview: n = 5, cw = 37, ch = 30, x = 93 div 5, y = 77 div 5.
        TriangleCase{"90_triangle_grid_185x153_p50", 90, 185, 153, 50, triangleGrid(5, 37, 30, 18, 15)},
        // x = 60 div 11 and y = 30 div 11: divided by B, not by n.
        TriangleCase{"101_rectangle_grid_200x100_p30", 101, 200, 100, 30, rectangleGrid(5, 40, 20, 5, 2),
                     0.0},
        TriangleCase{"101_rectangle_grid_200x100_p100", 101, 200, 100, 100, rectangleGrid(5, 40, 20, 18, 9),
                     0.0},
        TriangleCase{"101_rectangle_grid_185x153_p96", 101, 185, 153, 96, rectangleGrid(5, 37, 30, 17, 14),
                     0.0}),
    [](const ::testing::TestParamInfo<TriangleCase>& info) { return std::string(info.param.figure); });

// At P = 100 the rectangles of 101 are 36 pixels wide on points 40 apart: a 4-pixel lattice of
// the old picture is left between them (the callers then show the new picture whole).
TEST(GridShred, RectanglesLeaveALatticeAtTheLastStep) {
    Scene scene(200, 100);
    scene.run(101, {100});
    EXPECT_TRUE(scene.isNew(17, 5));
    for (int x = 18; x <= 21; ++x)
        EXPECT_TRUE(scene.isOld(x, 5)) << x;
    EXPECT_TRUE(scene.isNew(22, 5));
    EXPECT_TRUE(scene.isOld(30, 9));
    EXPECT_TRUE(scene.isOld(30, 10));
    EXPECT_TRUE(scene.isNew(30, 11));
    EXPECT_LT(scene.newCount(), 200 * 100);
}

// At P = 100 every triangle of 90 covers the grid cell above and left of its point; where the
// grid fits the picture exactly that is the whole picture, otherwise the cells of the grid.
TEST(GridShred, TrianglesCoverTheirCellsAtTheLastStep) {
    struct Case {
        int width, height, gridRight, gridBottom;
    };
    for (const Case c : {Case{200, 100, 200, 100}, Case{173, 97, 170, 95}, Case{720, 576, 720, 560}}) {
        Scene scene(c.width, c.height);
        scene.run(90, {100});
        int missing = 0;
        for (int y = 0; y < c.gridBottom; ++y)
            for (int x = 0; x < c.gridRight; ++x)
                missing += scene.isNew(x, y) ? 0 : 1;
        EXPECT_EQ(missing, 0) << c.width << " x " << c.height;
    }
}

// The diagonals, sweeps and the starburst cover the whole picture at P = 100.
TEST(Diagonals, LastStepCoversThePicture) {
    for (const auto& [width, height] : {std::pair{200, 100}, {173, 97}, {97, 173}, {185, 153}, {720, 576}}) {
        for (int effect : {83, 84, 85, 86, 87, 88, 89}) {
            Scene scene(width, height);
            scene.run(effect, {100});
            EXPECT_EQ(scene.newCount(), width * height)
                << "effect " << effect << " on " << width << " x " << height;
        }
    }
}

// 83's slanted edge passes the picture's centre at P = 50.
TEST(Diagonals, FrontPassesTheCentreHalfWay) {
    Scene scene(200, 100);
    scene.run(83, {50});
    EXPECT_TRUE(scene.isNew(97, 47));
    EXPECT_TRUE(scene.isOld(102, 52));
}

// The grid shreds repeat one drawn shape by moving it: a moved region holds the pixels of the
// shape drawn at the moved place, by whole pixels in both directions and across the origin.
TEST(GridShred, MovedRegionEqualsShapeDrawnThere) {
    const Point corners[3] = {{-12, -6}, {12, -6}, {-12, 6}};
    for (const auto& [dx, dy] : {std::pair{40, 20}, {-37, 0}, {0, -30}, {1, 1}, {-200, 150}}) {
        Region moved;
        moved.setPolygon(corners);
        moved.offset(dx, dy);
        const Point placed[3] = {{-12 + dx, -6 + dy}, {12 + dx, -6 + dy}, {-12 + dx, 6 + dy}};
        Region drawn;
        drawn.setPolygon(placed);
        EXPECT_TRUE(moved == drawn) << dx << ", " << dy;
        EXPECT_TRUE(moved.isValid());
    }
    Region empty;
    empty.offset(5, 5);
    EXPECT_TRUE(empty.isEmpty());
}

// The grid shreds give the pixels of their shapes drawn one by one, row by row from the last
// grid point back to the first, each united into the region: the same region however the
// procedure builds it.
TEST(GridShred, MatchesShapesUnitedOneByOne) {
    for (const auto& [width, height] : {std::pair{200, 100}, {185, 153}, {720, 576}, {97, 173}, {9, 40}}) {
        for (int progress : {2, 30, 57, 96, 100}) {
            const Extents e = ProgressExtents(Rect{0, 0, width, height}, kDefaultGrain, progress);
            const int n = e.B > 1 ? e.B / 2 : e.B;
            const int cw = e.W / n;
            const int ch = e.H / n;
            for (int effect : {90, 101}) {
                const int x = e.X / (effect == 90 ? n : e.B);
                const int y = e.Y / (effect == 90 ? n : e.B);
                Region expected;
                for (int i = n; i >= 0; --i) {
                    for (int j = n; j >= 0; --j) {
                        const int px = j * cw;
                        const int py = i * ch;
                        Region part;
                        if (effect == 90) {
                            const Point corners[3] = {{px - x, py - y}, {px + x, py - y}, {px - x, py + y}};
                            part.setPolygon(corners);
                        } else {
                            part.setRect({px - x, py - y, px + x, py + y});
                        }
                        expected.unite(part);
                    }
                }
                Scene scene(width, height);
                Bitmap reference = scene.dest;
                ClipDraw(reference, scene.newPicture, expected);
                scene.run(effect, {progress});
                EXPECT_TRUE(scene.dest == reference)
                    << "effect " << effect << " on " << width << " x " << height << " at P = " << progress;
            }
        }
    }
}

TEST(Diagonals, EveryStepOnThinAndOddPicturesDrawsOnlyThePictures) {
    expectOnlyOwnPixelsOnOddSizes({83, 84, 85, 86, 87, 88, 89, 90, 101});
}

} // namespace
} // namespace vistello::effects::testing
