#include "app/widgets/fit_picture.h"

#include <cmath>
#include <cstdint>

namespace vistello::app {

namespace {
// (total - part) / 2 rounded to the nearest integer, halves to the even neighbour.
int centredOffset(int total, int part) {
    return static_cast<int>(std::nearbyint((total - part) / 2.0));
}
} // namespace

std::optional<QRect> FitPicture(QSize picture, QSize box) {
    const std::int64_t W = picture.width(), H = picture.height();
    const std::int64_t A = box.width(), B = box.height();
    if (W < 1 || H < 1 || A < 1 || B < 1)
        return std::nullopt;
    int w, h;
    // Products in 64 bits: a very large picture must not overflow into a wrong size.
    if (static_cast<double>(A) / B >= static_cast<double>(W) / H) {
        h = static_cast<int>(B);
        w = static_cast<int>(W * B / H);
    } else {
        w = static_cast<int>(A);
        h = static_cast<int>(H * A / W);
    }
    return QRect(centredOffset(box.width(), w), centredOffset(box.height(), h), w, h);
}

} // namespace vistello::app
