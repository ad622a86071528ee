#include "motion/motion_path.h"

#include <algorithm>
#include <cmath>

namespace vistello::motion {

using store::Easing;
using store::MotionRect;

double ease(Easing easing, double t) {
    t = std::isnan(t) ? 0.0 : std::clamp(t, 0.0, 1.0);
    switch (easing) {
    case Easing::Linear:
        return t;
    case Easing::EaseIn:
        return t * t;
    case Easing::EaseOut:
        return 1 - (1 - t) * (1 - t);
    case Easing::EaseInOut:
        return t * t * (3 - 2 * t);
    }
    return t;
}

MotionRect rectAt(const MotionRect& start, const MotionRect& end, Easing easing, double t) {
    const double f = ease(easing, t);
    const auto mix = [f](double a, double b) { return f >= 1 ? b : a + (b - a) * f; };
    return {mix(start.x, end.x), mix(start.y, end.y), mix(start.width, end.width),
            mix(start.height, end.height)};
}

double aspectOn(const MotionRect& rect, int pictureWidth, int pictureHeight) {
    return rect.width * pictureWidth / (rect.height * pictureHeight);
}

MotionRect largestRect(int pictureWidth, int pictureHeight, double aspect) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || !(aspect > 0) || !std::isfinite(aspect))
        return {};
    const double pictureAspect = static_cast<double>(pictureWidth) / pictureHeight;
    if (pictureAspect >= aspect) {
        const double width = aspect / pictureAspect;
        return {(1 - width) / 2, 0, width, 1};
    }
    const double height = pictureAspect / aspect;
    return {0, (1 - height) / 2, 1, height};
}

MotionRect withAspect(const MotionRect& rect, int pictureWidth, int pictureHeight, double aspect) {
    const MotionRect largest = largestRect(pictureWidth, pictureHeight, aspect);
    if (pictureWidth <= 0 || pictureHeight <= 0 || !(rect.width > 0) || !(rect.height > 0))
        return largest;
    // Same area in fractions of the picture, the new aspect, no larger than the largest one.
    const double area = rect.width * rect.height;
    const double scale = std::min(1.0, std::sqrt(area / (largest.width * largest.height)));
    const double width = largest.width * scale, height = largest.height * scale;
    const double cx = rect.x + rect.width / 2, cy = rect.y + rect.height / 2;
    return {std::clamp(cx - width / 2, 0.0, 1 - width), std::clamp(cy - height / 2, 0.0, 1 - height), width,
            height};
}

} // namespace vistello::motion
