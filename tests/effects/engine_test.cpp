// The engine: progress measures and rounding rules, the catalogue, the random choice of effect 0,
// and the guard against calls the two callers never make.

#include "effects/engine/catalogue.h"
#include "effects/engine/geometry.h"
#include "effects/engine/random_source.h"
#include "effects_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace vistello::effects {
namespace {

using testing::kOld;
using testing::plainPicture;
using testing::positionPicture;

TEST(Geometry, MulDivRoundsHalvesAwayFromZero) {
    const struct {
        int a, b, c, result;
    } cases[] = {{5, 1, 2, 3},
                 {-5, 1, 2, -3},
                 {5, -1, 2, -3},
                 {185, 4, 100, 7},
                 {200, 5, 90, 11},
                 {9, 5, 90, 1},
                 {8, 5, 90, 0},
                 {7, 3, 0, -1},
                 {720, 5, 90, 40},
                 {-7, -1, 2, 4},
                 {2147483647, 2, 2, 2147483647},
                 {2147483647, 4, 2, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Geometry, RoundEvenTakesTheEvenNeighbourOfAHalf) {
    EXPECT_EQ(RoundEven(2.5), 2);
    EXPECT_EQ(RoundEven(3.5), 4);
    EXPECT_EQ(RoundEven(-2.5), -2);
    EXPECT_EQ(RoundEven(2.51), 3);
    EXPECT_EQ(RoundEven(-0.4), 0);
}

TEST(Geometry, ProgressExtentsFollowTheLongerSide) {
    const struct {
        int width, height, progress;
        Extents expected;
    } cases[] = {
        {200, 100, 100, {200, 100, 200, 100, 11}}, {100, 200, 100, {100, 200, 100, 200, 11}},
        {185, 153, 4, {185, 153, 7, 6, 10}},       {200, 100, 20, {200, 100, 40, 20, 11}},
        {100, 100, 33, {100, 100, 33, 33, 6}},     {720, 576, 2, {720, 576, 14, 11, 40}},
        {173, 97, 30, {173, 97, 52, 29, 10}},      {100, 200, 20, {100, 200, 20, 40, 11}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgressExtents({0, 0, c.width, c.height}, 5, c.progress), c.expected)
            << c.width << "x" << c.height << " P=" << c.progress;
}

TEST(Geometry, RotatePointsTurnsClockwiseOnScreen) {
    constexpr double kPi = 3.14159265358979323846;
    Point rectangle[] = {{70, 35}, {130, 35}, {130, 65}, {70, 65}};
    RotatePoints(rectangle, 3, 100, 50, 30 * kPi / 50);
    EXPECT_EQ(rectangle[0], (Point{124, 26}));
    EXPECT_EQ(rectangle[1], (Point{105, 83}));
    EXPECT_EQ(rectangle[2], (Point{76, 74}));
    EXPECT_EQ(rectangle[3], (Point{95, 17}));
    Point arm[] = {{-20, 50}, {5, 5}};
    RotatePoints(arm, 0, 100, 50, 30 * kPi / 50);
    EXPECT_EQ(arm[0], (Point{137, -64}));
    EXPECT_EQ(arm[1], (Point{5, 5})); // past the last index: untouched
}

TEST(Catalogue, HoldsTheHundredAndFiveEntriesInTableOrder) {
    ASSERT_EQ(Effects().size(), 105u);
    const struct {
        int number;
        std::string_view name;
    } cases[] = {{1, "Fade"},
                 {2, "Slide in from right"},
                 {20, "Expand in from top"},
                 {27, "Expand in from top"},
                 {40, "Quarters Slide in to middle"},
                 {55, "Unven shred from bottom"},
                 {73, "Criss Cross reveal from bottom left top right"},
                 {89, "Starburst clockwise from center"},
                 {101, "Rectangular shred"},
                 {105, "Rotational star"}};
    for (const auto& c : cases) {
        ASSERT_NE(FindEffect(c.number), nullptr);
        EXPECT_EQ(FindEffect(c.number)->Name, c.name);
        EXPECT_EQ(&Effects()[static_cast<std::size_t>(c.number - 1)], FindEffect(c.number));
    }
    for (const TEffect& effect : Effects())
        EXPECT_NE(effect.Proc, nullptr);
    EXPECT_EQ(FindEffect(0), nullptr);
    EXPECT_EQ(FindEffect(106), nullptr);
    EXPECT_EQ(FindEffect(-1), nullptr);
}

TEST(Catalogue, RandomChoiceIsUniformOverOneTo105) {
    ScriptedRandom lowest({0});
    EXPECT_EQ(RandomEffectNumber(lowest), 1);
    EXPECT_EQ(lowest.requests(), std::vector<int>{105});
    ScriptedRandom highest({104});
    EXPECT_EQ(RandomEffectNumber(highest), 105);
    ScriptedRandom unused({50});
    EXPECT_EQ(ResolveEffectNumber(7, unused), 7);
    EXPECT_TRUE(unused.requests().empty());
    EXPECT_EQ(ResolveEffectNumber(0, unused), 51);
    EXPECT_EQ(ResolveEffectNumber(300, unused), 51);

    ClockRandom random(2024);
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i) {
        const int n = RandomEffectNumber(random);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 105);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 105u);
    ClockRandom first(7);
    ClockRandom second(7);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(first.Random(1000), second.Random(1000));
    EXPECT_EQ(first.Random(0), 0);
    EXPECT_EQ(first.Random(1), 0);
}

TEST(Catalogue, DegenerateCallsDrawTheNewPictureWhole) {
    const struct {
        int width, height, progress;
    } cases[] = {{8, 5, 50}, {8, 8, 100}, {5, 8, 1}, {200, 100, 0}, {200, 100, -5}, {1, 1, 50}};
    for (const auto& c : cases) {
        const Bitmap picture = positionPicture(c.width, c.height);
        for (int n = 1; n <= 105; ++n) {
            Bitmap dest = plainPicture(c.width, c.height, kOld);
            ScriptedRandom random;
            FindEffect(n)->Proc(dest, picture, {0, 0, c.width, c.height}, kDefaultGrain, c.progress, random);
            EXPECT_EQ(dest, picture) << "effect " << n << " on " << c.width << "x" << c.height
                                     << " P=" << c.progress;
        }
    }
}

TEST(Catalogue, EveryEffectSurvivesHostileCalls) {
    // Sizes that disagree with the rectangle, empty bitmaps, progress past 100 and a zero grain:
    // nothing may be written or read outside the bitmaps (the sanitizer build checks).
    const struct {
        int destWidth, destHeight, newWidth, newHeight, rectWidth, rectHeight, grain, progress;
    } cases[] = {{50, 30, 30, 50, 60, 60, 5, 37},  {0, 0, 10, 10, 10, 10, 5, 50},
                 {40, 40, 40, 40, 40, 40, 5, 250}, {40, 40, 40, 40, 40, 40, 0, 50},
                 {40, 40, 0, 0, 40, 40, 5, 100},   {9, 200, 9, 200, 9, 200, 5, 3}};
    for (const auto& c : cases) {
        const Bitmap picture = positionPicture(c.newWidth, c.newHeight);
        for (int n = 1; n <= 105; ++n) {
            Bitmap dest = plainPicture(c.destWidth, c.destHeight, kOld);
            ClockRandom random(n);
            FindEffect(n)->Proc(dest, picture, {0, 0, c.rectWidth, c.rectHeight}, c.grain, c.progress,
                                random);
        }
    }
}

} // namespace
} // namespace vistello::effects
