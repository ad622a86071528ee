#pragma once
// Where a picture without faces is most worth looking at: a spectral-residual saliency map of
// its grey copy, and the window of a given size that holds the most of it.

#include "store/picture_motion.h"

#include <QImage>

#include <vector>

namespace vistello::motion {

// Saliency over the whole picture on a kSaliencyCells × kSaliencyCells grid (each cell the same
// fraction of the picture's width and height), values 0..1, row by row.
inline constexpr int kSaliencyCells = 64;
struct SaliencyMap {
    std::vector<float> values; // empty for a null picture
    float at(int column, int row) const {
        return values[static_cast<std::size_t>(row * kSaliencyCells + column)];
    }
};

// The spectral residual of the grey picture's log amplitude spectrum turned back into an
// image: what stands out from the picture's average texture. A flat picture has no saliency.
SaliencyMap saliencyMap(const QImage& grey);

// The window of width × height (fractions of the picture) with the most saliency; among equal
// windows the one nearest the centre. The centred window when the map is empty or flat.
store::MotionRect mostSalientWindow(const SaliencyMap& map, double width, double height);

} // namespace vistello::motion
