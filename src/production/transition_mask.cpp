#include "production/transition_mask.h"

#include <cstdint>

namespace vistello::production {

void blendThroughMask(const effects::Bitmap& mask, const effects::Bitmap& old, const effects::Bitmap& next,
                      effects::Bitmap& out) {
    const int height = out.height();
    const std::size_t values = static_cast<std::size_t>(out.width()) * 3;
    if (mask.width() != out.width() || old.width() != out.width() || next.width() != out.width() ||
        mask.height() != height || old.height() != height || next.height() != height)
        return;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* m = mask.row(y);
        const std::uint8_t* a = old.row(y);
        const std::uint8_t* b = next.row(y);
        std::uint8_t* o = out.row(y);
        for (std::size_t i = 0; i < values; ++i) {
            // x / 255 rounded, for x up to 255 × 255, without a division. Every step fits 16
            // bits (x + (x >> 8) is at most 65407), so the loop vectorises eight or sixteen
            // values wide.
            const auto x = static_cast<std::uint16_t>(a[i] * (255 - m[i]) + b[i] * m[i] + 128);
            o[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(x + (x >> 8)) >> 8);
        }
    }
}

} // namespace vistello::production
