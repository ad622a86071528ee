#include "motion/row_filters.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vistello::motion {

namespace {

constexpr int kCombineShift = kWeightBits + kWeightBits - kRowShift;

template <int Taps>
void filterRowPlain(const std::uint8_t* source, const std::vector<Tap>& columns, std::uint16_t* out) {
    const std::size_t count = columns.size();
    for (std::size_t x = 0; x < count; ++x) {
        const Tap& tap = columns[x];
        int b = 0, g = 0, r = 0;
        for (int j = 0; j < Taps; ++j) {
            const std::uint8_t* p = source + 3 * tap.index[j];
            b += tap.weight[j] * p[0];
            g += tap.weight[j] * p[1];
            r += tap.weight[j] * p[2];
        }
        constexpr int half = 1 << (kRowShift - 1);
        out[3 * x] = static_cast<std::uint16_t>((b + half) >> kRowShift);
        out[3 * x + 1] = static_cast<std::uint16_t>((g + half) >> kRowShift);
        out[3 * x + 2] = static_cast<std::uint16_t>((r + half) >> kRowShift);
    }
}

template <int Taps>
void combineRowsPlain(const std::array<const std::uint16_t*, kMaxTaps>& rows, const Tap& tap, std::size_t first,
                      std::size_t values, std::uint8_t* out) {
    constexpr int half = 1 << (kCombineShift - 1);
    for (std::size_t i = first; i < values; ++i) {
        int sum = half;
        for (int j = 0; j < Taps; ++j)
            sum += tap.weight[j] * rows[j][i];
        out[i] = static_cast<std::uint8_t>(std::min(255, sum >> kCombineShift));
    }
}

#if defined(__SSE2__)

// One source pixel's blue, green, red (and the next byte) as four 16-bit lanes.
inline __m128i pixelAt(const std::uint8_t* p) {
    std::int32_t bytes;
    std::memcpy(&bytes, p, sizeof bytes);
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), _mm_setzero_si128());
}

// Taps j and j + 1 of one column: their pixels interleaved lane by lane, multiplied by their
// weights and added pairwise (weights and pixels fit signed 16 bits), as four 32-bit sums.
inline __m128i tapPair(const std::uint8_t* source, const Tap& tap, int j) {
    const __m128i pixels = _mm_unpacklo_epi16(pixelAt(source + 3 * tap.index[j]),
                                              pixelAt(source + 3 * tap.index[j + 1]));
    const auto weights = static_cast<std::int32_t>((static_cast<std::uint32_t>(tap.weight[j + 1]) << 16) |
                                                   (static_cast<std::uint32_t>(tap.weight[j]) & 0xffffu));
    return _mm_madd_epi16(pixels, _mm_set1_epi32(weights));
}

template <int Taps>
void filterRowFast(const std::uint8_t* source, const std::vector<Tap>& columns, std::uint16_t* out) {
    const __m128i half = _mm_set1_epi32(1 << (kRowShift - 1));
    const std::size_t count = columns.size();
    for (std::size_t x = 0; x < count; ++x) {
        const Tap& tap = columns[x];
        __m128i sum = tapPair(source, tap, 0);
        if constexpr (Taps > 2)
            sum = _mm_add_epi32(sum, tapPair(source, tap, 2)); // with three taps the fourth weighs 0
        sum = _mm_srai_epi32(_mm_add_epi32(sum, half), kRowShift);
        // Up to 65280, past a signed 16-bit pack: keep the low 16 bits, sign-extended.
        sum = _mm_srai_epi32(_mm_slli_epi32(sum, 16), 16);
        // Four values go out, the fourth into the next pixel's place (or the row's slack).
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3 * x), _mm_packs_epi32(sum, sum));
    }
}

template <int Taps>
void combineRowsFast(const std::array<const std::uint16_t*, kMaxTaps>& rows, const Tap& tap, std::size_t values,
                     std::uint8_t* out) {
    const __m128i half = _mm_set1_epi32(1 << (kCombineShift - 1));
    __m128i weights[Taps];
    for (int j = 0; j < Taps; ++j)
        weights[j] = _mm_set1_epi16(static_cast<std::int16_t>(tap.weight[j]));
    std::size_t i = 0;
    for (; i + 8 <= values; i += 8) {
        __m128i low = half, high = half;
        for (int j = 0; j < Taps; ++j) {
            // The full 32-bit products of unsigned values and weights, from their two halves.
            const __m128i v =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[static_cast<std::size_t>(j)] + i));
            const __m128i lo = _mm_mullo_epi16(v, weights[j]);
            const __m128i hi = _mm_mulhi_epu16(v, weights[j]);
            low = _mm_add_epi32(low, _mm_unpacklo_epi16(lo, hi));
            high = _mm_add_epi32(high, _mm_unpackhi_epi16(lo, hi));
        }
        // At most 255 each; the packs saturate like the min.
        const __m128i words =
            _mm_packs_epi32(_mm_srli_epi32(low, kCombineShift), _mm_srli_epi32(high, kCombineShift));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(words, words));
    }
    combineRowsPlain<Taps>(rows, tap, i, values, out);
}

#endif

} // namespace

void filterRowPlain(int taps, const std::uint8_t* source, const std::vector<Tap>& columns, std::uint16_t* out) {
    switch (taps) {
    case 2:
        return filterRowPlain<2>(source, columns, out);
    case 3:
        return filterRowPlain<3>(source, columns, out);
    default:
        return filterRowPlain<kMaxTaps>(source, columns, out);
    }
}

void combineRowsPlain(int taps, const std::array<const std::uint16_t*, kMaxTaps>& rows, const Tap& tap,
                      std::size_t values, std::uint8_t* out) {
    switch (taps) {
    case 2:
        return combineRowsPlain<2>(rows, tap, 0, values, out);
    case 3:
        return combineRowsPlain<3>(rows, tap, 0, values, out);
    default:
        return combineRowsPlain<kMaxTaps>(rows, tap, 0, values, out);
    }
}

#if defined(__SSE2__)

void filterRow(int taps, const std::uint8_t* source, const std::vector<Tap>& columns, std::uint16_t* out) {
    if (taps <= 2)
        return filterRowFast<2>(source, columns, out);
    return filterRowFast<kMaxTaps>(source, columns, out);
}

void combineRows(int taps, const std::array<const std::uint16_t*, kMaxTaps>& rows, const Tap& tap,
                 std::size_t values, std::uint8_t* out) {
    switch (taps) {
    case 2:
        return combineRowsFast<2>(rows, tap, values, out);
    case 3:
        return combineRowsFast<3>(rows, tap, values, out);
    default:
        return combineRowsFast<kMaxTaps>(rows, tap, values, out);
    }
}

#else

void filterRow(int taps, const std::uint8_t* source, const std::vector<Tap>& columns, std::uint16_t* out) {
    filterRowPlain(taps, source, columns, out);
}

void combineRows(int taps, const std::array<const std::uint16_t*, kMaxTaps>& rows, const Tap& tap,
                 std::size_t values, std::uint8_t* out) {
    combineRowsPlain(taps, rows, tap, values, out);
}

#endif

} // namespace vistello::motion
