#include "production/transition_mask.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

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

void MaskWidthScaler::scale(const effects::Bitmap& mask, effects::Bitmap& out) {
    const int from = mask.width(), to = out.width(), height = mask.height();
    if (out.height() != height)
        out = effects::Bitmap(to, height);
    if (from <= 0 || to <= 0 || height <= 0)
        return;
    if (from != fromWidth_ || to != toWidth_) {
        left_.assign(static_cast<std::size_t>(to), 0);
        weight_.assign(static_cast<std::size_t>(to), 0);
        const double step = static_cast<double>(from) / to;
        for (int x = 0; x < to; ++x) {
            const double at = std::clamp((x + 0.5) * step - 0.5, 0.0, from - 1.0);
            const int left = std::min(static_cast<int>(at), std::max(0, from - 2));
            const auto right = static_cast<int>(std::lround((at - left) * 256));
            left_[static_cast<std::size_t>(x)] = left * 3;
            // A mask one column wide has no right neighbour: its column is taken whole.
            weight_[static_cast<std::size_t>(x)] = from < 2 ? 0 : static_cast<std::uint16_t>(right);
        }
        fromWidth_ = from;
        toWidth_ = to;
    }
    const int next = from < 2 ? 0 : 3; // from a column's values to its right neighbour's
    const auto fromBytes = static_cast<std::size_t>(from) * 3, toBytes = static_cast<std::size_t>(to) * 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* m = mask.row(y);
        std::uint8_t* o = out.row(y);
        // Many effects draw the same row again and again (wipes, slides, bands): a row like
        // the one above is scaled like it too.
        if (y > 0 && std::memcmp(m, mask.row(y - 1), fromBytes) == 0) {
            std::memcpy(o, out.row(y - 1), toBytes);
            continue;
        }
        for (int x = 0; x < to; ++x, o += 3) {
            const std::uint8_t* a = m + left_[static_cast<std::size_t>(x)];
            const unsigned w = weight_[static_cast<std::size_t>(x)], v = 256 - w;
            for (int c = 0; c < 3; ++c)
                o[c] = static_cast<std::uint8_t>((a[c] * v + a[c + next] * w + 128) >> 8);
        }
    }
}

} // namespace vistello::production
