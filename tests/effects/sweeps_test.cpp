// Sweeps and rotations: the sector points and turned polygons of the worked figures, the pixels
// the catalogue's procedures draw with them, and what the last step leaves.

#include "shape_expectations.h"

#include "effects/engine/geometry.h"
#include "effects/families/sector_region.h"

#include <gtest/gtest.h>

#include <array>
#include <numbers>

namespace vistello::effects::testing {
namespace {

constexpr long double kPi = std::numbers::pi_v<long double>;

TEST(SectorPoints, ClockwiseSweepOf200x100AtP30) {
    std::array<Point, 101> points{};
    const int count = SectorPoints(points, 100, 50, 112, 30, 30 * kPi / 50 - kPi / 2, -kPi / 2);
    ASSERT_EQ(count, 31);
    EXPECT_EQ(points[0], (Point{100, 50}));
    EXPECT_EQ(points[1], (Point{100, -62}));
    EXPECT_EQ(points[2], (Point{107, -62}));
    EXPECT_EQ(points[3], (Point{114, -61}));
    // 29 steps of 3.6 degrees: 104.4 degrees clockwise from twelve o'clock.
    EXPECT_EQ(points[30], (Point{208, 78}));
}

TEST(SectorPoints, AnticlockwiseSweepMirrorsTheXOffsets) {
    std::array<Point, 101> clockwise{};
    std::array<Point, 101> anticlockwise{};
    ASSERT_EQ(SectorPoints(clockwise, 100, 50, 112, 30, 30 * kPi / 50 - kPi / 2, -kPi / 2), 31);
    ASSERT_EQ(SectorPoints(anticlockwise, 100, 50, 112, 30, -30 * kPi / 50 - kPi / 2, -kPi / 2), 31);
    EXPECT_EQ(anticlockwise[1], (Point{100, -62}));
    EXPECT_EQ(anticlockwise[2], (Point{93, -62}));
    EXPECT_EQ(anticlockwise[3], (Point{86, -61}));
    EXPECT_EQ(anticlockwise[30], (Point{-8, 78}));
    for (int k = 0; k < 31; ++k) {
        EXPECT_EQ(anticlockwise[k].x - 100, -(clockwise[k].x - 100)) << k;
        EXPECT_EQ(anticlockwise[k].y, clockwise[k].y) << k;
    }
}

TEST(SectorPoints, BufferLimitsAndEmptyArcs) {
    std::array<Point, 5> small{};
    EXPECT_EQ(SectorPoints(small, 10, 10, 5, 30, kPi, 0), 5); // cut to the buffer
    EXPECT_EQ(small[1], (Point{15, 10}));
    EXPECT_EQ(SectorPoints(small, 10, 10, 5, 0, kPi, 0), 1); // the centre alone
    EXPECT_EQ(SectorPoints(std::span<Point>(), 10, 10, 5, 3, kPi, 0), 0);

    Region region;
    SectorRegion(region, 10, 10, 5, 1, kPi, 0); // centre and one point: no area
    EXPECT_TRUE(region.isEmpty());
    SectorRegion(region, 100, 100, 50, 400, 2 * kPi, 0); // more points than the sweeps use
    EXPECT_TRUE(region.contains(120, 90));
}

TEST(CeilHypot, ReachesTheCorners) {
    EXPECT_EQ(CeilHypot(100, 50), 112); // √12500 = 111.8
    EXPECT_EQ(CeilHypot(3, 4), 5);      // exact roots stay
    EXPECT_EQ(CeilHypot(92, 76), 120);  // 185 × 153: √14240 = 119.33
    EXPECT_EQ(CeilHypot(360, 288), 462);
    EXPECT_EQ(CeilHypot(0, 0), 0);
}

TEST(RotatePoints, TurnsTheWorkedRectangleAndStar) {
    const double angle = 30 * std::numbers::pi / 50; // 108 degrees
    std::array<Point, 4> rectangle = {{{70, 35}, {130, 35}, {130, 65}, {70, 65}}};
    RotatePoints(rectangle, 3, 100, 50, angle);
    EXPECT_EQ(rectangle, (std::array<Point, 4>{{{124, 26}, {105, 83}, {76, 74}, {95, 17}}}));

    std::array<Point, 8> star = {
        {{-20, 50}, {70, 35}, {100, -10}, {130, 35}, {220, 50}, {130, 65}, {100, 110}, {70, 65}}};
    RotatePoints(star, 7, 100, 50, angle);
    EXPECT_EQ(star,
              (std::array<Point, 8>{
                  {{137, -64}, {124, 26}, {157, 69}, {105, 83}, {63, 164}, {76, 74}, {43, 31}, {95, 17}}}));

    std::array<Point, 2> partly = {{{110, 50}, {110, 50}}};
    RotatePoints(partly, 0, 100, 50, std::numbers::pi / 2); // only index 0 turns
    EXPECT_EQ(partly[0], (Point{100, 60}));
    EXPECT_EQ(partly[1], (Point{110, 50}));
}

struct SweepCase {
    const char* figure;
    int effect;
    int width;
    int height;
    int progress;
    Shape shape;
    double margin = 1.5;
};

void PrintTo(const SweepCase& c, std::ostream* os) {
    *os << c.figure;
}

class SweepFigures : public ::testing::TestWithParam<SweepCase> {};

TEST_P(SweepFigures, DrawsTheShapeOfTheFigure) {
    const SweepCase& c = GetParam();
    Scene scene(c.width, c.height);
    scene.run(c.effect, {c.progress});
    EXPECT_TRUE(matchesShape(scene, c.shape, c.margin));
}

INSTANTIATE_TEST_SUITE_P(
    Figures, SweepFigures,
    ::testing::Values(
        // P − 1 = 29 steps of 3.6 degrees from twelve o'clock.
        SweepCase{"102_clockwise_200x100_p30", 102, 200, 100, 30, clockwiseWedge(100, 50, 0, 104.4)},
        SweepCase{"103_anticlockwise_200x100_p30", 103, 200, 100, 30, clockwiseWedge(100, 50, 255.6, 360)},
        // An odd width puts the right-hand corners 120.1 from the centre (92, 76), just beyond
        // the radius 120 = ⌈√(92² + 76²)⌉ and its inscribed arc: only the disc is judged there.
        SweepCase{"102_clockwise_185x153_p76", 102, 185, 153, 76,
                  intersect(clockwiseWedge(92, 76, 0, 270), disc(92, 76, 119.25))},
        // The last step leaves the one-step wedge just before twelve o'clock.
        SweepCase{"102_clockwise_200x100_p100", 102, 200, 100, 100, clockwiseWedge(100, 50, 0, 356.4)},
        SweepCase{"103_anticlockwise_200x100_p100", 103, 200, 100, 100, clockwiseWedge(100, 50, 3.6, 360)},
        SweepCase{"104_rectangle_200x100_p30", 104, 200, 100, 30,
                  polygonShape({{124, 26}, {105, 83}, {76, 74}, {95, 17}})},
        SweepCase{
            "105_star_200x100_p30", 105, 200, 100, 30,
            polygonShape(
                {{137, -64}, {124, 26}, {157, 69}, {105, 83}, {63, 164}, {76, 74}, {43, 31}, {95, 17}})},
        // Half a turn: the rectangle (50, 25)-(150, 75) upside down is the same rectangle.
        SweepCase{"104_rectangle_200x100_p50", 104, 200, 100, 50, rectShape(50, 25, 150, 75), 0.0},
        // At P = 100 the rectangle is upright again and stops one pixel short of an odd edge.
        SweepCase{"104_rectangle_173x97_p100", 104, 173, 97, 100, rectShape(0, 0, 172, 96), 0.0},
        SweepCase{"104_rectangle_200x100_p100", 104, 200, 100, 100, everywhere(), 0.0},
        // On an odd size the inner corners stand on (0, 0) and (172, 96): the star's notch there
        // leaves the last pixel old (the callers then show the whole new picture).
        SweepCase{"105_star_173x97_p100", 105, 173, 97, 100,
                  exclusiveOr(everywhere(), rectShape(172, 96, 173, 97)), 0.0},
        SweepCase{"105_star_200x100_p100", 105, 200, 100, 100, everywhere(), 0.0},
        SweepCase{"105_star_720x576_p100", 105, 720, 576, 100, everywhere(), 0.0}),
    [](const ::testing::TestParamInfo<SweepCase>& info) { return std::string(info.param.figure); });

// Up to its last step a sweep's whole-picture transition leaves only the wedge next to twelve
// o'clock old, and drawing the video sequence ends with that wedge still showing the old picture.
TEST(Sweep, VideoSequenceLeavesOnlyTheLastWedge) {
    for (const auto& [effect, oldPixel, newPixel] :
         {std::tuple{102, Point{98, 5}, Point{102, 5}}, std::tuple{103, Point{102, 5}, Point{98, 5}}}) {
        Scene scene(200, 100);
        for (int p = 2; p <= 100; p += 2)
            scene.run(effect, {p});
        EXPECT_TRUE(scene.isOld(oldPixel.x, oldPixel.y)) << effect;
        EXPECT_TRUE(scene.isNew(newPixel.x, newPixel.y)) << effect;
        EXPECT_TRUE(scene.isNew(100, 95)) << effect;
        EXPECT_GT(scene.newCount(), 200 * 100 * 95 / 100) << effect;
    }
}

TEST(Sweep, EveryStepOnThinAndOddPicturesDrawsOnlyThePictures) {
    expectOnlyOwnPixelsOnOddSizes({102, 103, 104, 105});
}

} // namespace
} // namespace vistello::effects::testing
