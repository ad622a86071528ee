#pragma once
// Pictures and checks shared by the effect tests. The new picture encodes each pixel's own
// position (blue = x mod 256, green = y mod 256, red = 77 + x div 256 + 8 × (y div 256)), so a
// pixel of the destination tells where in the new picture it came from; the old picture is one
// colour that never occurs in the new one.

#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "effects/raster/bitmap.h"

#include <gtest/gtest.h>

#include <optional>

namespace vistello::effects::testing {

inline constexpr Bgr kOld{10, 250, 3};

inline Bgr positionColour(int x, int y) {
    return {static_cast<std::uint8_t>(x & 255), static_cast<std::uint8_t>(y & 255),
            static_cast<std::uint8_t>(77 + (x >> 8) + 8 * (y >> 8))};
}

inline Bitmap positionPicture(int width, int height) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, positionColour(x, y));
    return picture;
}

inline Bitmap plainPicture(int width, int height, Bgr colour) {
    Bitmap picture(width, height);
    picture.fill(colour);
    return picture;
}

// Where in the new picture a destination pixel came from; nullopt when it still shows the old one.
inline std::optional<Point> sourceOf(const Bitmap& dest, int x, int y) {
    const Bgr c = dest.pixel(x, y);
    if (c == kOld)
        return std::nullopt;
    const int high = c.r - 77;
    return Point{c.b + 256 * (high % 8), c.g + 256 * (high / 8)};
}

// Runs effect n once at progress p on an old picture, with no random draws scripted.
inline Bitmap runStep(int n, int width, int height, int p, const Bitmap* start = nullptr) {
    Bitmap dest = start ? *start : plainPicture(width, height, kOld);
    const Bitmap picture = positionPicture(width, height);
    ScriptedRandom random;
    FindEffect(n)->Proc(dest, picture, {0, 0, width, height}, kDefaultGrain, p, random);
    return dest;
}

} // namespace vistello::effects::testing
