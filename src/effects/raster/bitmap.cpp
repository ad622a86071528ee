#include "effects/raster/bitmap.h"

#include <algorithm>
#include <cstring>

namespace vistello::effects {

Rect Rect::intersected(const Rect& other) const {
    Rect result{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
    if (result.isEmpty())
        return {};
    return result;
}

Bgr Bgr::fromColorRef(std::uint32_t colour) {
    return {static_cast<std::uint8_t>(colour >> 16), static_cast<std::uint8_t>(colour >> 8),
            static_cast<std::uint8_t>(colour)};
}

Bitmap::Bitmap(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), stride_((width_ * 3 + 3) / 4 * 4),
      bytes_(static_cast<std::size_t>(stride_) * height_, 0) {
    if (width_ == 0 || height_ == 0) {
        width_ = height_ = stride_ = 0;
        bytes_.clear();
    }
}

Bgr Bitmap::pixel(int x, int y) const {
    const std::uint8_t* p = row(y) + x * 3;
    return {p[0], p[1], p[2]};
}

void Bitmap::setPixel(int x, int y, Bgr colour) {
    std::uint8_t* p = row(y) + x * 3;
    p[0] = colour.b;
    p[1] = colour.g;
    p[2] = colour.r;
}

void Bitmap::fill(Bgr colour) {
    fillRect(bounds(), colour);
}

void Bitmap::fillRect(const Rect& rect, Bgr colour) {
    const Rect area = rect.intersected(bounds());
    if (area.isEmpty())
        return;
    for (int y = area.top; y < area.bottom; ++y) {
        std::uint8_t* p = row(y) + area.left * 3;
        for (int x = area.left; x < area.right; ++x, p += 3) {
            p[0] = colour.b;
            p[1] = colour.g;
            p[2] = colour.r;
        }
    }
}

} // namespace vistello::effects
