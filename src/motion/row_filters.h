#pragma once
// The two passes of MotionSource's separable filter, one frame row at a time: the vertical
// pass combines up to four source rows into one line of 16-bit values with kLineBits bits of
// fraction, and the horizontal pass filters that line into the frame row's 8-bit values. The
// vertical pass runs first because its loop is plain and wide (a vector of source values at a
// time) while the horizontal one gathers each pixel's taps, and it then runs once per frame
// row, not once per source row. All arithmetic is integer, so the SSE2 loops give exactly the
// values of the plain ones (kept as the reference, and for other processors).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vistello::motion {

constexpr int kWeightBits = 14; // filter weights sum to 1 << kWeightBits
constexpr int kLineBits = 7;    // vertically filtered values keep 7 bits of fraction
constexpr int kMaxTaps = 4;     // a tent of radius below 2 covers at most 4 pixels

// One output position's filter: source positions and their weights (summing to
// 1 << kWeightBits, each at most that); taps past the count in use weigh 0.
struct Tap {
    std::array<int, kMaxTaps> index{};
    std::array<int, kMaxTaps> weight{};
};

// A column's filter as the horizontal pass reads it: each tap's offset into the line (3 ×
// its index) and the weights of taps 0 and 1, and of taps 2 and 3, each pair repeated over the
// four lanes of a vector (low 16 bits the first weight, high 16 bits the second).
struct alignas(16) ColumnTap {
    std::array<std::int32_t, kMaxTaps> offset{};
    std::array<std::int32_t, 4> lowPair{}, highPair{};
};
std::vector<ColumnTap> columnTapsOf(const std::vector<Tap>& columns);

// The horizontal pass reads this many values past the last source pixel a tap names: the
// caller's line has room for them (their values do not matter).
constexpr std::size_t kLineSlack = 4;

// line[i] = sum over the first `taps` taps of floor(rows[j][i] × 256 × 2 × weight / 65536), for
// i below `values`: each term the value with 7 bits of fraction, cut (not rounded) as the
// vector multiply does; the sum stays within 0.03 of the exact one.
void combineRows(int taps, const std::array<const std::uint8_t*, kMaxTaps>& rows, const Tap& tap,
                 std::size_t values, std::int16_t* line);
// out[3x + c] = min(255, (sum over the first `taps` taps of weight × line[3 × index + c]
// + 2^20) >> 21) for every column x (blue-green-red pixels); indices count from line[0].
void filterColumns(int taps, const std::int16_t* line, const std::vector<ColumnTap>& columns,
                   std::uint8_t* out);

// The same, plainly: the reference for the fast loops.
void combineRowsPlain(int taps, const std::array<const std::uint8_t*, kMaxTaps>& rows, const Tap& tap,
                      std::size_t values, std::int16_t* line);
void filterColumnsPlain(int taps, const std::int16_t* line, const std::vector<Tap>& columns,
                        std::uint8_t* out);

} // namespace vistello::motion
