#pragma once
// The small grey copy of a picture that the automatic framing looks at, and the picture's
// fingerprint from which it takes its choices.

#include <QImage>

#include <cstdint>

namespace vistello::motion {

// Long side of the grey copy: enough for faces of a twentieth of the picture, small enough
// that finding them takes a few tens of milliseconds.
inline constexpr int kGreyLongSide = 640;

// The picture reduced by area averaging so that its long side is at most `longSide`, as
// Format_Grayscale8; a picture that is already small keeps its size. Null for a null picture.
QImage greyCopy(const QImage& picture, int longSide = kGreyLongSide);

// A 64-bit fingerprint of the picture's size and of a grid of its pixels: the same picture
// always gives the same number, so its automatic motion is the same at every render.
std::uint64_t pictureHash(const QImage& picture);

} // namespace vistello::motion
