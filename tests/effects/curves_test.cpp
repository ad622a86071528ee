// Curved and elliptic reveals: the rounded rectangles of the worked figures, drawn through the
// catalogue on distinctive pictures, and what the last step covers.

#include "shape_expectations.h"

#include <gtest/gtest.h>

namespace vistello::effects::testing {
namespace {

struct CurveCase {
    const char* figure;
    int effect;
    int width;
    int height;
    int progress;
    Shape shape;
};

void PrintTo(const CurveCase& c, std::ostream* os) {
    *os << c.figure;
}

class CurvedRevealFigures : public ::testing::TestWithParam<CurveCase> {};

TEST_P(CurvedRevealFigures, DrawsTheRoundedRectangleOfTheFigure) {
    const CurveCase& c = GetParam();
    Scene scene(c.width, c.height);
    scene.run(c.effect, {c.progress});
    EXPECT_TRUE(matchesShape(scene, c.shape));
}

INSTANTIATE_TEST_SUITE_P(
    Figures, CurvedRevealFigures,
    ::testing::Values(
        CurveCase{"41_left_200x100_p30", 41, 200, 100, 30, roundRectShape(-400, -5, 120, 105, 400, 400)},
        CurveCase{"42_right_200x100_p30", 42, 200, 100, 30, roundRectShape(80, -5, 600, 105, 400, 400)},
        CurveCase{"51_top_200x100_p30", 51, 200, 100, 30, roundRectShape(-5, -200, 205, 60, 200, 200)},
        CurveCase{"52_bottom_200x100_p30", 52, 200, 100, 30, roundRectShape(-5, 40, 205, 300, 200, 200)},
        CurveCase{"59_top_left_173x97_p30", 59, 173, 97, 30, roundRectShape(-346, -194, 104, 58, 346, 194)},
        CurveCase{"60_top_right_173x97_p30", 60, 173, 97, 30, roundRectShape(69, -194, 519, 58, 346, 194)},
        CurveCase{"61_bottom_left_173x97_p30", 61, 173, 97, 30, roundRectShape(-346, 39, 104, 291, 346, 194)},
        CurveCase{"62_bottom_right_173x97_p30", 62, 173, 97, 30, roundRectShape(69, 39, 519, 291, 194, 194)},
        CurveCase{"63_ellipse_out_173x97_p30", 63, 173, 97, 30, roundRectShape(34, 19, 138, 77, 93, 52)},
        CurveCase{"64_ellipse_in_173x97_p30", 64, 173, 97, 30,
                  exclusiveOr(rectShape(0, 0, 173, 97), roundRectShape(-34, -19, 207, 116, 217, 122))},
        // Portrait pictures take the extents from the height.
        CurveCase{"41_left_97x173_p50", 41, 97, 173, 50, roundRectShape(-194, -5, 98, 178, 194, 194)},
        CurveCase{"63_ellipse_out_97x173_p50", 63, 97, 173, 50, roundRectShape(-1, -1, 97, 173, 88, 156)},
        CurveCase{"64_ellipse_in_200x100_p70", 64, 200, 100, 70,
                  exclusiveOr(rectShape(0, 0, 200, 100), roundRectShape(40, 20, 160, 80, 108, 54))}),
    [](const ::testing::TestParamInfo<CurveCase>& info) { return std::string(info.param.figure); });

// The front of 41 at P = 30 on 200 × 100 is the half ellipse closing its 110-pixel-high
// rectangle: its tip reaches x = 119 on the middle rows, but on the top row only about x = 7.
TEST(CurvedReveal, FrontIsOneWideArc) {
    Scene scene(200, 100);
    scene.run(41, {30});
    EXPECT_TRUE(scene.isNew(118, 50));
    EXPECT_TRUE(scene.isOld(121, 50));
    EXPECT_TRUE(scene.isNew(3, 0));
    EXPECT_TRUE(scene.isOld(12, 0));
    EXPECT_TRUE(scene.isOld(199, 50));
}

// The elliptic reveal to the centre keeps the old picture in the middle until the last step.
TEST(EllipticReveal, ClosingEllipseKeepsTheCentreOld) {
    Scene scene(173, 97);
    scene.run(64, {60}); // the rounded rectangle (18, 10)-(155, 87), corners 124 × 70
    EXPECT_TRUE(scene.isOld(86, 48));
    EXPECT_TRUE(scene.isNew(0, 0));
    EXPECT_TRUE(scene.isNew(172, 96));
}

struct CoverCase {
    int width;
    int height;
};

class CurvedRevealLastStep : public ::testing::TestWithParam<CoverCase> {};

// Every member covers the whole picture at P = 100, on wide, tall, odd and square pictures; for
// 64 at an odd size the closing ellipse's edges have crossed by then, which leaves no hole.
TEST_P(CurvedRevealLastStep, CoversThePicture) {
    const CoverCase& c = GetParam();
    for (int effect : {41, 42, 51, 52, 59, 60, 61, 62, 63, 64}) {
        Scene scene(c.width, c.height);
        scene.run(effect, {100});
        EXPECT_EQ(scene.newCount(), c.width * c.height) << "effect " << effect;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, CurvedRevealLastStep,
                         ::testing::Values(CoverCase{200, 100}, CoverCase{173, 97}, CoverCase{97, 173},
                                           CoverCase{185, 153}, CoverCase{64, 64}, CoverCase{720, 576}));

// The region grows with the progress: a later step never needs less than an earlier one drew,
// and the video sequence ends on the whole new picture.
TEST(CurvedReveal, StepsGrowToTheWholePicture) {
    for (int effect : {41, 42, 51, 52, 59, 60, 61, 62, 63}) {
        int lastCount = 0;
        for (int p = 4; p <= 96; p += 4) {
            Scene single(185, 153);
            single.run(effect, {p});
            const int count = single.newCount();
            EXPECT_GE(count, lastCount) << "effect " << effect << " at P = " << p;
            lastCount = count;
        }
        Scene video(185, 153);
        for (int p = 2; p <= 100; p += 2)
            video.run(effect, {p});
        EXPECT_EQ(video.newCount(), 185 * 153) << "effect " << effect;
    }
}

TEST(CurvedReveal, EveryStepOnThinAndOddPicturesDrawsOnlyThePictures) {
    expectOnlyOwnPixelsOnOddSizes({41, 42, 51, 52, 59, 60, 61, 62, 63, 64});
}

} // namespace
} // namespace vistello::effects::testing
