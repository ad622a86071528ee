// The fast row filters give exactly the values of the plain ones, at the extremes of their
// ranges (white, where the sums come nearest their limits) and on random rows, for every tap
// count and for rows whose length is no multiple of the vector width; and the vertical pass's
// cut fractions never show in a flat colour.

#include "motion/row_filters.h"

#include <gtest/gtest.h>

#include <random>

using namespace vistello::motion;

namespace {

// count taps for count outputs over a source of sourceSize pixels, random positions and
// weights summing to 1 << kWeightBits; taps beyond `taps` weigh 0 as the render gives them.
std::vector<Tap> randomTaps(std::mt19937& random, int count, int sourceSize, int taps, bool extreme) {
    std::vector<Tap> result(static_cast<std::size_t>(count));
    for (Tap& tap : result) {
        const int first = std::uniform_int_distribution<int>(0, sourceSize - 1)(random);
        int left = 1 << kWeightBits;
        for (int j = 0; j < kMaxTaps; ++j) {
            tap.index[j] = std::min(first + j, sourceSize - 1);
            const int weight = j + 1 >= taps       ? left
                               : extreme && j == 0 ? left
                                                   : std::uniform_int_distribution<int>(0, left)(random);
            tap.weight[j] = j < taps ? weight : 0;
            left -= tap.weight[j];
        }
    }
    return result;
}

TEST(RowFilters, FastLoopsGiveThePlainValues) {
    std::mt19937 random(11);
    for (const bool extreme : {true, false})
        for (const int taps : {2, 3, 4})
            for (const int width : {1, 5, 37, 256}) {
                SCOPED_TRACE(testing::Message()
                             << "taps " << taps << ", width " << width << ", extreme " << extreme);
                // Vertical: four source rows into a line of the same width.
                const std::size_t values = static_cast<std::size_t>(width) * 3;
                std::array<std::vector<std::uint8_t>, kMaxTaps> rows;
                std::array<const std::uint8_t*, kMaxTaps> pointers{};
                for (std::size_t j = 0; j < rows.size(); ++j) {
                    rows[j].resize(values);
                    for (auto& value : rows[j])
                        value = extreme ? 255 : static_cast<std::uint8_t>(random());
                    pointers[j] = rows[j].data();
                }
                const Tap tap = randomTaps(random, 1, kMaxTaps, taps, extreme).front();
                std::vector<std::int16_t> fastLine(values), plainLine(values);
                combineRows(taps, pointers, tap, values, fastLine.data());
                combineRowsPlain(taps, pointers, tap, values, plainLine.data());
                ASSERT_EQ(fastLine, plainLine) << "vertical";

                // Horizontal: a line of 2 × width + 3 pixels into width pixels.
                const int lineSize = 2 * width + 3;
                std::vector<std::int16_t> line(static_cast<std::size_t>(lineSize) * 3 + kLineSlack);
                for (auto& value : line)
                    value = static_cast<std::int16_t>(extreme ? 255 << kLineBits
                                                              : random() % ((255 << kLineBits) + 1));
                const std::vector<Tap> columns = randomTaps(random, width, lineSize, taps, extreme);
                std::vector<std::uint8_t> fast(values), plain(values);
                filterColumns(taps, line.data(), columnTapsOf(columns), fast.data());
                filterColumnsPlain(taps, line.data(), columns, plain.data());
                ASSERT_EQ(fast, plain) << "horizontal";
                if (extreme) {
                    for (const auto value : plain)
                        ASSERT_EQ(value, 255);
                }
            }
}

TEST(RowFilters, TheVerticalPassKeepsAFlatValueWithinItsFraction) {
    // The cut terms lose less than one 128th each: a flat value comes out exact after the
    // horizontal pass's rounding, whatever the weights.
    std::mt19937 random(5);
    for (int trial = 0; trial < 200; ++trial) {
        const auto value = static_cast<std::uint8_t>(random());
        std::vector<std::uint8_t> row(48, value);
        const std::array<const std::uint8_t*, kMaxTaps> rows{row.data(), row.data(), row.data(), row.data()};
        const Tap tap = randomTaps(random, 1, kMaxTaps, kMaxTaps, false).front();
        std::vector<std::int16_t> line(48 + kLineSlack);
        combineRows(kMaxTaps, rows, tap, 48, line.data());
        const std::vector<Tap> columns = randomTaps(random, 8, 16, kMaxTaps, false);
        std::vector<std::uint8_t> out(24);
        filterColumns(kMaxTaps, line.data(), columnTapsOf(columns), out.data());
        for (const auto result : out)
            ASSERT_EQ(result, value);
    }
}

} // namespace
