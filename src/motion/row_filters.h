#pragma once
// The two passes of MotionSource's separable filter, one row at a time: the horizontal pass
// turns 8-bit source pixels into 16-bit values with 8 bits of fraction (weights of
// kWeightBits bits, rounded), and the vertical pass combines up to four such rows into 8-bit
// frame values. All arithmetic is integer, so the SSE2 loops give exactly the values of the
// plain ones (kept as the reference, and for other processors).

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vistello::motion {

constexpr int kWeightBits = 14; // filter weights sum to 1 << kWeightBits
constexpr int kRowShift = 6;    // horizontally filtered values keep 8 bits of fraction
constexpr int kMaxTaps = 4;     // a tent of radius below 2 covers at most 4 pixels

// One output position's filter: source positions and their weights (summing to
// 1 << kWeightBits, each at most that); taps past the count in use have weight 0.
struct Tap {
    std::array<int, kMaxTaps> index{};
    std::array<int, kMaxTaps> weight{};
};

// filterRow may write this many values past the end of its output row (its scratch), and reads
// the byte after the last source pixel a tap names: the caller leaves room for both.
constexpr std::size_t kRowSlack = 4;
constexpr std::size_t kSourceSlack = 1;

// out[3x + c] = (sum over the first `taps` taps of weight × source[3 × index + c] + 32) >> 6
// for every column x (blue-green-red pixels).
void filterRow(int taps, const std::uint8_t* source, const std::vector<Tap>& columns, std::uint16_t* out);
// out[i] = min(255, (sum over the first `taps` taps of weight × rows[j][i] + half) >> 22).
void combineRows(int taps, const std::array<const std::uint16_t*, kMaxTaps>& rows, const Tap& tap,
                 std::size_t values, std::uint8_t* out);

// The same, plainly: the reference for the fast loops.
void filterRowPlain(int taps, const std::uint8_t* source, const std::vector<Tap>& columns, std::uint16_t* out);
void combineRowsPlain(int taps, const std::array<const std::uint16_t*, kMaxTaps>& rows, const Tap& tap,
                      std::size_t values, std::uint8_t* out);

} // namespace vistello::motion
