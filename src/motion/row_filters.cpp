#include "motion/row_filters.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vistello::motion {

namespace {

constexpr int kColumnShift = kWeightBits + kLineBits; // from weighted line values to 8 bits

template <int Taps>
void combineRowsPlain(const std::array<const std::uint8_t*, kMaxTaps>& rows, const Tap& tap,
                      std::size_t first, std::size_t values, std::int16_t* line) {
    for (std::size_t i = first; i < values; ++i) {
        int sum = 0;
        for (int j = 0; j < Taps; ++j)
            sum += (rows[static_cast<std::size_t>(j)][i] * tap.weight[j]) >> (kWeightBits - kLineBits);
        line[i] = static_cast<std::int16_t>(sum);
    }
}

template <int Taps>
void filterColumnsPlain(const std::int16_t* line, const std::vector<Tap>& columns, std::uint8_t* out) {
    const std::size_t count = columns.size();
    for (std::size_t x = 0; x < count; ++x) {
        const Tap& tap = columns[x];
        int b = 0, g = 0, r = 0;
        for (int j = 0; j < Taps; ++j) {
            const std::int16_t* p = line + 3 * tap.index[j];
            b += tap.weight[j] * p[0];
            g += tap.weight[j] * p[1];
            r += tap.weight[j] * p[2];
        }
        constexpr int half = 1 << (kColumnShift - 1);
        out[3 * x] = static_cast<std::uint8_t>(std::min(255, (b + half) >> kColumnShift));
        out[3 * x + 1] = static_cast<std::uint8_t>(std::min(255, (g + half) >> kColumnShift));
        out[3 * x + 2] = static_cast<std::uint8_t>(std::min(255, (r + half) >> kColumnShift));
    }
}

#if defined(__SSE2__)

template <int Taps>
void combineRowsFast(const std::array<const std::uint8_t*, kMaxTaps>& rows, const Tap& tap,
                     std::size_t values, std::int16_t* line) {
    // Each value × 256 (the byte placed high) times twice the weight, the high half kept:
    // floor(value × weight / 128), as the plain loop computes it.
    __m128i weights[Taps];
    for (int j = 0; j < Taps; ++j)
        weights[j] = _mm_set1_epi16(static_cast<std::int16_t>(static_cast<std::uint16_t>(2 * tap.weight[j])));
    const __m128i zero = _mm_setzero_si128();
    std::size_t i = 0;
    for (; i + 16 <= values; i += 16) {
        __m128i low = zero, high = zero;
        for (int j = 0; j < Taps; ++j) {
            const __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[static_cast<std::size_t>(j)] + i));
            low = _mm_add_epi16(low, _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, bytes), weights[j]));
            high = _mm_add_epi16(high, _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, bytes), weights[j]));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + i), low);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + i + 8), high);
    }
    combineRowsPlain<Taps>(rows, tap, i, values, line);
}

// Taps j and j + 1 of one column: their values (blue, green, red and the next one)
// interleaved, multiplied by their weights and added pairwise, as four 32-bit sums.
inline __m128i tapPair(const std::int16_t* line, const Tap& tap, int j) {
    const __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(line + 3 * tap.index[j]));
    const __m128i second = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(line + 3 * tap.index[j + 1]));
    const auto weights = static_cast<std::int32_t>((static_cast<std::uint32_t>(tap.weight[j + 1]) << 16) |
                                                   (static_cast<std::uint32_t>(tap.weight[j]) & 0xffffu));
    return _mm_madd_epi16(_mm_unpacklo_epi16(first, second), _mm_set1_epi32(weights));
}

template <int Taps>
void filterColumnsFast(const std::int16_t* line, const std::vector<Tap>& columns, std::uint8_t* out) {
    const __m128i half = _mm_set1_epi32(1 << (kColumnShift - 1));
    const std::size_t count = columns.size();
    for (std::size_t x = 0; x < count; ++x) {
        const Tap& tap = columns[x];
        __m128i sum = tapPair(line, tap, 0);
        if constexpr (Taps > 2)
            sum = _mm_add_epi32(sum, tapPair(line, tap, 2)); // with three taps the fourth weighs 0
        sum = _mm_srai_epi32(_mm_add_epi32(sum, half), kColumnShift);
        const __m128i words = _mm_packs_epi32(sum, sum);
        const auto pixel = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
        // Four bytes go out, the fourth into the next pixel's place; the last pixel writes three.
        std::memcpy(out + 3 * x, &pixel, x + 1 < count ? 4 : 3);
    }
}

#endif

} // namespace

void combineRowsPlain(int taps, const std::array<const std::uint8_t*, kMaxTaps>& rows, const Tap& tap,
                      std::size_t values, std::int16_t* line) {
    switch (taps) {
    case 2:
        return combineRowsPlain<2>(rows, tap, 0, values, line);
    case 3:
        return combineRowsPlain<3>(rows, tap, 0, values, line);
    default:
        return combineRowsPlain<kMaxTaps>(rows, tap, 0, values, line);
    }
}

void filterColumnsPlain(int taps, const std::int16_t* line, const std::vector<Tap>& columns,
                        std::uint8_t* out) {
    switch (taps) {
    case 2:
        return filterColumnsPlain<2>(line, columns, out);
    case 3:
        return filterColumnsPlain<3>(line, columns, out);
    default:
        return filterColumnsPlain<kMaxTaps>(line, columns, out);
    }
}

#if defined(__SSE2__)

void combineRows(int taps, const std::array<const std::uint8_t*, kMaxTaps>& rows, const Tap& tap,
                 std::size_t values, std::int16_t* line) {
    switch (taps) {
    case 2:
        return combineRowsFast<2>(rows, tap, values, line);
    case 3:
        return combineRowsFast<3>(rows, tap, values, line);
    default:
        return combineRowsFast<kMaxTaps>(rows, tap, values, line);
    }
}

void filterColumns(int taps, const std::int16_t* line, const std::vector<Tap>& columns, std::uint8_t* out) {
    if (taps <= 2)
        return filterColumnsFast<2>(line, columns, out);
    return filterColumnsFast<kMaxTaps>(line, columns, out);
}

#else

void combineRows(int taps, const std::array<const std::uint8_t*, kMaxTaps>& rows, const Tap& tap,
                 std::size_t values, std::int16_t* line) {
    combineRowsPlain(taps, rows, tap, values, line);
}

void filterColumns(int taps, const std::int16_t* line, const std::vector<Tap>& columns, std::uint8_t* out) {
    filterColumnsPlain(taps, line, columns, out);
}

#endif

} // namespace vistello::motion
