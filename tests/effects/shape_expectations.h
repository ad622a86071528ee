#pragma once
// Pixel checks for the region effects: run a catalogue entry on two distinctive pictures and
// compare every pixel of the result with a shape written down from the worked figures.
//
// The old picture and the new picture both encode each pixel's position in green and red and
// differ in blue, so a pixel of the result tells whether it was drawn, and drawn from the right
// place. A shape is a predicate on continuous coordinates; a pixel is judged only when the shape
// gives the same answer at its centre and at the eight points `margin` pixels around it, so the
// platform's one-pixel freedom along curved and slanted edges never fails a test.

#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "effects/raster/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace vistello::effects::testing {

using Shape = std::function<bool(double u, double v)>;

inline Bgr oldColour(int x, int y) {
    return {0x20, static_cast<std::uint8_t>(x % 251), static_cast<std::uint8_t>(y % 241)};
}
inline Bgr newColour(int x, int y) {
    return {0xD0, static_cast<std::uint8_t>((x * 7 + 3) % 253), static_cast<std::uint8_t>((y * 5 + 1) % 239)};
}

// The pictures of one transition and the destination the steps draw on.
struct Scene {
    Bitmap oldPicture;
    Bitmap newPicture;
    Bitmap dest;

    Scene(int width, int height) : oldPicture(width, height), newPicture(width, height) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                oldPicture.setPixel(x, y, oldColour(x, y));
                newPicture.setPixel(x, y, newColour(x, y));
            }
        dest = oldPicture;
    }

    // Calls the catalogue's procedure for effect number once per progress value, in order.
    void run(int effect, std::initializer_list<int> steps) {
        ScriptedRandom random;
        const TEffect* entry = FindEffect(effect);
        ASSERT_NE(entry, nullptr);
        for (int p : steps)
            entry->Proc(dest, newPicture, dest.bounds(), kDefaultGrain, p, random);
    }

    bool isNew(int x, int y) const { return dest.pixel(x, y) == newPicture.pixel(x, y); }
    bool isOld(int x, int y) const { return dest.pixel(x, y) == oldPicture.pixel(x, y); }
    int newCount() const {
        int count = 0;
        for (int y = 0; y < dest.height(); ++y)
            for (int x = 0; x < dest.width(); ++x)
                count += isNew(x, y) ? 1 : 0;
        return count;
    }
};

// Every pixel holds the old or the new picture's own pixel; every pixel that lies clearly inside
// shape holds the new one, every pixel clearly outside the old one.
inline ::testing::AssertionResult matchesShape(const Scene& scene, const Shape& shape, double margin = 1.5) {
    std::ostringstream problems;
    int failures = 0;
    const double offsets[3] = {-margin, 0.0, margin};
    for (int y = 0; y < scene.dest.height(); ++y) {
        for (int x = 0; x < scene.dest.width(); ++x) {
            int inside = 0;
            for (double dy : offsets)
                for (double dx : offsets)
                    inside += shape(x + 0.5 + dx, y + 0.5 + dy) ? 1 : 0;
            const char* fault = nullptr;
            if (!scene.isNew(x, y) && !scene.isOld(x, y))
                fault = "neither picture";
            else if (inside == 9 && !scene.isNew(x, y))
                fault = "inside but not drawn";
            else if (inside == 0 && !scene.isOld(x, y))
                fault = "outside but drawn";
            if (fault && failures++ < 5)
                problems << " (" << x << ", " << y << ") " << fault << ";";
        }
    }
    if (failures == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << failures << " pixels wrong:" << problems.str();
}

// Runs each effect through every progress 1..100 on small, thin and odd pictures (the smallest
// the engine draws itself) and checks that every pixel holds the old or the new picture's own
// pixel: no stray colours, no moved pixels, nothing drawn outside the bitmaps (the sanitizer
// build catches that).
inline void expectOnlyOwnPixelsOnOddSizes(std::initializer_list<int> effects) {
    const std::pair<int, int> sizes[] = {{9, 1}, {1, 9}, {9, 9}, {10, 3}, {37, 200}, {201, 13}};
    for (int effect : effects) {
        for (const auto& [width, height] : sizes) {
            Scene scene(width, height);
            for (int p = 1; p <= 100; ++p)
                scene.run(effect, {p});
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    ASSERT_TRUE(scene.isNew(x, y) || scene.isOld(x, y))
                        << "effect " << effect << " on " << width << " x " << height << " at (" << x << ", "
                        << y << ")";
        }
    }
}

// Shapes, in the pixel coordinates of the figures (right and bottom edges exclusive).

inline Shape rectShape(double left, double top, double right, double bottom) {
    return [=](double u, double v) { return u >= left && u < right && v >= top && v < bottom; };
}

// A rectangle with corners rounded by quarter ellipses ew × eh, each limited to the rectangle's
// own side.
inline Shape roundRectShape(double left, double top, double right, double bottom, double ew, double eh) {
    const double a = std::min(ew, right - left) / 2;
    const double b = std::min(eh, bottom - top) / 2;
    return [=](double u, double v) {
        if (u < left || u >= right || v < top || v >= bottom)
            return false;
        const double dx = std::max({left + a - u, 0.0, u - (right - a)});
        const double dy = std::max({top + b - v, 0.0, v - (bottom - b)});
        return (dx / a) * (dx / a) + (dy / b) * (dy / b) <= 1.0;
    };
}

struct Corner {
    double x;
    double y;
};

// Polygon with the winding rule.
inline Shape polygonShape(std::vector<Corner> corners) {
    return [corners = std::move(corners)](double u, double v) {
        int winding = 0;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Corner p = corners[i];
            const Corner q = corners[(i + 1) % corners.size()];
            const double side = (q.x - p.x) * (v - p.y) - (u - p.x) * (q.y - p.y);
            if (p.y <= v && q.y > v && side > 0)
                ++winding;
            else if (p.y > v && q.y <= v && side < 0)
                --winding;
        }
        return winding != 0;
    };
}

// Directions from (cx, cy) between fromDegrees and toDegrees, measured clockwise on screen from
// twelve o'clock (0 up, 90 right, 180 down), any distance.
inline Shape clockwiseWedge(double cx, double cy, double fromDegrees, double toDegrees) {
    return [=](double u, double v) {
        double degrees = std::atan2(u - cx, cy - v) * 180.0 / std::numbers::pi;
        if (degrees < 0)
            degrees += 360.0;
        return degrees >= fromDegrees && degrees <= toDegrees;
    };
}

inline Shape disc(double cx, double cy, double radius) {
    return [=](double u, double v) { return (u - cx) * (u - cx) + (v - cy) * (v - cy) <= radius * radius; };
}

inline Shape intersect(Shape a, Shape b) {
    return [=](double u, double v) { return a(u, v) && b(u, v); };
}

inline Shape unite(std::vector<Shape> shapes) {
    return [shapes = std::move(shapes)](double u, double v) {
        return std::any_of(shapes.begin(), shapes.end(), [&](const Shape& s) { return s(u, v); });
    };
}

inline Shape exclusiveOr(Shape a, Shape b) {
    return [=](double u, double v) { return a(u, v) != b(u, v); };
}

inline Shape mirrored(Shape s, double width) {
    return [=](double u, double v) { return s(width - u, v); };
}

inline Shape everywhere() {
    return [](double, double) { return true; };
}

} // namespace vistello::effects::testing
