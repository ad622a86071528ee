#include "effects/engine/geometry.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace vistello::effects {

int MulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t magnitude = std::llabs(product);
    const std::int64_t divisor = std::llabs(static_cast<std::int64_t>(c));
    // Round half away from zero on the magnitudes, then restore the sign.
    std::int64_t quotient = (magnitude * 2 + divisor) / (divisor * 2);
    if ((product < 0) != (c < 0))
        quotient = -quotient;
    // Like the platform's, a result that does not fit an int is reported as −1.
    if (quotient > INT32_MAX || quotient < INT32_MIN)
        return -1;
    return static_cast<int>(quotient);
}

int RoundEven(double value) {
    // nearbyint follows the default rounding mode, which rounds halves to even.
    return static_cast<int>(std::nearbyint(value));
}

Extents ProgressExtents(const Rect& rect, int grain, int progress) {
    Extents e;
    e.W = rect.right - rect.left;
    e.H = rect.bottom - rect.top;
    if (e.W >= e.H) {
        e.X = MulDiv(e.W, progress, 100);
        e.Y = e.W == 0 ? 0 : MulDiv(e.X, e.H, e.W);
        e.B = MulDiv(e.W, grain, 90);
    } else {
        e.Y = MulDiv(e.H, progress, 100);
        e.X = MulDiv(e.Y, e.W, e.H);
        e.B = MulDiv(e.H, grain, 90);
    }
    return e;
}

void RotatePoints(std::span<Point> points, int lastIndex, int cx, int cy, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    for (int i = 0; i <= lastIndex && i < static_cast<int>(points.size()); ++i) {
        const double dx = points[i].x - cx;
        const double dy = points[i].y - cy;
        points[i] = {cx + RoundEven(c * dx - s * dy), cy + RoundEven(s * dx + c * dy)};
    }
}

} // namespace vistello::effects
