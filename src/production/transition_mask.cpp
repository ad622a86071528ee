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
            // x / 255 rounded, for x up to 255 × 255, without a division (vectorises).
            const unsigned x = a[i] * (255u - m[i]) + b[i] * static_cast<unsigned>(m[i]) + 128u;
            o[i] = static_cast<std::uint8_t>((x + (x >> 8)) >> 8);
        }
    }
}

} // namespace vistello::production
