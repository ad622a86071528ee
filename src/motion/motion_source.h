#pragma once
// A picture made ready for its motion: copied once at a size suited to the frame, with its
// half-size levels, and rendered into frames for rectangles with fractional coordinates.
//
// Each frame pixel is the mean of the source under it, weighted by a tent filter: of one source
// pixel's radius when the frame magnifies (bilinear sampling), of the reduction's radius when
// it minifies, on the half-size level that brings the reduction below two. The filter moves
// with the rectangle by any fraction of a pixel, so a motion at constant speed advances the
// picture by the same sub-pixel step every frame, and fine detail does not shimmer.

#include "effects/raster/bitmap.h"
#include "store/picture_motion.h"

#include <QImage>

#include <cstdint>
#include <vector>

namespace vistello::motion {

// The size to copy a pictureWidth × pictureHeight picture at so that the frame shows the
// smallest rectangle of its motion without magnifying; never larger than the picture.
struct SourceSize {
    int width = 0, height = 0;
};
SourceSize suitedSourceSize(int pictureWidth, int pictureHeight, int frameWidth, int frameHeight,
                            const store::MotionRect& smallestRect);

class MotionSource {
  public:
    MotionSource() = default;
    // Copies `picture` (any format) reduced by area averaging to `size` (its own size when
    // `size` is empty or larger) and builds the half-size levels.
    MotionSource(const QImage& picture, SourceSize size = {});

    bool isNull() const { return levels_.empty(); }
    int width() const { return isNull() ? 0 : levels_.front().width; }
    int height() const { return isNull() ? 0 : levels_.front().height; }
    int levelCount() const { return static_cast<int>(levels_.size()); }

    // Renders `rect` (fractions of the picture) into the whole of `frame`, which keeps its
    // size. Source pixels past the picture's edge repeat the edge. Not for two threads at once
    // on the same source.
    void render(const store::MotionRect& rect, effects::Bitmap& frame) const;
    // The same into `height` rows of `width` blue-green-red pixels, `stride` bytes apart.
    void render(const store::MotionRect& rect, std::uint8_t* pixels, std::ptrdiff_t stride, int width,
                int height) const;

  private:
    struct Level {
        int width = 0, height = 0;
        std::vector<std::uint8_t> pixels; // blue-green-red, rows packed
        const std::uint8_t* row(int y) const {
            return pixels.data() + static_cast<std::size_t>(y) * width * 3;
        }
    };
    std::vector<Level> levels_;              // the copy, then each level half the one before
    mutable std::vector<std::int16_t> line_; // a vertically filtered row (row_filters.h)
};

} // namespace vistello::motion
