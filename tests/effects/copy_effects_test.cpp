// Slides, wipes, pushes, stretches, roll-outs and flow-ins, drawn on a picture whose pixels tell
// their own position, against the rectangles and copies worked out by hand for each case.

#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "effects_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace vistello::effects {
namespace {

using testing::kOld;
using testing::plainPicture;
using testing::positionPicture;
using testing::runStep;
using testing::sourceOf;

struct Copy {
    Rect dest;
    Rect source; // same size as dest
};

// What the listed same-size copies of the new picture leave on the old picture.
Bitmap expectedAfter(int width, int height, const std::vector<Copy>& copies) {
    Bitmap expected = plainPicture(width, height, kOld);
    const Bitmap picture = positionPicture(width, height);
    for (const Copy& copy : copies)
        for (int y = copy.dest.top; y < copy.dest.bottom; ++y)
            for (int x = copy.dest.left; x < copy.dest.right; ++x) {
                const int sx = copy.source.left + x - copy.dest.left;
                const int sy = copy.source.top + y - copy.dest.top;
                if (expected.bounds().contains(x, y) && picture.bounds().contains(sx, sy))
                    expected.setPixel(x, y, picture.pixel(sx, sy));
            }
    return expected;
}

struct CopyCase {
    int effect;
    int width;
    int height;
    int progress;
    std::vector<Copy> copies;
};

TEST(CopyEffects, WorkedFiguresOfSlidesAndWipes) {
    const std::vector<CopyCase> cases = {
        {2, 200, 100, 20, {{{160, 0, 360, 100}, {0, 0, 200, 100}}}},
        {2, 200, 100, 100, {{{0, 0, 200, 100}, {0, 0, 200, 100}}}},
        {2, 100, 200, 20, {{{80, 0, 180, 200}, {0, 0, 100, 200}}}},
        {3, 200, 100, 20, {{{-160, 0, 40, 100}, {0, 0, 200, 100}}}},
        {15, 200, 100, 20, {{{0, 80, 200, 180}, {0, 0, 200, 100}}}},
        {16, 200, 100, 20, {{{0, -80, 200, 20}, {0, 0, 200, 100}}}},
        {4, 200, 100, 30, {{{0, 0, 60, 100}, {0, 0, 60, 100}}}},
        {5, 200, 100, 30, {{{140, 0, 200, 100}, {140, 0, 200, 100}}}},
        {17, 200, 100, 30, {{{0, 0, 200, 30}, {0, 0, 200, 30}}}},
        {18, 200, 100, 30, {{{0, 70, 200, 100}, {0, 70, 200, 100}}}},
        {9, 185, 153, 4, {{{89, 0, 96, 153}, {89, 0, 96, 153}}}},
        {22, 185, 153, 4, {{{0, 73, 185, 79}, {0, 73, 185, 79}}}},
        {10, 200, 100, 100, {{{0, 0, 101, 100}, {0, 0, 101, 100}}, {{99, 0, 200, 100}, {99, 0, 200, 100}}}},
        {10, 200, 100, 4, {{{0, 0, 5, 100}, {0, 0, 5, 100}}, {{195, 0, 200, 100}, {195, 0, 200, 100}}}},
        {23, 200, 100, 20, {{{0, 0, 200, 11}, {0, 0, 200, 11}}, {{0, 89, 200, 100}, {0, 89, 200, 100}}}},
        {28, 200, 100, 30, {{{0, 0, 60, 30}, {0, 0, 60, 30}}}},
        {29, 200, 100, 30, {{{0, 70, 60, 100}, {0, 70, 60, 100}}}},
        {30, 200, 100, 30, {{{140, 70, 200, 100}, {140, 70, 200, 100}}}},
        {31, 200, 100, 30, {{{140, 0, 200, 30}, {140, 0, 200, 30}}}},
        {37, 200, 100, 30, {{{70, 35, 130, 65}, {70, 35, 130, 65}}}},
        {38,
         200,
         100,
         20,
         {{{0, 0, 200, 10}, {0, 0, 200, 10}},
          {{0, 90, 200, 100}, {0, 90, 200, 100}},
          {{0, 0, 20, 100}, {0, 0, 20, 100}},
          {{180, 0, 200, 100}, {180, 0, 200, 100}}}},
        {39,
         200,
         100,
         20,
         {{{0, 0, 21, 11}, {0, 0, 21, 11}},
          {{0, 89, 21, 100}, {0, 89, 21, 100}},
          {{179, 89, 200, 100}, {179, 89, 200, 100}},
          {{179, 0, 200, 11}, {179, 0, 200, 11}}}},
        {40,
         200,
         100,
         20,
         {{{-80, 0, 21, 51}, {0, 0, 101, 51}},
          {{99, -40, 200, 11}, {99, 0, 200, 51}},
          {{180, 49, 280, 100}, {101, 49, 200, 100}},
          {{0, 90, 101, 140}, {0, 51, 101, 100}}}},
    };
    for (const CopyCase& c : cases) {
        const Bitmap dest = runStep(c.effect, c.width, c.height, c.progress);
        EXPECT_EQ(dest, expectedAfter(c.width, c.height, c.copies))
            << "effect " << c.effect << " on " << c.width << "x" << c.height << " P=" << c.progress;
    }
}

TEST(CopyEffects, PushShiftsWhatIsOnScreenThenFillsTheGap) {
    // Effect 95 on 200 × 100 at P = 30, starting from a screen that already shows something
    // distinctive: Dest (60, 0, 200, 100) ← Dest (0, 0, 140, 100), then (0, 0, 60, 100) ← New
    // (140, 0, 200, 100).
    const struct {
        int effect;
        Rect moved;    // where the old screen's content lands
        Point shift;   // by how much it moved
        Rect filled;   // the gap filled from the new picture
        Point fromNew; // offset of the gap's source in the new picture
    } cases[] = {
        {95, {60, 0, 200, 100}, {60, 0}, {0, 0, 60, 100}, {140, 0}},
        {96, {0, 0, 140, 100}, {-60, 0}, {140, 0, 200, 100}, {-140, 0}},
        {97, {0, 30, 200, 100}, {0, 30}, {0, 0, 200, 30}, {0, 70}},
        {98, {0, 0, 200, 70}, {0, -30}, {0, 70, 200, 100}, {0, -70}},
    };
    for (const auto& c : cases) {
        // The screen before the step: the position picture turned by 180 degrees, red 5.
        Bitmap screen(200, 100);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x)
                screen.setPixel(x, y,
                                {static_cast<std::uint8_t>(199 - x), static_cast<std::uint8_t>(99 - y), 5});
        const Bitmap before = screen;
        const Bitmap dest = runStep(c.effect, 200, 100, 30, &screen);
        const Bitmap picture = positionPicture(200, 100);
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) {
                if (c.filled.contains(x, y))
                    ASSERT_EQ(dest.pixel(x, y), picture.pixel(x + c.fromNew.x, y + c.fromNew.y)) << c.effect;
                else
                    ASSERT_EQ(dest.pixel(x, y), before.pixel(x - c.shift.x, y - c.shift.y))
                        << c.effect << " " << x;
            }
    }
}

// Runs the video sequence P = 2, 4, ..., 100 on one destination.
Bitmap runVideoSequence(int effect, int width, int height) {
    Bitmap dest = plainPicture(width, height, kOld);
    const Bitmap picture = positionPicture(width, height);
    ScriptedRandom random;
    for (int p = 2; p <= 100; p += 2)
        FindEffect(effect)->Proc(dest, picture, {0, 0, width, height}, kDefaultGrain, p, random);
    return dest;
}

TEST(CopyEffects, EveryCopyEffectEndsOnTheNewPicture) {
    const int members[] = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                           23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36, 37, 39, 95, 96, 97, 98};
    for (const int effect : members) {
        for (const auto& size : {Point{200, 100}, Point{97, 131}}) {
            EXPECT_EQ(runStep(effect, size.x, size.y, 100), positionPicture(size.x, size.y))
                << "effect " << effect;
            EXPECT_EQ(runVideoSequence(effect, size.x, size.y), positionPicture(size.x, size.y))
                << "effect " << effect;
        }
    }
}

TEST(CopyEffects, FrameAndQuartersLeaveTheirDocumentedSeams) {
    // Effect 38 halves odd extents: on 97 × 131 at P = 100 column 48 and row 65 stay where both
    // band pairs stop short, and only their crossing keeps the old picture.
    Bitmap dest = runStep(38, 97, 131, 100);
    EXPECT_EQ(sourceOf(dest, 48, 65), std::nullopt);
    for (int x = 0; x < 97; ++x)
        for (int y = 0; y < 131; ++y)
            if (x != 48 || y != 65) {
                ASSERT_EQ(sourceOf(dest, x, y), (Point{x, y})) << x << "," << y;
            }
    // Effect 40 at P = 100 draws the bottom-right quarter from (101, 49, 200, 100) into
    // (100, 49, 200, 100): a one-pixel stretch; the other quarters land exactly.
    dest = runStep(40, 200, 100, 100);
    EXPECT_NE(dest, positionPicture(200, 100));
    EXPECT_EQ(sourceOf(dest, 199, 99), (Point{199, 99}));
    EXPECT_EQ(sourceOf(dest, 100, 20), (Point{100, 20}));
    EXPECT_EQ(sourceOf(dest, 10, 10), (Point{10, 10}));
    EXPECT_EQ(sourceOf(dest, 150, 10), (Point{150, 10}));
}

// Checks that the destination pixel shows the new picture's pixel (sx, sy), allowing one pixel
// of rounding along a stretched axis.
void expectFrom(const Bitmap& dest, int x, int y, int sx, int sy, int tolerance, int effect) {
    const auto from = sourceOf(dest, x, y);
    ASSERT_TRUE(from.has_value()) << "effect " << effect << " pixel " << x << "," << y
                                  << " kept the old picture";
    EXPECT_LE(std::abs(from->x - sx), tolerance) << "effect " << effect << " pixel " << x << "," << y;
    EXPECT_LE(std::abs(from->y - sy), tolerance) << "effect " << effect << " pixel " << x << "," << y;
}

TEST(CopyEffects, StretchesMagnifyTheGrowingPart) {
    // Effect 6 on 200 × 100 at P = 20: (0, 0, 360, 100) ← (0, 0, 40, 100), nine columns each.
    Bitmap dest = runStep(6, 200, 100, 20);
    for (int x : {0, 8, 9, 100, 199})
        expectFrom(dest, x, 50, x / 9, 50, 0, 6);
    // Effect 8 at P = 20: (−160, 0, 360, 100) ← (80, 0, 120, 100), thirteen columns each.
    dest = runStep(8, 200, 100, 20);
    expectFrom(dest, 0, 7, 80 + 160 / 13, 7, 1, 8);
    expectFrom(dest, 199, 7, 80 + 359 / 13, 7, 1, 8);
    // Effect 6 on a tall 100 × 200 at P = 20: (0, 0, 180, 200) ← (0, 0, 20, 200).
    dest = runStep(6, 100, 200, 20);
    expectFrom(dest, 99, 150, 11, 150, 1, 6);
    // Effect 36 at P = 50 on 200 × 100: (−100, −50, 300, 150) ← (50, 25, 150, 75), fourfold.
    dest = runStep(36, 200, 100, 50);
    expectFrom(dest, 0, 0, 75, 37, 1, 36);
    expectFrom(dest, 199, 99, 124, 62, 1, 36);
    // Effect 34 at P = 50: (−100, −50, 200, 100) ← (100, 50, 200, 100), threefold, from the far corner.
    dest = runStep(34, 200, 100, 50);
    expectFrom(dest, 199, 99, 199, 99, 0, 34);
    expectFrom(dest, 0, 0, 133, 66, 1, 34);
    // Effects 19, 20, 21 are the vertical counterparts.
    dest = runStep(19, 200, 100, 20);
    expectFrom(dest, 5, 99, 5, 11, 1, 19);
    dest = runStep(20, 200, 100, 20);
    expectFrom(dest, 5, 0, 5, 88, 1, 20);
    expectFrom(dest, 5, 99, 5, 99, 0, 20);
}

TEST(CopyEffects, RollOutsMirrorTheStripBesideTheUncoveredPart) {
    const struct {
        int effect;
        int progress;
        int exactFrom, exactTo;  // columns (or rows) copied exactly
        int rollFirst, rollLast; // covered by the mirrored roll, outside the exact part
        int rollFirstSource;     // the source of rollFirst (one pixel of tolerance)
        int rollLastSource;
        bool vertical;
    } cases[] = {
        // Effect 11 on 200 × 100: at P = 20 (X = 40) the roll is 20 wide: origin 61, width −22.
        {11, 20, 0, 40, 40, 60, 79, 60, false},
        // At P = 4 (X = 8): origin 13, width −6, source (12, 0, 4 wide).
        {11, 4, 0, 8, 8, 12, 15, 12, false},
        // Effect 12 at P = 20: origin 161, width −22, source (120, 0, 20 wide).
        {12, 20, 160, 200, 139, 159, 139, 120, false},
        // Effect 24 on 200 × 100 at P = 40 (Y = 40): roll L(40, 100) = 10 rows below row 40.
        {24, 40, 0, 40, 40, 50, 59, 50, true},
        // Effect 25 at P = 40: uncovered rows 60..99, roll rows 49..59.
        {25, 40, 60, 100, 49, 59, 49, 40, true},
    };
    for (const auto& c : cases) {
        const Bitmap dest = runStep(c.effect, 200, 100, c.progress);
        auto at = [&](int along, int across) {
            return c.vertical ? Point{across, along} : Point{along, across};
        };
        for (int a = c.exactFrom; a < c.exactTo; a += 7) {
            const Point p = at(a, 33);
            expectFrom(dest, p.x, p.y, p.x, p.y, 0, c.effect);
        }
        const Point first = at(c.rollFirst, 33);
        const Point last = at(c.rollLast, 33);
        const Point firstSource = at(c.rollFirstSource, 33);
        const Point lastSource = at(c.rollLastSource, 33);
        expectFrom(dest, first.x, first.y, firstSource.x, firstSource.y, 1, c.effect);
        expectFrom(dest, last.x, last.y, lastSource.x, lastSource.y, 1, c.effect);
        // Beyond the roll the old picture is untouched.
        const int beyond = c.rollLast > c.rollFirst ? c.rollLast + 1 : c.rollFirst - 1;
        const int outside =
            c.exactFrom == 0 ? std::max(c.rollFirst, c.rollLast) + 1 : std::min(c.rollFirst, c.rollLast) - 1;
        (void)beyond;
        const Point o = at(outside, 33);
        EXPECT_EQ(sourceOf(dest, o.x, o.y), std::nullopt) << "effect " << c.effect << " P=" << c.progress;
    }
}

TEST(CopyEffects, FlowInsSmearTheStripBeyondTheUncoveredPart) {
    // Effect 13 on 200 × 100 at P = 20 (W div B = 18): (0, 0, 40, 100) exact, then
    // (40, 0, 200, 100) ← (40, 0, 58, 100).
    Bitmap dest = runStep(13, 200, 100, 20);
    expectFrom(dest, 39, 10, 39, 10, 0, 13);
    expectFrom(dest, 40, 10, 40, 10, 0, 13);
    expectFrom(dest, 199, 10, 57, 10, 0, 13);
    // Effect 14 at P = 20: (160, 0, 200, 100) exact, then (0, 0, 160, 100) ← (142, 0, 160, 100).
    dest = runStep(14, 200, 100, 20);
    expectFrom(dest, 160, 10, 160, 10, 0, 14);
    expectFrom(dest, 0, 10, 142, 10, 0, 14);
    expectFrom(dest, 159, 10, 159, 10, 0, 14);
    // Effect 26 at P = 20 (H div B = 9): (0, 0, 200, 20) exact, then (0, 20, 200, 100) ← (0, 20, 200, 29).
    dest = runStep(26, 200, 100, 20);
    expectFrom(dest, 3, 19, 3, 19, 0, 26);
    expectFrom(dest, 3, 99, 3, 28, 0, 26);
    // Effect 27 at P = 20: rows 80..99 exact, then (0, 0, 200, 80) ← (0, 71, 200, 80).
    dest = runStep(27, 200, 100, 20);
    expectFrom(dest, 3, 0, 3, 71, 0, 27);
    expectFrom(dest, 3, 80, 3, 80, 0, 27);
    // Near the end the strip is cut at the picture's edge: at P = 95 (X = 190) the strip is
    // (190, 0, 200, 100), copied in place.
    dest = runStep(13, 200, 100, 95);
    EXPECT_EQ(dest, positionPicture(200, 100));
}

} // namespace
} // namespace vistello::effects
