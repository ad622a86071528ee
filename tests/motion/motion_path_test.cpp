// The way of a motion: easing curves, rectangles along the way, rectangles of a frame's aspect.

#include "motion/motion_path.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vistello::motion;
using vistello::store::Easing;
using vistello::store::MotionRect;

namespace {

constexpr Easing kEasings[] = {Easing::Linear, Easing::EaseIn, Easing::EaseOut, Easing::EaseInOut};

bool contains(const MotionRect& outer, const MotionRect& inner) {
    constexpr double e = 1e-12;
    return inner.x >= outer.x - e && inner.y >= outer.y - e &&
           inner.x + inner.width <= outer.x + outer.width + e &&
           inner.y + inner.height <= outer.y + outer.height + e;
}

TEST(Easing, EveryCurveRunsFromZeroToOneSmoothlyAndNeverBack) {
    for (const Easing easing : kEasings) {
        SCOPED_TRACE(static_cast<int>(easing));
        EXPECT_EQ(ease(easing, 0), 0);
        EXPECT_EQ(ease(easing, 1), 1);
        constexpr int steps = 1000;
        double previous = 0, previousSlope = -1;
        for (int i = 1; i <= steps; ++i) {
            const double value = ease(easing, static_cast<double>(i) / steps);
            EXPECT_GT(value, previous) << "strictly rising at step " << i;
            const double slope = (value - previous) * steps;
            EXPECT_LE(slope, 2.0 + 1e-9) << "no jump: the speed stays bounded";
            if (previousSlope >= 0) {
                EXPECT_NEAR(slope, previousSlope, 0.01) << "the speed changes gradually";
            }
            previous = value;
            previousSlope = slope;
        }
    }
}

TEST(Easing, EasedEndsStartOrStopAtRest) {
    constexpr double h = 1e-4;
    const auto startSpeed = [&](Easing e) { return ease(e, h) / h; };
    const auto endSpeed = [&](Easing e) { return (1 - ease(e, 1 - h)) / h; };
    EXPECT_NEAR(startSpeed(Easing::EaseIn), 0, 1e-3);
    EXPECT_NEAR(endSpeed(Easing::EaseIn), 2, 1e-3);
    EXPECT_NEAR(startSpeed(Easing::EaseOut), 2, 1e-3);
    EXPECT_NEAR(endSpeed(Easing::EaseOut), 0, 1e-3);
    EXPECT_NEAR(startSpeed(Easing::EaseInOut), 0, 1e-3);
    EXPECT_NEAR(endSpeed(Easing::EaseInOut), 0, 1e-3);
    EXPECT_DOUBLE_EQ(ease(Easing::EaseInOut, 0.5), 0.5);
    for (double t = 0; t <= 1; t += 0.125)
        EXPECT_NEAR(ease(Easing::EaseOut, t), 1 - ease(Easing::EaseIn, 1 - t), 1e-15) << "mirror images";
}

TEST(Easing, TimesOutsideTheWayAreClamped) {
    for (const Easing easing : kEasings) {
        EXPECT_EQ(ease(easing, -0.5), 0);
        EXPECT_EQ(ease(easing, 7), 1);
        EXPECT_EQ(ease(easing, std::nan("")), 0);
    }
}

TEST(RectAt, EndsAreTheRectanglesAndALinearWayHasEqualSteps) {
    const MotionRect start{0, 0, 1, 1}, end{0.2, 0.1, 0.75, 0.75};
    for (const Easing easing : kEasings) {
        EXPECT_EQ(rectAt(start, end, easing, 0), start);
        EXPECT_EQ(rectAt(start, end, easing, 1), end);
    }
    constexpr int frames = 75;
    for (int i = 0; i < frames; ++i) {
        const MotionRect a = rectAt(start, end, Easing::Linear, static_cast<double>(i) / frames);
        const MotionRect b = rectAt(start, end, Easing::Linear, static_cast<double>(i + 1) / frames);
        EXPECT_NEAR(b.x - a.x, 0.2 / frames, 1e-12);
        EXPECT_NEAR(b.width - a.width, -0.25 / frames, 1e-12);
    }
}

TEST(RectAt, WhatBothEndsHoldEveryRectangleOfTheWayHolds) {
    const MotionRect face{0.55, 0.2, 0.1, 0.15};
    const MotionRect start{0.3, 0.0, 0.7, 0.7}, end{0.45, 0.1, 0.5, 0.5};
    ASSERT_TRUE(contains(start, face) && contains(end, face));
    for (const Easing easing : kEasings)
        for (int i = 0; i <= 100; ++i)
            EXPECT_TRUE(contains(rectAt(start, end, easing, i / 100.0), face)) << i;
}

TEST(LargestRect, FillsOneSideOfThePictureAtTheFramesAspect) {
    const struct {
        int width, height;
        double aspect;
        MotionRect expected;
    } cases[] = {
        {1600, 900, 16.0 / 9, {0, 0, 1, 1}},
        {1600, 900, 4.0 / 3, {0.125, 0, 0.75, 1}},
        {900, 1600, 16.0 / 9, {0, 0.5 - 900.0 / 1600 * 9 / 16 / 2, 1, 900.0 / 1600 * 9 / 16}},
        {1000, 1000, 9.0 / 16, {0.5 - 9.0 / 32, 0, 9.0 / 16, 1}},
    };
    for (const auto& c : cases) {
        const MotionRect r = largestRect(c.width, c.height, c.aspect);
        EXPECT_NEAR(r.x, c.expected.x, 1e-12);
        EXPECT_NEAR(r.y, c.expected.y, 1e-12);
        EXPECT_NEAR(r.width, c.expected.width, 1e-12);
        EXPECT_NEAR(r.height, c.expected.height, 1e-12);
        EXPECT_NEAR(aspectOn(r, c.width, c.height), c.aspect, 1e-12);
    }
    EXPECT_EQ(largestRect(0, 100, 1.5), MotionRect()) << "no picture: the whole of it";
    EXPECT_EQ(largestRect(100, 100, 0), MotionRect());
}

TEST(WithAspect, KeepsCentreAndAreaAndStaysOnThePicture) {
    const MotionRect drawn{0.2, 0.2, 0.5, 0.5}; // 4:3 on a 1600 × 1200 picture
    const MotionRect wide = withAspect(drawn, 1600, 1200, 16.0 / 9);
    EXPECT_NEAR(aspectOn(wide, 1600, 1200), 16.0 / 9, 1e-12);
    EXPECT_NEAR(wide.width * wide.height, 0.25, 1e-12);
    EXPECT_NEAR(wide.x + wide.width / 2, 0.45, 1e-12);
    EXPECT_NEAR(wide.y + wide.height / 2, 0.45, 1e-12);

    const MotionRect corner = withAspect({0.8, 0.8, 0.2, 0.2}, 1600, 1200, 16.0 / 9);
    EXPECT_TRUE(vistello::store::isOnPicture(corner));
    const MotionRect whole = withAspect({0, 0, 1, 1}, 1600, 1200, 16.0 / 9);
    EXPECT_EQ(whole, largestRect(1600, 1200, 16.0 / 9)) << "never larger than the picture allows";
}

} // namespace
