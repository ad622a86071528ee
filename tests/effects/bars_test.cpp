// Bars, criss-cross and blinds against the worked figures: which pixels of a 200 × 100 (or
// 185 × 153) picture one step reveals, and that the last step of the video leaves the whole
// picture.

#include "effects/families/bars.h"

#include "reveal_mask.h"

#include <gtest/gtest.h>

namespace vistello::effects {
namespace {

using reveal::maskOf;
using reveal::runEffect;

// Rectangles make(v) for v = first, first + step, ... up to and including last.
std::vector<Rect> every(int first, int last, int step, const std::function<std::vector<Rect>(int)>& make) {
    std::vector<Rect> rects;
    for (int v = first; v <= last; v += step)
        for (const Rect& r : make(v))
            rects.push_back(r);
    return rects;
}

std::vector<Rect> join(std::vector<Rect> a, const std::vector<Rect>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct StripeCase {
    const char* what;
    int effect;
    int width;
    int height;
    int progress;
    std::vector<Rect> expected;
};

class StripeFigures : public ::testing::TestWithParam<StripeCase> {};

TEST_P(StripeFigures, RevealsExactlyTheBands) {
    const StripeCase& c = GetParam();
    const reveal::Mask actual = runEffect(c.effect, c.width, c.height, c.progress);
    EXPECT_EQ(reveal::describeDifference(actual, maskOf(c.width, c.height, c.expected)), "") << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Worked, StripeFigures,
    ::testing::Values(
        StripeCase{"43 at P=30: even bands 120 long from the right", 43, 200, 100, 30,
                   every(0, 100, 20,
                         [](int i) {
                             return std::vector<Rect>{{80, i, 200, i + 10}};
                         })},
        StripeCase{"43 at P=48: 8 pixels short of the side snaps to full width", 43, 200, 100, 48,
                   every(0, 100, 20,
                         [](int i) {
                             return std::vector<Rect>{{0, i, 200, i + 10}};
                         })},
        StripeCase{"43 at P=60: even bands whole, odd bands 40 long from the right", 43, 200, 100, 60,
                   every(10, 90, 20,
                         [](int i) {
                             return std::vector<Rect>{{0, i - 10, 200, i}, {160, i, 200, i + 10}};
                         })},
        StripeCase{"44 at P=30: even bands from the left", 44, 200, 100, 30,
                   every(0, 100, 20,
                         [](int i) {
                             return std::vector<Rect>{{0, i, 120, i + 10}};
                         })},
        StripeCase{"45 at P=30: even bands from the left", 45, 200, 100, 30,
                   every(0, 100, 20,
                         [](int i) {
                             return std::vector<Rect>{{0, i, 120, i + 10}};
                         })},
        StripeCase{"45 at P=60: odd bands come back from the right", 45, 200, 100, 60,
                   every(10, 90, 20,
                         [](int i) {
                             return std::vector<Rect>{{0, i - 10, 200, i}, {160, i, 200, i + 10}};
                         })},
        StripeCase{"46 at P=60: odd bands come back from the left", 46, 200, 100, 60,
                   every(10, 90, 20,
                         [](int i) {
                             return std::vector<Rect>{{0, i - 10, 200, i}, {0, i, 40, i + 10}};
                         })},
        StripeCase{"53 at P=30: even columns 60 high from the bottom", 53, 200, 100, 30,
                   every(0, 200, 20,
                         [](int j) {
                             return std::vector<Rect>{{j, 40, j + 10, 100}};
                         })},
        StripeCase{"53 at P=45: 10 pixels short of the side snaps to full height", 53, 200, 100, 45,
                   every(0, 200, 20,
                         [](int j) {
                             return std::vector<Rect>{{j, 0, j + 10, 100}};
                         })},
        StripeCase{"54 at P=70: even columns whole, odd columns 40 high from the top", 54, 200, 100, 70,
                   every(10, 190, 20,
                         [](int j) {
                             return std::vector<Rect>{{j - 10, 0, j, 100}, {j, 0, j + 10, 40}};
                         })},
        StripeCase{"65 at P=30: bands from the right, columns from the bottom", 65, 200, 100, 30,
                   join(every(0, 80, 40,
                              [](int i) {
                                  return std::vector<Rect>{{80, i, 200, i + 20}};
                              }),
                        every(0, 200, 40,
                              [](int j) {
                                  return std::vector<Rect>{{j, 40, j + 20, 100}};
                              }))},
        StripeCase{"66 at P=30: bands from the right, columns from the top", 66, 200, 100, 30,
                   join(every(0, 80, 40,
                              [](int i) {
                                  return std::vector<Rect>{{80, i, 200, i + 20}};
                              }),
                        every(0, 200, 40,
                              [](int j) {
                                  return std::vector<Rect>{{j, 0, j + 20, 60}};
                              }))},
        StripeCase{"67 at P=60: even bands and columns whole, odd ones back from the right and the top", 67,
                   200, 100, 60,
                   join(every(20, 100, 40,
                              [](int i) {
                                  return std::vector<Rect>{{0, i - 20, 200, i}, {160, i, 200, i + 20}};
                              }),
                        every(20, 180, 40,
                              [](int j) {
                                  return std::vector<Rect>{{j - 20, 0, j, 100}, {j, 0, j + 20, 20}};
                              }))},
        StripeCase{"69 at P=30: bands from the right, columns from top and bottom", 69, 200, 100, 30,
                   join(every(0, 80, 40,
                              [](int i) {
                                  return std::vector<Rect>{{140, i, 200, i + 20}};
                              }),
                        every(0, 200, 40,
                              [](int j) {
                                  return std::vector<Rect>{{j, 70, j + 20, 100}, {j + 20, 0, j + 40, 30}};
                              }))},
        StripeCase{"72 at P=30: bands from both sides, columns from the top", 72, 200, 100, 30,
                   join(every(0, 80, 40,
                              [](int i) {
                                  return std::vector<Rect>{{0, i + 20, 60, i + 40}, {140, i, 200, i + 20}};
                              }),
                        every(0, 200, 40,
                              [](int j) {
                                  return std::vector<Rect>{{j, 0, j + 20, 30}};
                              }))},
        StripeCase{"99 on 185 x 153 at P=30: strips 5 wide every 18 columns", 99, 185, 153, 30,
                   every(0, 180, 18,
                         [](int x) {
                             return std::vector<Rect>{{x, 0, x + 5, 153}};
                         })},
        StripeCase{"100 at P=30: strips 2 high every 9 rows", 100, 200, 100, 30, every(0, 99, 9, [](int y) {
                       return std::vector<Rect>{{0, y, 200, y + 2}};
                   })}));

TEST(CrissCross, Effect73RevealsOnlyWhereBothLatticesHaveArrived) {
    // At P = 30 (2X = 120, 2Y = 60, S = 20) the lattice from the bottom right and the one from the
    // top left, each on its own.
    const auto fromBottomRight = maskOf(200, 100,
                                        join(every(0, 80, 40,
                                                   [](int i) {
                                                       return std::vector<Rect>{{80, i, 200, i + 20}};
                                                   }),
                                             every(0, 200, 40, [](int j) {
                                                 return std::vector<Rect>{{j, 40, j + 20, 100}};
                                             })));
    const auto fromTopLeft = maskOf(200, 100,
                                    join(every(0, 80, 40,
                                               [](int i) {
                                                   return std::vector<Rect>{{0, i, 120, i + 20}};
                                               }),
                                         every(0, 200, 40, [](int j) {
                                             return std::vector<Rect>{{j, 0, j + 20, 60}};
                                         })));
    const auto expected = reveal::maskWhere(
        200, 100, [&](int x, int y) { return fromBottomRight.at(x, y) && fromTopLeft.at(x, y); });
    const reveal::Mask actual = runEffect(73, 200, 100, 30);
    EXPECT_GT(actual.count(), 0);
    EXPECT_LT(actual.count(), fromBottomRight.count());
    EXPECT_EQ(reveal::describeDifference(actual, expected), "");
}

TEST(Blinds, LastStripOfTheVerticalBlindsOverhangsTheEdge) {
    // The strip at x = 180 of a 185-wide picture is (180, 0, 198, 153) at P = 100: it runs past
    // the edge without disturbing anything, and the strips tile the picture.
    const reveal::Mask actual = runEffect(99, 185, 153, 100);
    EXPECT_EQ(actual.count(), 185 * 153);
}

TEST(Blinds, PictureFarFlatterThanItsBandCountStillEndsWhole) {
    // 2000 × 10: the band count (111) exceeds the short side, so a period of side div B would be
    // 0; the strips are then one pixel apart and the last step still covers everything.
    for (int effect : {99, 100}) {
        for (const auto& [w, h] : {std::pair{2000, 10}, std::pair{10, 2000}}) {
            const reveal::Mask early = runEffect(effect, w, h, 50);
            const reveal::Mask last = runEffect(effect, w, h, 100);
            EXPECT_EQ(last.count(), w * h) << "effect " << effect << " on " << w << "x" << h;
            EXPECT_LE(early.count(), last.count());
        }
    }
}

TEST(StripeFamily, TheVideoSequenceEndsOnTheWholePicture) {
    std::vector<int> video;
    for (int p = 2; p <= 100; p += 2)
        video.push_back(p);
    for (int effect : {43, 44, 45, 46, 53, 54, 65, 66, 67, 68, 69, 70, 71, 72, 73, 99, 100}) {
        for (const auto& [w, h] : {std::pair{200, 100}, std::pair{100, 200}, std::pair{185, 153},
                                   std::pair{97, 61}, std::pair{720, 576}}) {
            ScriptedRandom random;
            const reveal::Mask single = runEffect(effect, w, h, {100}, random);
            EXPECT_EQ(single.count(), w * h) << "effect " << effect << " at P=100 on " << w << "x" << h;
            if (w == 185) {
                const reveal::Mask sequence = runEffect(effect, w, h, video, random);
                EXPECT_EQ(sequence.count(), w * h) << "effect " << effect << " over the video steps";
            }
        }
    }
}

TEST(StripeFamily, SmallAndLopsidedPicturesDrawOnlyTheirOwnPixels) {
    // Bands thicker than the picture and sides far apart: every step stays inside the picture,
    // never moves a pixel, and the last step is whole.
    for (const auto& [w, h] : {std::pair{9, 9}, std::pair{9, 2}, std::pair{3, 9}, std::pair{13, 4},
                               std::pair{400, 11}, std::pair{11, 400}}) {
        for (int effect : {43, 44, 45, 46, 53, 54, 65, 66, 67, 68, 69, 70, 71, 72, 73, 99, 100}) {
            ScriptedRandom random;
            runEffect(effect, w, h, {1, 37, 50, 99}, random);
            EXPECT_EQ(runEffect(effect, w, h, {100}, random).count(), w * h)
                << "effect " << effect << " on " << w << "x" << h;
        }
    }
}

TEST(StripeRegion, ModesWithoutBandsLeaveTheRegionEmpty) {
    Region region = Region::rectangle(0, 0, 5, 5);
    StripeRegion(region, kBarThickness, 400, 200, 200, 100, 11, StripeNone, StripeNone);
    EXPECT_TRUE(region.isEmpty());
    StripeRegion(region, kBarThickness, 400, 200, 200, 100, 11, 9, -1);
    EXPECT_TRUE(region.isEmpty());
}

TEST(StripeRegion, BothWaysBandsPastTheSideCoverTheWholeSide) {
    // Never passed by a member (the both-ways bands take the plain extents), but a doubled extent
    // must not open gaps: the bands simply stand complete.
    Region region;
    StripeRegion(region, kCrissCrossThickness, 300, 0, 200, 100, 11, StripeBothWays, StripeNone);
    EXPECT_EQ(region.bounds(), (Rect{0, 0, 200, 120}));
    EXPECT_TRUE(region.contains(0, 99) && region.contains(199, 0) && region.contains(100, 50));
}

} // namespace
} // namespace vistello::effects
