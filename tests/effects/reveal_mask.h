#pragma once
// Checks for region transitions: run one step of an effect from an old picture of one colour
// towards a picture whose every pixel is distinct, then read back which pixels were revealed and
// compare them with the set a worked example names.

#include "effects/engine/catalogue.h"
#include "effects/engine/random_source.h"
#include "effects/raster/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace vistello::effects::reveal {

// Never produced by distinctPicture (its red byte is always at least 100).
inline constexpr Bgr kOldColour{7, 7, 7};

inline Bitmap distinctPicture(int width, int height) {
    Bitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y,
                             {static_cast<std::uint8_t>(x & 255), static_cast<std::uint8_t>(y & 255),
                              static_cast<std::uint8_t>(100 + (x >> 8) + 16 * (y >> 8))});
    return picture;
}

// One bit per pixel, row-major.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<bool> bits;

    Mask(int w, int h) : width(w), height(h), bits(static_cast<std::size_t>(w) * h, false) {}
    bool at(int x, int y) const { return bits[static_cast<std::size_t>(y) * width + x]; }
    void set(int x, int y, bool on) { bits[static_cast<std::size_t>(y) * width + x] = on; }
    void add(const Rect& r) {
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, height); ++y)
            for (int x = std::max(r.left, 0); x < std::min(r.right, width); ++x)
                set(x, y, true);
    }
    int count() const { return static_cast<int>(std::count(bits.begin(), bits.end(), true)); }
};

inline Mask maskOf(int width, int height, const std::vector<Rect>& rects) {
    Mask mask(width, height);
    for (const Rect& r : rects)
        mask.add(r);
    return mask;
}

inline Mask maskWhere(int width, int height, const std::function<bool(int, int)>& inside) {
    Mask mask(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            mask.set(x, y, inside(x, y));
    return mask;
}

// The pixels of dest that show the new picture at their own place. Every other pixel must still
// show the old colour: an effect of this kind never moves or mixes pixels.
inline Mask revealedPixels(const Bitmap& dest, const Bitmap& picture) {
    Mask mask(dest.width(), dest.height());
    int strays = 0;
    for (int y = 0; y < dest.height(); ++y)
        for (int x = 0; x < dest.width(); ++x) {
            const Bgr c = dest.pixel(x, y);
            if (c == picture.pixel(x, y))
                mask.set(x, y, true);
            else if (c != kOldColour && ++strays <= 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is neither old nor new";
        }
    return mask;
}

// Runs steps of effect n on a width × height old picture; returns the revealed pixels.
inline Mask runEffect(int n, int width, int height, const std::vector<int>& steps, RandomSource& random) {
    Bitmap dest(width, height);
    dest.fill(kOldColour);
    const Bitmap picture = distinctPicture(width, height);
    for (int p : steps)
        FindEffect(n)->Proc(dest, picture, {0, 0, width, height}, kDefaultGrain, p, random);
    return revealedPixels(dest, picture);
}

inline Mask runEffect(int n, int width, int height, int p) {
    ScriptedRandom zeros;
    return runEffect(n, width, height, {p}, zeros);
}

// Empty when equal; otherwise the number of differing pixels and the first few of them.
inline std::string describeDifference(const Mask& actual, const Mask& expected) {
    std::ostringstream out;
    int differing = 0;
    for (int y = 0; y < expected.height; ++y)
        for (int x = 0; x < expected.width; ++x)
            if (actual.at(x, y) != expected.at(x, y) && ++differing <= 5)
                out << " (" << x << ", " << y << ") " << (actual.at(x, y) ? "revealed" : "not revealed")
                    << ";";
    if (differing == 0)
        return {};
    return std::to_string(differing) + " pixels differ:" + out.str();
}

} // namespace vistello::effects::reveal
