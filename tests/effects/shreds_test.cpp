// Uneven shreds and speckles against the worked figures, with the random draws fixed by a
// scripted generator: which pixels one step reveals, which draws it asks for and in what order,
// and that the last video step leaves the whole picture on any size.

#include "effects/families/shreds.h"

#include "reveal_mask.h"

#include <gtest/gtest.h>

namespace vistello::effects {
namespace {

using reveal::maskWhere;
using reveal::runEffect;

std::vector<int> repeated(int value, int count) {
    return std::vector<int>(static_cast<std::size_t>(count), value);
}

std::vector<int> concat(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

constexpr int kHuge = 1 << 30; // a scripted draw of n − 1, whatever n is

struct RaggedCase {
    const char* what;
    int effect;
    int progress;
    std::vector<int> draws;
    std::function<bool(int, int)> expected; // on a 200 × 100 picture
};

class RaggedFigures : public ::testing::TestWithParam<RaggedCase> {};

TEST_P(RaggedFigures, RevealsTheWorkedRegion) {
    const RaggedCase& c = GetParam();
    ScriptedRandom random(c.draws);
    const reveal::Mask actual = runEffect(c.effect, 200, 100, {c.progress}, random);
    EXPECT_EQ(reveal::describeDifference(actual, maskWhere(200, 100, c.expected)), "") << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Shreds, RaggedFigures,
    ::testing::Values(
        RaggedCase{
            "47 zero draws: every strip from x = 140", 47, 30, {}, [](int x, int) { return x >= 140; }},
        RaggedCase{"47 draws 10 and 3: the first strip starts at 147", 47, 30,
                   concat({10, 3}, repeated(0, 38)), [](int x, int y) { return x >= (y < 5 ? 147 : 140); }},
        RaggedCase{"48 draws 10 and 3: the first strip ends at 67", 48, 30, concat({10, 3}, repeated(0, 38)),
                   [](int x, int y) { return x < (y < 5 ? 67 : 60); }},
        RaggedCase{
            "49 zero draws: 70..100 and 100..130", 49, 30, {}, [](int x, int) { return x >= 70 && x < 130; }},
        RaggedCase{"49 draws 5, 1, 9, 2: the first strip 72..133", 49, 30,
                   concat({5, 1, 9, 2}, repeated(0, 76)),
                   [](int x, int y) { return y < 5 ? x >= 72 && x < 133 : x >= 70 && x < 130; }},
        RaggedCase{
            "50 zero draws: 170..200 and 0..30", 50, 30, {}, [](int x, int) { return x >= 170 || x < 30; }},
        RaggedCase{"50 draws 5, 1, 9, 2: the first strip 168..200 and 0..33", 50, 30,
                   concat({5, 1, 9, 2}, repeated(0, 76)),
                   [](int x, int y) { return y < 5 ? x >= 168 || x < 33 : x >= 170 || x < 30; }},
        RaggedCase{"55 zero draws: columns from y = 70", 55, 30, {}, [](int, int y) { return y >= 70; }},
        RaggedCase{"56 zero draws: columns down to y = 30", 56, 30, {}, [](int, int y) { return y < 30; }},
        RaggedCase{
            "57 zero draws: 35..50 and 50..65", 57, 30, {}, [](int, int y) { return y >= 35 && y < 65; }},
        RaggedCase{
            "58 zero draws: 85..100 and 0..15", 58, 30, {}, [](int, int y) { return y >= 85 || y < 15; }},
        RaggedCase{"74 zero draws: from the right and from the bottom",
                   74,
                   30,
                   {},
                   [](int x, int y) { return x >= 140 || y >= 70; }},
        RaggedCase{"82 zero draws: in from all four edges", 82, 30, {}, [](int x, int y) {
                       return x >= 170 || x < 30 || y >= 85 || y < 15;
                   }}));

INSTANTIATE_TEST_SUITE_P(
    Speckles, RaggedFigures,
    ::testing::Values(
        RaggedCase{"91 zero draws: all ten cells set ahead of x = 140",
                   91,
                   30,
                   {},
                   [](int x, int) { return x >= 120; }},
        RaggedCase{"91 highest draws: only cells 1 and 2 are certain",
                   91,
                   30,
                   {kHuge},
                   [](int x, int) { return x >= 136; }},
        RaggedCase{"91 draws of 1: cells up to the threshold 7 set",
                   91,
                   30,
                   {1},
                   [](int x, int) { return x >= 126; }},
        RaggedCase{"91 one band drawn zero: rows 50 and 51 carry its cells", 91, 30,
                   concat(concat(repeated(kHuge, 500), repeated(0, 10)), repeated(kHuge, 490)),
                   [](int x, int y) { return x >= (y == 50 || y == 51 ? 120 : 136); }},
        RaggedCase{"92 zero draws: cells to x = 80", 92, 30, {}, [](int x, int) { return x < 80; }},
        RaggedCase{"92 draws of 1: cells to the threshold", 92, 30, {1}, [](int x, int) { return x < 74; }},
        RaggedCase{"93 zero draws: five cells above y = 70", 93, 30, {}, [](int, int y) { return y >= 60; }},
        RaggedCase{
            "93 draws of 1: cells up to the threshold 3", 93, 30, {1}, [](int, int y) { return y >= 64; }},
        RaggedCase{"94 zero draws: cells to y = 40", 94, 30, {}, [](int, int y) { return y < 40; }}));

TEST(ShredDraws, TwoDrawsOfASeventhOfTheSidePerStripHorizontalFirst) {
    // 200 × 100 at P = 30: 20 row strips drawing Random(28) twice, then for effect 74 the 40
    // column strips drawing Random(14) twice.
    ScriptedRandom horizontal;
    runEffect(47, 200, 100, {30}, horizontal);
    EXPECT_EQ(horizontal.requests(), repeated(28, 40));

    ScriptedRandom both;
    runEffect(74, 200, 100, {30}, both);
    EXPECT_EQ(both.requests(), concat(repeated(28, 40), repeated(14, 80)));

    ScriptedRandom middle;
    runEffect(49, 200, 100, {30}, middle);
    EXPECT_EQ(middle.requests(), repeated(28, 80));
}

TEST(ShredStrips, OnAPicture97HighTheStripsAre7HighAndTheLastRunsPastTheEdge) {
    // Strip k starts at row 5k and is displaced by k pixels (draws k, 0): rows 5 and 6 are shared
    // by strips 0 and 1, row 7 belongs to strip 1 alone, row 96 to strips 18 and 19.
    std::vector<int> draws;
    for (int k = 0; k < 20; ++k)
        draws.insert(draws.end(), {k, 0});
    ScriptedRandom random(draws);
    const reveal::Mask actual = runEffect(47, 200, 97, {30}, random);
    EXPECT_EQ(random.requests().size(), 40u);
    const std::pair<int, int> firstRevealed[] = {{0, 140},  {4, 140},  {6, 140},  {7, 141},
                                                 {11, 141}, {12, 142}, {94, 158}, {96, 158}};
    for (const auto& [row, left] : firstRevealed) {
        EXPECT_FALSE(actual.at(left - 1, row)) << "row " << row;
        EXPECT_TRUE(actual.at(left, row)) << "row " << row;
        EXPECT_TRUE(actual.at(199, row)) << "row " << row;
    }
}

TEST(SpeckleDraws, EachBandDrawsFromTheFarthestCellInward) {
    ScriptedRandom rows;
    runEffect(91, 200, 100, {30}, rows);
    std::vector<int> band;
    for (int i = 10; i >= 1; --i)
        band.push_back(i);
    std::vector<int> expected;
    for (int s = 0; s < 100; ++s)
        expected = concat(expected, band);
    EXPECT_EQ(rows.requests(), expected);

    ScriptedRandom columns;
    runEffect(93, 200, 100, {30}, columns);
    EXPECT_EQ(columns.requests().size(), 200u * 5u);
    EXPECT_EQ(std::vector<int>(columns.requests().begin(), columns.requests().begin() + 5),
              (std::vector<int>{5, 4, 3, 2, 1}));
}

TEST(SpeckleFrame, FullFrameUses3PixelCellsBandsEveryRow) {
    // 720 × 576 at P = 30: X = 216, e = 72, f = 3, n = 24; zero draws set all 24 cells, 72
    // pixels ahead of the front at x = 504; 576 bands of 24 draws.
    ScriptedRandom random;
    const reveal::Mask actual = runEffect(91, 720, 576, {30}, random);
    EXPECT_EQ(reveal::describeDifference(actual, maskWhere(720, 576, [](int x, int) { return x >= 432; })),
              "");
    EXPECT_EQ(random.requests().size(), 576u * 24u);
}

TEST(RaggedFamily, TheLastVideoStepLeavesTheWholePictureOnAnySize) {
    // At P = 100 the jitter and the fringe vanish; odd sides included (the strips coming in from
    // both edges meet in the middle pixel line instead of leaving it out).
    const int members[] = {47, 48, 49, 50, 55, 56, 57, 58, 74, 75, 76,
                           77, 78, 79, 80, 81, 82, 91, 92, 93, 94};
    std::vector<int> video;
    for (int p = 2; p <= 100; p += 2)
        video.push_back(p);
    for (int effect : members) {
        for (const auto& [w, h] : {std::pair{200, 100}, std::pair{100, 200}, std::pair{185, 153},
                                   std::pair{97, 61}, std::pair{720, 576}}) {
            ClockRandom random(1234u);
            const reveal::Mask single = runEffect(effect, w, h, {100}, random);
            EXPECT_EQ(single.count(), w * h) << "effect " << effect << " at P=100 on " << w << "x" << h;
        }
        ClockRandom random(99u);
        EXPECT_EQ(runEffect(effect, 185, 153, video, random).count(), 185 * 153)
            << "effect " << effect << " over the video steps";
    }
}

TEST(RaggedFamily, EarlyStepsWithLargeJitterStayWithinThePicture) {
    // At P = 1 the jitter (up to a seventh of the side) far exceeds the front; whatever the
    // draws, nothing is drawn outside the picture and no pixel is moved.
    for (int effect : {47, 48, 49, 50, 55, 56, 57, 58, 81, 82, 91, 92, 93, 94}) {
        for (int draw : {0, 3, kHuge}) {
            ScriptedRandom random({draw, kHuge - draw});
            const reveal::Mask actual = runEffect(effect, 97, 61, {1}, random);
            EXPECT_LT(actual.count(), 97 * 61) << "effect " << effect;
        }
    }
}

TEST(RaggedFamily, SmallAndLopsidedPicturesDrawOnlyTheirOwnPixels) {
    // The smallest pictures the engine draws (longer side 9), strips and bands thicker than the
    // picture, and sides far apart: every step stays inside the picture, never moves a pixel
    // (revealedPixels flags any that is neither old nor new), and the last step is whole.
    const int members[] = {47, 48, 49, 50, 55, 56, 57, 58, 74, 75, 76,
                           77, 78, 79, 80, 81, 82, 91, 92, 93, 94};
    for (const auto& [w, h] : {std::pair{9, 9}, std::pair{9, 2}, std::pair{3, 9}, std::pair{13, 4},
                               std::pair{400, 11}, std::pair{11, 400}}) {
        for (int effect : members) {
            ClockRandom random(static_cast<std::uint32_t>(w * 1000 + h));
            runEffect(effect, w, h, {1, 37, 50, 99}, random);
            EXPECT_EQ(runEffect(effect, w, h, {100}, random).count(), w * h)
                << "effect " << effect << " on " << w << "x" << h;
        }
    }
}

TEST(SpeckleRegion, UnusedModesBuildNothing) {
    Region region = Region::rectangle(0, 0, 4, 4);
    RaggedScratch scratch;
    ScriptedRandom random;
    SpeckleRegion(region, scratch, 60, 30, 200, 100, ShredOutFromMid, ShredInToMid, random);
    EXPECT_TRUE(region.isEmpty());
    EXPECT_TRUE(random.requests().empty());
}

} // namespace
} // namespace vistello::effects
