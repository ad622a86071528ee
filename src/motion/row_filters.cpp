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

// One column's four 32-bit sums (blue, green, red and a value to drop): the values of each
// tap pair interleaved lane by lane, multiplied by their weights and added pairwise.
template <int Taps> inline __m128i columnSum(const std::int16_t* line, const ColumnTap& tap) {
    const auto load = [line](std::int32_t offset) {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(line + offset));
    };
    __m128i sum = _mm_madd_epi16(_mm_unpacklo_epi16(load(tap.offset[0]), load(tap.offset[1])),
                                 _mm_load_si128(reinterpret_cast<const __m128i*>(tap.lowPair.data())));
    if constexpr (Taps > 2) {
        // With three taps the fourth weighs 0: zeros stand in for its values.
        const __m128i fourth = Taps > 3 ? load(tap.offset[3]) : _mm_setzero_si128();
        sum = _mm_add_epi32(
            sum, _mm_madd_epi16(_mm_unpacklo_epi16(load(tap.offset[2]), fourth),
                                _mm_load_si128(reinterpret_cast<const __m128i*>(tap.highPair.data()))));
    }
    return sum;
}

template <int Taps>
void filterColumnsFast(const std::int16_t* line, const std::vector<ColumnTap>& columns, std::uint8_t* out) {
    const __m128i half = _mm_set1_epi32(1 << (kColumnShift - 1));
    const std::size_t count = columns.size();
    std::size_t x = 0;
    // Two pixels at a time; each store writes four bytes, the fourth into the next pixel's
    // place, except the frame row's last pixel, which writes three.
    for (; x + 2 <= count; x += 2) {
        const __m128i first =
            _mm_srai_epi32(_mm_add_epi32(columnSum<Taps>(line, columns[x]), half), kColumnShift);
        const __m128i second =
            _mm_srai_epi32(_mm_add_epi32(columnSum<Taps>(line, columns[x + 1]), half), kColumnShift);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(first, second), _mm_setzero_si128());
        const auto left = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
        const auto right = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(bytes, 4)));
        std::memcpy(out + 3 * x, &left, 4);
        std::memcpy(out + 3 * x + 3, &right, x + 2 < count ? 4 : 3);
    }
    if (x < count) {
        const __m128i sum =
            _mm_srai_epi32(_mm_add_epi32(columnSum<Taps>(line, columns[x]), half), kColumnShift);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(sum, sum), sum);
        const auto pixel = static_cast<std::uint32_t>(_mm_cvtsi128_si32(bytes));
        std::memcpy(out + 3 * x, &pixel, 3);
    }
}

#endif

} // namespace

std::vector<ColumnTap> columnTapsOf(const std::vector<Tap>& columns) {
    std::vector<ColumnTap> packed(columns.size());
    const auto pair = [](int low, int high) {
        return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) |
                                         (static_cast<std::uint32_t>(low) & 0xffffu));
    };
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const Tap& tap = columns[x];
        for (int j = 0; j < kMaxTaps; ++j)
            packed[x].offset[static_cast<std::size_t>(j)] = 3 * tap.index[j];
        packed[x].lowPair.fill(pair(tap.weight[0], tap.weight[1]));
        packed[x].highPair.fill(pair(tap.weight[2], tap.weight[3]));
    }
    return packed;
}

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

void filterColumns(int taps, const std::int16_t* line, const std::vector<ColumnTap>& columns,
                   std::uint8_t* out) {
    switch (taps) {
    case 2:
        return filterColumnsFast<2>(line, columns, out);
    case 3:
        return filterColumnsFast<3>(line, columns, out);
    default:
        return filterColumnsFast<kMaxTaps>(line, columns, out);
    }
}

#else

void combineRows(int taps, const std::array<const std::uint8_t*, kMaxTaps>& rows, const Tap& tap,
                 std::size_t values, std::int16_t* line) {
    combineRowsPlain(taps, rows, tap, values, line);
}

void filterColumns(int taps, const std::int16_t* line, const std::vector<ColumnTap>& columns,
                   std::uint8_t* out) {
    // The plain loop from the packed taps: offsets back to indices, pairs back to weights.
    std::vector<Tap> plain(columns.size());
    for (std::size_t x = 0; x < columns.size(); ++x)
        for (int j = 0; j < kMaxTaps; ++j) {
            plain[x].index[j] = columns[x].offset[j] / 3;
            const std::int32_t pair = j < 2 ? columns[x].lowPair[0] : columns[x].highPair[0];
            plain[x].weight[j] =
                j % 2 ? static_cast<int>(static_cast<std::uint32_t>(pair) >> 16) : pair & 0xffff;
        }
    filterColumnsPlain(taps, line, plain, out);
}

#endif

} // namespace vistello::motion
