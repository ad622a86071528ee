#include "production/bgr_to_yuv.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#define VISTELLO_HAVE_SSSE3_PATH 1
#endif

namespace vistello::production {

namespace {

// Coefficients with 15 bits of fraction, from full-range RGB to limited-range YUV.
struct Coefficients {
    int yr, yg, yb, ur, ug, ub, vr, vg, vb;
};

constexpr int fixed(double v) {
    return static_cast<int>(v < 0 ? v * 32768 - 0.5 : v * 32768 + 0.5);
}

constexpr Coefficients coefficientsOf(double kr, double kb) {
    const double kg = 1 - kr - kb, luma = 219.0 / 255, chroma = 224.0 / 255;
    return {fixed(kr * luma),
            fixed(kg * luma),
            fixed(kb * luma),
            fixed(-kr / (2 * (1 - kb)) * chroma),
            fixed(-kg / (2 * (1 - kb)) * chroma),
            fixed(0.5 * chroma),
            fixed(0.5 * chroma),
            fixed(-kg / (2 * (1 - kr)) * chroma),
            fixed(-kb / (2 * (1 - kr)) * chroma)};
}

constexpr Coefficients kBt601 = coefficientsOf(0.299, 0.114);
constexpr Coefficients kBt709 = coefficientsOf(0.2126, 0.0722);

// Luma 16 and chroma 128, with rounding: for a pixel (15 bits of fraction) and for the sum of
// four pixels (17 bits).
constexpr int kLumaOffset = (16 << 15) + (1 << 14);
constexpr int kChromaOffset = (128 << 17) + (1 << 16);

std::uint8_t clamped(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

// Pixels [first, width) of rows y and y + 1 (the same row when y is the last) into luma, and
// their blocks into chroma; `first` is even.
void convertRowPairPlain(const std::uint8_t* row0, const std::uint8_t* row1, int first, int width,
                         bool twoRows, const Coefficients& c, std::uint8_t* y0, std::uint8_t* y1,
                         std::uint8_t* u, std::uint8_t* v) {
    for (int x = first; x < width; ++x) {
        const std::uint8_t* p = row0 + 3 * x;
        y0[x] = clamped((c.yr * p[2] + c.yg * p[1] + c.yb * p[0] + kLumaOffset) >> 15);
        if (twoRows) {
            const std::uint8_t* q = row1 + 3 * x;
            y1[x] = clamped((c.yr * q[2] + c.yg * q[1] + c.yb * q[0] + kLumaOffset) >> 15);
        }
    }
    for (int x = first; x < width; x += 2) {
        // The block's pixels; a missing column or row repeats the one beside it.
        const int right = std::min(x + 1, width - 1);
        int sum[3] = {0, 0, 0};
        for (const std::uint8_t* row : {row0, row1})
            for (int k = 0; k < 3; ++k)
                sum[k] += row[3 * x + k] + row[3 * right + k];
        const int b = sum[0], g = sum[1], r = sum[2];
        u[x / 2] = clamped((c.ur * r + c.ug * g + c.ub * b + kChromaOffset) >> 17);
        v[x / 2] = clamped((c.vr * r + c.vg * g + c.vb * b + kChromaOffset) >> 17);
    }
}

#if defined(VISTELLO_HAVE_SSSE3_PATH)

// Sixteen pixels (48 bytes at `p`) split into their blue, green and red bytes.
__attribute__((target("ssse3"))) inline void deinterleave(const std::uint8_t* p, __m128i& b, __m128i& g,
                                                          __m128i& r) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
    const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
    constexpr char X = -1; // a zero byte
    const __m128i blue[3] = {_mm_setr_epi8(0, 3, 6, 9, 12, 15, X, X, X, X, X, X, X, X, X, X),
                             _mm_setr_epi8(X, X, X, X, X, X, 2, 5, 8, 11, 14, X, X, X, X, X),
                             _mm_setr_epi8(X, X, X, X, X, X, X, X, X, X, X, 1, 4, 7, 10, 13)};
    const __m128i green[3] = {_mm_setr_epi8(1, 4, 7, 10, 13, X, X, X, X, X, X, X, X, X, X, X),
                              _mm_setr_epi8(X, X, X, X, X, 0, 3, 6, 9, 12, 15, X, X, X, X, X),
                              _mm_setr_epi8(X, X, X, X, X, X, X, X, X, X, X, 2, 5, 8, 11, 14)};
    const __m128i red[3] = {_mm_setr_epi8(2, 5, 8, 11, 14, X, X, X, X, X, X, X, X, X, X, X),
                            _mm_setr_epi8(X, X, X, X, X, 1, 4, 7, 10, 13, X, X, X, X, X, X),
                            _mm_setr_epi8(X, X, X, X, X, X, X, X, X, X, 0, 3, 6, 9, 12, 15)};
    b = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, blue[0]), _mm_shuffle_epi8(m, blue[1])),
                     _mm_shuffle_epi8(z, blue[2]));
    g = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, green[0]), _mm_shuffle_epi8(m, green[1])),
                     _mm_shuffle_epi8(z, green[2]));
    r = _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, red[0]), _mm_shuffle_epi8(m, red[1])),
                     _mm_shuffle_epi8(z, red[2]));
}

// Eight 16-bit values from the weighted pairs: (first × w1 + second × w2 + third × w3 +
// offset) >> shift, as madd computes it, the offset carried by `third`'s partner.
__attribute__((target("ssse3"))) inline __m128i weighted(__m128i first, __m128i second, __m128i third,
                                                         __m128i firstPair, __m128i thirdPair,
                                                         __m128i carrier, int shift) {
    const __m128i lowA = _mm_madd_epi16(_mm_unpacklo_epi16(first, second), firstPair);
    const __m128i highA = _mm_madd_epi16(_mm_unpackhi_epi16(first, second), firstPair);
    const __m128i lowB = _mm_madd_epi16(_mm_unpacklo_epi16(third, carrier), thirdPair);
    const __m128i highB = _mm_madd_epi16(_mm_unpackhi_epi16(third, carrier), thirdPair);
    const __m128i low = _mm_srai_epi32(_mm_add_epi32(lowA, lowB), shift);
    const __m128i high = _mm_srai_epi32(_mm_add_epi32(highA, highB), shift);
    return _mm_packs_epi32(low, high);
}

__attribute__((target("ssse3"))) int convertRowPairFast(const std::uint8_t* row0, const std::uint8_t* row1,
                                                        int width, const Coefficients& c, std::uint8_t* y0,
                                                        std::uint8_t* y1, std::uint8_t* u, std::uint8_t* v) {
    const auto pair = [](int low, int high) {
        return _mm_set1_epi32(
            static_cast<int>((static_cast<unsigned>(high) << 16) | (static_cast<unsigned>(low) & 0xffffu)));
    };
    // The offsets ride on a constant partner of the third value: 33 × 16384 is the luma's,
    // 1028 × 16384 the chroma's.
    const __m128i lumaRG = pair(c.yr, c.yg), lumaB = pair(c.yb, 16384), lumaCarrier = _mm_set1_epi16(33);
    const __m128i uRG = pair(c.ur, c.ug), uB = pair(c.ub, 16384), vRG = pair(c.vr, c.vg),
                  vB = pair(c.vb, 16384);
    const __m128i chromaCarrier = _mm_set1_epi16(1028), ones = _mm_set1_epi16(1), zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        __m128i b[2], g[2], r[2];
        deinterleave(row0 + 3 * x, b[0], g[0], r[0]);
        deinterleave(row1 + 3 * x, b[1], g[1], r[1]);
        __m128i sums[3][2]; // blue, green, red: the block sums of the low and high eight pixels
        for (int k = 0; k < 2; ++k) {
            std::uint8_t* out = k ? y1 : y0;
            const __m128i channels[3] = {b[k], g[k], r[k]};
            __m128i low[3], high[3];
            for (int ch = 0; ch < 3; ++ch) {
                low[ch] = _mm_unpacklo_epi8(channels[ch], zero);
                high[ch] = _mm_unpackhi_epi8(channels[ch], zero);
                sums[ch][0] = k ? _mm_add_epi16(sums[ch][0], low[ch]) : low[ch];
                sums[ch][1] = k ? _mm_add_epi16(sums[ch][1], high[ch]) : high[ch];
            }
            const __m128i lumaLow = weighted(low[2], low[1], low[0], lumaRG, lumaB, lumaCarrier, 15);
            const __m128i lumaHigh = weighted(high[2], high[1], high[0], lumaRG, lumaB, lumaCarrier, 15);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(lumaLow, lumaHigh));
        }
        // Neighbouring columns added: eight block sums per channel.
        __m128i block[3];
        for (int ch = 0; ch < 3; ++ch)
            block[ch] = _mm_packs_epi32(_mm_madd_epi16(sums[ch][0], ones), _mm_madd_epi16(sums[ch][1], ones));
        const __m128i us = weighted(block[2], block[1], block[0], uRG, uB, chromaCarrier, 17);
        const __m128i vs = weighted(block[2], block[1], block[0], vRG, vB, chromaCarrier, 17);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(u + x / 2), _mm_packus_epi16(us, us));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(v + x / 2), _mm_packus_epi16(vs, vs));
    }
    return x;
}

bool hasSsse3() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}

#endif

void convert(const std::uint8_t* bgr, int stride, int width, int height, ColourMatrix matrix,
             const YuvPlanes& out, bool fast) {
    const Coefficients& c = matrix == ColourMatrix::Bt709 ? kBt709 : kBt601;
    for (int y = 0; y < height; y += 2) {
        const bool twoRows = y + 1 < height;
        const std::uint8_t* row0 = bgr + static_cast<std::ptrdiff_t>(y) * stride;
        const std::uint8_t* row1 = twoRows ? row0 + stride : row0;
        std::uint8_t* y0 = out.data[0] + static_cast<std::ptrdiff_t>(y) * out.linesize[0];
        std::uint8_t* y1 = twoRows ? y0 + out.linesize[0] : y0;
        std::uint8_t* u = out.data[1] + static_cast<std::ptrdiff_t>(y / 2) * out.linesize[1];
        std::uint8_t* v = out.data[2] + static_cast<std::ptrdiff_t>(y / 2) * out.linesize[2];
        int done = 0;
#if defined(VISTELLO_HAVE_SSSE3_PATH)
        if (fast && twoRows && hasSsse3())
            done = convertRowPairFast(row0, row1, width, c, y0, y1, u, v);
#else
        (void)fast;
#endif
        convertRowPairPlain(row0, row1, done, width, twoRows, c, y0, y1, u, v);
    }
}

} // namespace

void bgrToYuv420(const std::uint8_t* bgr, int stride, int width, int height, ColourMatrix matrix,
                 const YuvPlanes& out) {
    convert(bgr, stride, width, height, matrix, out, true);
}

void bgrToYuv420Plain(const std::uint8_t* bgr, int stride, int width, int height, ColourMatrix matrix,
                      const YuvPlanes& out) {
    convert(bgr, stride, width, height, matrix, out, false);
}

} // namespace vistello::production
