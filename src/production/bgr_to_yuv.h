#pragma once
// Colour conversion of frames that need no scaling: 24-bit blue-green-red rows into
// limited-range YUV 4:2:0 of the same size, the luma of every pixel and the chroma of every
// 2 × 2 block from the mean of its four pixels, in the BT.601 or BT.709 matrix. All arithmetic
// is integer, so the SSSE3 loop (used where the processor has it) gives exactly the values of
// the plain one.

#include "production/video_format.h"

#include <cstdint>

namespace vistello::production {

struct YuvPlanes {
    std::uint8_t* data[3];
    int linesize[3];
};

// `width` × `height` pixels of `bgr` (rows `stride` bytes apart) into `out`; an odd last
// column or row has chroma of its own pixels only.
void bgrToYuv420(const std::uint8_t* bgr, int stride, int width, int height, ColourMatrix matrix,
                 const YuvPlanes& out);

// The same, plainly: the reference for the fast loop.
void bgrToYuv420Plain(const std::uint8_t* bgr, int stride, int width, int height, ColourMatrix matrix,
                      const YuvPlanes& out);

} // namespace vistello::production
