#include "production/compose.h"

#include <cstdint>
#include <vector>

namespace vistello::production {

namespace {

// Nearest-centre mapping of a stretch: destination pixel k of `destCount` takes source pixel
// ((2k + 1) × sourceCount) div (2 × destCount), as the effects' stretch copies do.
int stretchSource(int k, int sourceCount, int destCount) {
    return static_cast<int>(((2 * static_cast<std::int64_t>(k) + 1) * sourceCount) /
                            (2 * static_cast<std::int64_t>(destCount)));
}

// For every work pixel along one axis: the picture's pixel or -1 (background there), and the
// background picture's pixel (0 when there is none).
struct AxisLookup {
    std::vector<int> picture;
    std::vector<int> background;
};

AxisLookup axisLookup(int workCount, int first, int end, int pictureCount, int backgroundCount) {
    AxisLookup lookup;
    lookup.picture.assign(static_cast<std::size_t>(workCount), -1);
    lookup.background.assign(static_cast<std::size_t>(workCount), 0);
    for (int u = 0; u < workCount; ++u) {
        if (u >= first && u < end)
            lookup.picture[static_cast<std::size_t>(u)] = stretchSource(u - first, pictureCount, end - first);
        if (backgroundCount > 0)
            lookup.background[static_cast<std::size_t>(u)] = stretchSource(u, backgroundCount, workCount);
    }
    return lookup;
}

} // namespace

PictureFit fitPicture(int frameWidth, int frameHeight, int pictureWidth, int pictureHeight) {
    PictureFit fit;
    fit.workWidth = 3 * frameWidth;
    fit.workHeight = 3 * frameHeight;
    if (frameWidth <= 0 || frameHeight <= 0 || pictureWidth <= 0 || pictureHeight <= 0)
        return fit;
    // Compared as floating-point numbers: is the frame at least as wide as the picture?
    if (static_cast<double>(frameWidth) / frameHeight >= static_cast<double>(pictureWidth) / pictureHeight) {
        fit.drawHeight = fit.workHeight;
        fit.drawWidth =
            static_cast<int>(static_cast<std::int64_t>(pictureWidth) * fit.workHeight / pictureHeight);
    } else {
        fit.drawWidth = fit.workWidth;
        fit.drawHeight =
            static_cast<int>(static_cast<std::int64_t>(pictureHeight) * fit.workWidth / pictureWidth);
    }
    fit.left = (fit.workWidth - fit.drawWidth) / 2;
    fit.top = (fit.workHeight - fit.drawHeight) / 2;
    fit.rect = {fit.left, fit.top, fit.workWidth - fit.left, fit.workHeight - fit.top};
    return fit;
}

void ComposePicture(const QImage& picture, const QImage& background, std::uint32_t colour,
                    effects::Bitmap& frame) {
    const int width = frame.width(), height = frame.height();
    const effects::Bgr fill = effects::Bgr::fromColorRef(colour);
    const bool hasPicture = !picture.isNull() && picture.format() == QImage::Format_BGR888;
    const bool hasBackground = !background.isNull() && background.format() == QImage::Format_BGR888;
    const PictureFit fit = hasPicture ? fitPicture(width, height, picture.width(), picture.height())
                                      : fitPicture(width, height, 0, 0);
    const AxisLookup columns =
        axisLookup(fit.workWidth, fit.rect.left, fit.rect.right, hasPicture ? picture.width() : 0,
                   hasBackground ? background.width() : 0);
    const AxisLookup rows =
        axisLookup(fit.workHeight, fit.rect.top, fit.rect.bottom, hasPicture ? picture.height() : 0,
                   hasBackground ? background.height() : 0);

    const auto pictureRow = [&](int v) {
        return picture.constScanLine(rows.picture[static_cast<std::size_t>(v)]);
    };
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out = frame.row(y);
        for (int x = 0; x < width; ++x) {
            unsigned sum[3] = {0, 0, 0};
            for (int j = 0; j < 3; ++j) {
                const int v = 3 * y + j;
                const bool rowInPicture = rows.picture[static_cast<std::size_t>(v)] >= 0;
                const std::uint8_t* pictureLine = rowInPicture ? pictureRow(v) : nullptr;
                const std::uint8_t* backgroundLine =
                    hasBackground ? background.constScanLine(rows.background[static_cast<std::size_t>(v)])
                                  : nullptr;
                for (int i = 0; i < 3; ++i) {
                    const auto u = static_cast<std::size_t>(3 * x + i);
                    const std::uint8_t* pixel;
                    if (pictureLine && columns.picture[u] >= 0)
                        pixel = pictureLine + 3 * columns.picture[u];
                    else if (backgroundLine)
                        pixel = backgroundLine + 3 * columns.background[u];
                    else
                        pixel = &fill.b;
                    sum[0] += pixel[0];
                    sum[1] += pixel[1];
                    sum[2] += pixel[2];
                }
            }
            out[3 * x] = static_cast<std::uint8_t>(sum[0] / 9);
            out[3 * x + 1] = static_cast<std::uint8_t>(sum[1] / 9);
            out[3 * x + 2] = static_cast<std::uint8_t>(sum[2] / 9);
        }
    }
}

void SoftenBitmap(effects::Bitmap& frame) {
    const int width = frame.width(), height = frame.height();
    if (width < 3 || height < 3)
        return;
    for (int y = 1; y + 1 < height; ++y) {
        const std::uint8_t* above = frame.row(y - 1); // already softened
        std::uint8_t* line = frame.row(y);
        const std::uint8_t* below = frame.row(y + 1); // not yet
        // The rows above and below do not change during this row, so their three-pixel sums
        // slide along; the left neighbour is the value just written (kept in `left`), the
        // pixel itself and its right neighbour are still the old ones. The three channels
        // run side by side so their dependency chains overlap.
        unsigned outer[3], left[3];
        for (int c = 0; c < 3; ++c) {
            outer[c] = above[c] + above[3 + c] + below[c] + below[3 + c];
            left[c] = line[c];
        }
        for (int x = 1; x + 1 < width; ++x) {
            const int here = 3 * x, right = 3 * (x + 1), gone = 3 * (x - 1);
            for (int c = 0; c < 3; ++c) {
                outer[c] += above[right + c] + below[right + c];
                const unsigned value = (outer[c] + left[c] + line[here + c] + line[right + c]) / 9;
                outer[c] -= above[gone + c] + below[gone + c];
                line[here + c] = static_cast<std::uint8_t>(value);
                left[c] = value;
            }
        }
    }
}

void SoftenBitmap(effects::Bitmap& frame, int radius) {
    if (radius <= 1)
        return SoftenBitmap(frame);
    const int width = frame.width(), height = frame.height();
    const int span = 2 * radius + 1;
    if (width < span || height < span)
        return;
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    // Rows: each sum slides along a copy of the row as it was.
    std::vector<std::uint8_t> original(rowBytes);
    for (int y = radius; y < height - radius; ++y) {
        std::uint8_t* line = frame.row(y);
        std::copy_n(line, rowBytes, original.begin());
        unsigned sum[3] = {0, 0, 0};
        for (int x = 0; x < span; ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] += original[static_cast<std::size_t>(3 * x + c)];
        for (int x = radius;; ++x) {
            for (int c = 0; c < 3; ++c)
                line[3 * x + c] = static_cast<std::uint8_t>(sum[c] / span);
            if (x + radius + 1 >= width)
                break;
            for (int c = 0; c < 3; ++c)
                sum[c] += original[static_cast<std::size_t>(3 * (x + radius + 1) + c)] -
                          original[static_cast<std::size_t>(3 * (x - radius) + c)];
        }
    }
    // Columns: a ring of the last `span` rows as they were before this pass, and a running sum
    // per value, so the frame is read row by row.
    const std::size_t first = static_cast<std::size_t>(radius) * 3, last = rowBytes - first;
    std::vector<std::uint8_t> ring(rowBytes * static_cast<std::size_t>(span));
    std::vector<unsigned> sums(rowBytes, 0);
    for (int y = 0; y < span; ++y) {
        std::copy_n(frame.row(y), rowBytes, ring.begin() + static_cast<std::ptrdiff_t>(rowBytes * y));
        for (std::size_t i = first; i < last; ++i)
            sums[i] += frame.row(y)[i];
    }
    for (int y = radius; y < height - radius; ++y) {
        std::uint8_t* line = frame.row(y);
        for (std::size_t i = first; i < last; ++i)
            line[i] = static_cast<std::uint8_t>(sums[i] / static_cast<unsigned>(span));
        const int next = y + radius + 1;
        if (next >= height)
            break;
        // The oldest row leaves the window; the next one (not yet written) comes in its slot.
        std::uint8_t* slot = ring.data() + rowBytes * static_cast<std::size_t>((y - radius) % span);
        const std::uint8_t* incoming = frame.row(next);
        for (std::size_t i = first; i < last; ++i) {
            sums[i] += static_cast<unsigned>(incoming[i]) - slot[i];
            slot[i] = incoming[i];
        }
    }
}

} // namespace vistello::production
