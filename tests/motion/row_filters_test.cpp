// The fast row filters give exactly the values of the plain ones, at the extremes of their
// ranges (white under full weight, where the sums come nearest their limits) and on random
// rows, for every tap count and for rows whose length is no multiple of the vector width.

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
            const int weight = j + 1 >= taps      ? left
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
                SCOPED_TRACE(testing::Message() << "taps " << taps << ", width " << width << ", extreme " << extreme);
                const int sourceSize = 2 * width + 3;
                std::vector<std::uint8_t> source(static_cast<std::size_t>(sourceSize) * 3 + kSourceSlack);
                for (auto& value : source)
                    value = extreme ? 255 : static_cast<std::uint8_t>(random());
                const std::vector<Tap> columns = randomTaps(random, width, sourceSize, taps, extreme);
                const std::size_t values = static_cast<std::size_t>(width) * 3;
                std::vector<std::uint16_t> fast(values + kRowSlack), plain(values + kRowSlack);
                filterRow(taps, source.data(), columns, fast.data());
                filterRowPlain(taps, source.data(), columns, plain.data());
                fast.resize(values);
                plain.resize(values);
                ASSERT_EQ(fast, plain) << "horizontal";

                std::array<std::vector<std::uint16_t>, kMaxTaps> rows;
                std::array<const std::uint16_t*, kMaxTaps> pointers{};
                for (std::size_t j = 0; j < rows.size(); ++j) {
                    rows[j].resize(values);
                    for (auto& value : rows[j])
                        value = extreme ? 65280 : static_cast<std::uint16_t>(random() % 65281);
                    pointers[j] = rows[j].data();
                }
                const Tap tap = randomTaps(random, 1, kMaxTaps, taps, extreme).front();
                std::vector<std::uint8_t> fastOut(values), plainOut(values);
                combineRows(taps, pointers, tap, values, fastOut.data());
                combineRowsPlain(taps, pointers, tap, values, plainOut.data());
                ASSERT_EQ(fastOut, plainOut) << "vertical";
                if (extreme) {
                    for (const auto value : plainOut)
                        ASSERT_EQ(value, 255);
                }
            }
}

} // namespace
