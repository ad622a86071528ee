// LineUnion against the plain way of building the same region: uniting every strip's
// rectangles one by one (cut to the picture), over strips of random intervals in both
// orientations, with reversed, overlapping, touching and out-of-picture intervals; and
// Region::appendBand's rules.

#include "effects/families/line_union.h"

#include <gtest/gtest.h>

#include <random>

namespace vistello::effects {
namespace {

struct Shape {
    const char* what;
    LineUnion::Lines kind;
    int width;
    int height;
    int pitch;     // strips start every pitch pixels
    int thickness; // and are this thick
    int intervals; // up to this many per strip
};

class LineUnionMatchesRectangles : public ::testing::TestWithParam<Shape> {};

TEST_P(LineUnionMatchesRectangles, OnRandomStrips) {
    const Shape& shape = GetParam();
    const bool rows = shape.kind == LineUnion::Lines::Rows;
    const int length = rows ? shape.width : shape.height;
    const int breadth = rows ? shape.height : shape.width;
    const Rect picture{0, 0, shape.width, shape.height};
    std::mt19937 engine(12345);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine); };
    LineUnion lines;
    for (int round = 0; round < 40; ++round) {
        lines.reset(shape.kind, shape.width, shape.height);
        Region expected;
        for (int across = 0; across < breadth + shape.pitch; across += shape.pitch) {
            lines.beginLine(across, across + shape.thickness);
            const int count = uniform(0, shape.intervals);
            for (int k = 0; k < count; ++k) {
                const int a = uniform(-length / 4, length + length / 4);
                const int b = uniform(-length / 4, length + length / 4);
                lines.addInterval(a, b);
                const Rect r = rows ? Rect{std::min(a, b), across, std::max(a, b), across + shape.thickness}
                                    : Rect{across, std::min(a, b), across + shape.thickness, std::max(a, b)};
                expected.unite(r.intersected(picture));
            }
        }
        Region actual = Region::rectangle(1, 1, 2, 2); // old content must go
        lines.build(actual);
        ASSERT_TRUE(actual.isValid()) << shape.what << " round " << round;
        ASSERT_EQ(actual.rectangles(), expected.rectangles()) << shape.what << " round " << round;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, LineUnionMatchesRectangles,
    ::testing::Values(Shape{"shred rows", LineUnion::Lines::Rows, 200, 97, 5, 7, 2},
                      Shape{"shred columns", LineUnion::Lines::Columns, 97, 120, 5, 7, 2},
                      Shape{"speckle rows", LineUnion::Lines::Rows, 300, 80, 1, 3, 12},
                      Shape{"speckle columns", LineUnion::Lines::Columns, 90, 300, 1, 2, 12},
                      Shape{"gapped rows", LineUnion::Lines::Rows, 64, 64, 9, 4, 3},
                      Shape{"gapped columns", LineUnion::Lines::Columns, 64, 64, 9, 4, 3}));

TEST(LineUnion, StripsOutOfOrderStillGiveTheirUnion) {
    LineUnion lines;
    lines.reset(LineUnion::Lines::Rows, 50, 50);
    lines.beginLine(20, 30);
    lines.addInterval(0, 10);
    lines.beginLine(0, 10);
    lines.addInterval(40, 50);
    lines.beginLine(5, 40); // thicker than the one before
    lines.addInterval(20, 25);
    Region actual;
    lines.build(actual);
    Region expected = Region::rectangle(0, 20, 10, 30);
    expected.unite(Rect{40, 0, 50, 10});
    expected.unite(Rect{20, 5, 25, 40});
    EXPECT_EQ(actual, expected);
}

TEST(LineUnion, NothingAddedBuildsAnEmptyRegion) {
    LineUnion lines;
    Region region = Region::rectangle(0, 0, 3, 3);
    lines.reset(LineUnion::Lines::Columns, 10, 10);
    lines.addInterval(0, 5); // before any strip: ignored
    lines.beginLine(-8, -3); // beside the picture
    lines.addInterval(0, 10);
    lines.beginLine(2, 4);
    lines.addInterval(12, 20); // beyond the picture
    lines.build(region);
    EXPECT_TRUE(region.isEmpty());
}

TEST(RegionAppendBand, AppendsBelowAndMergesEqualNeighbours) {
    Region region;
    const int spans[] = {0, 4, 6, 9};
    EXPECT_TRUE(region.appendBand(0, 2, spans));
    EXPECT_TRUE(region.appendBand(2, 5, spans)); // same spans, touching: one band
    EXPECT_EQ(region.bandCount(), 1);
    const int other[] = {1, 2};
    EXPECT_TRUE(region.appendBand(7, 8, other));
    EXPECT_TRUE(region.appendBand(8, 8, other)); // empty rows: nothing
    EXPECT_TRUE(region.appendBand(9, 10, {}));   // no spans: nothing
    EXPECT_EQ(region.rectangles(), (std::vector<Rect>{{0, 0, 4, 5}, {6, 0, 9, 5}, {1, 7, 2, 8}}));
    EXPECT_TRUE(region.isValid());
}

TEST(RegionAppendBand, RefusesWhatWouldBreakTheBands) {
    Region region = Region::rectangle(0, 0, 10, 10);
    const int overlapping[] = {0, 5, 4, 8};
    const int touching[] = {0, 5, 5, 8};
    const int odd[] = {0, 5, 7};
    const int fine[] = {0, 5};
    EXPECT_FALSE(region.appendBand(10, 12, overlapping));
    EXPECT_FALSE(region.appendBand(10, 12, touching));
    EXPECT_FALSE(region.appendBand(10, 12, odd));
    EXPECT_FALSE(region.appendBand(9, 12, fine)); // above the region's bottom
    EXPECT_EQ(region, Region::rectangle(0, 0, 10, 10));
}

} // namespace
} // namespace vistello::effects
