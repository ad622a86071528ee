#include "motion/motion_source.h"

#include "motion/row_filters.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace vistello::motion {

namespace {

constexpr double kMaxRadius = 1.999; // the last level may not reduce enough; blur no further

// The filter of every output position along one axis: output k looks at the level around
// origin + (k + 0.5) × step − 0.5, with a tent of radius max(1, step) (1 is bilinear sampling).
std::vector<Tap> axisTaps(int count, double origin, double step, int sourceSize) {
    std::vector<Tap> taps(static_cast<std::size_t>(count));
    const double radius = std::clamp(step, 1.0, kMaxRadius);
    for (int k = 0; k < count; ++k) {
        const double centre = origin + (k + 0.5) * step - 0.5;
        const int first = static_cast<int>(std::floor(centre - radius)) + 1;
        std::array<double, kMaxTaps> w{};
        double sum = 0;
        for (int j = 0; j < kMaxTaps; ++j) {
            w[j] = std::max(0.0, 1 - std::abs(first + j - centre) / radius);
            sum += w[j];
        }
        Tap& tap = taps[static_cast<std::size_t>(k)];
        int total = 0, largest = 0;
        for (int j = 0; j < kMaxTaps; ++j) {
            tap.index[j] = std::clamp(first + j, 0, sourceSize - 1);
            tap.weight[j] = static_cast<int>(std::lround(w[j] / sum * (1 << kWeightBits)));
            total += tap.weight[j];
            if (tap.weight[j] > tap.weight[largest])
                largest = j;
        }
        tap.weight[largest] += (1 << kWeightBits) - total; // rounding: the sum is exact
    }
    return taps;
}

cv::Mat viewOf(const QImage& bgr) {
    return cv::Mat(bgr.height(), bgr.width(), CV_8UC3, const_cast<uchar*>(bgr.constBits()),
                   static_cast<std::size_t>(bgr.bytesPerLine()));
}

} // namespace

SourceSize suitedSourceSize(int pictureWidth, int pictureHeight, int frameWidth, int frameHeight,
                            const store::MotionRect& smallestRect) {
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return {};
    if (frameWidth <= 0 || frameHeight <= 0 || !store::isOnPicture(smallestRect))
        return {pictureWidth, pictureHeight};
    const double scale = std::min(1.0, std::max(frameWidth / (smallestRect.width * pictureWidth),
                                                frameHeight / (smallestRect.height * pictureHeight)));
    return {std::clamp(static_cast<int>(std::ceil(pictureWidth * scale - 1e-9)), 1, pictureWidth),
            std::clamp(static_cast<int>(std::ceil(pictureHeight * scale - 1e-9)), 1, pictureHeight)};
}

MotionSource::MotionSource(const QImage& picture, SourceSize size) {
    if (picture.isNull())
        return;
    const QImage bgr =
        picture.format() == QImage::Format_BGR888 ? picture : picture.convertToFormat(QImage::Format_BGR888);
    if (size.width <= 0 || size.height <= 0 || size.width > bgr.width() || size.height > bgr.height())
        size = {bgr.width(), bgr.height()};

    Level first;
    first.width = size.width;
    first.height = size.height;
    first.pixels.resize(static_cast<std::size_t>(size.width) * size.height * 3);
    cv::Mat out(size.height, size.width, CV_8UC3, first.pixels.data());
    if (size.width == bgr.width() && size.height == bgr.height()) {
        viewOf(bgr).copyTo(out);
    } else {
        // Area averaging, by a whole factor first where one fits (OpenCV's fast case).
        cv::Mat source = viewOf(bgr);
        const int whole = std::min(bgr.width() / size.width, bgr.height() / size.height);
        cv::Mat reduced;
        if (whole >= 2) {
            cv::resize(source, reduced, cv::Size(bgr.width() / whole, bgr.height() / whole), 0, 0,
                       cv::INTER_AREA);
            source = reduced;
        }
        cv::resize(source, out, out.size(), 0, 0, cv::INTER_AREA);
    }
    levels_.push_back(std::move(first));

    // Each next level is the 2 × 2 mean of the one before (an odd last row or column dropped),
    // so level L's pixel i is centred on the copy's (i + 0.5) × 2^L − 0.5.
    while (levels_.size() < 16 && (levels_.back().width > 1 || levels_.back().height > 1)) {
        const Level& above = levels_.back();
        Level next;
        next.width = std::max(1, above.width / 2);
        next.height = std::max(1, above.height / 2);
        next.pixels.resize(static_cast<std::size_t>(next.width) * next.height * 3);
        for (int y = 0; y < next.height; ++y) {
            const std::uint8_t* top = above.row(std::min(2 * y, above.height - 1));
            const std::uint8_t* bottom = above.row(std::min(2 * y + 1, above.height - 1));
            std::uint8_t* line = next.pixels.data() + static_cast<std::size_t>(y) * next.width * 3;
            for (int x = 0; x < next.width; ++x) {
                const int left = 3 * std::min(2 * x, above.width - 1),
                          right = 3 * std::min(2 * x + 1, above.width - 1);
                for (int c = 0; c < 3; ++c)
                    line[3 * x + c] = static_cast<std::uint8_t>(
                        (top[left + c] + top[right + c] + bottom[left + c] + bottom[right + c] + 2) / 4);
            }
        }
        levels_.push_back(std::move(next));
    }
}

void MotionSource::render(const store::MotionRect& rect, effects::Bitmap& frame) const {
    render(rect, frame.data(), frame.stride(), frame.width(), frame.height());
}

void MotionSource::render(const store::MotionRect& rect, std::uint8_t* pixels, std::ptrdiff_t stride,
                          int frameWidth, int frameHeight) const {
    if (isNull() || !pixels || frameWidth <= 0 || frameHeight <= 0 ||
        stride < std::ptrdiff_t{frameWidth} * 3 || !(rect.width > 0) || !(rect.height > 0))
        return;
    const Level& copy = levels_.front();
    const double stepX = rect.width * copy.width / frameWidth,
                 stepY = rect.height * copy.height / frameHeight;
    std::size_t levelIndex = 0;
    double factor = 1; // 2^level
    while (levelIndex + 1 < levels_.size() && std::max(stepX, stepY) / factor >= 2) {
        ++levelIndex;
        factor *= 2;
    }
    const Level& level = levels_[levelIndex];
    const std::vector<Tap> rows =
        axisTaps(frameHeight, rect.y * copy.height / factor, stepY / factor, level.height);
    // A tent of radius r touches at most floor(2r) + 1 pixels: two when magnifying (r = 1),
    // three for the slight reductions of a zoom over a suited copy, four beyond.
    const auto tapsFor = [](double step) { return step <= 1 ? 2 : step < 1.5 ? 3 : kMaxTaps; };
    const int columnTaps = tapsFor(stepX / factor), rowTaps = tapsFor(stepY / factor);
    // The line holds the part of each level row the columns look at (the vertical pass's work
    // is of its width), so column indices count from its first pixel.
    std::vector<Tap> columns =
        axisTaps(frameWidth, rect.x * copy.width / factor, stepX / factor, level.width);
    const int firstColumn = columns.front().index.front(), lastColumn = columns.back().index.back();
    for (Tap& tap : columns)
        for (int& index : tap.index)
            index -= firstColumn;
    const std::vector<ColumnTap> packed = columnTapsOf(columns);
    const auto values = static_cast<std::size_t>(lastColumn - firstColumn + 1) * 3;
    line_.resize(values + kLineSlack);
    for (int y = 0; y < frameHeight; ++y) {
        const Tap& tap = rows[static_cast<std::size_t>(y)];
        std::array<const std::uint8_t*, kMaxTaps> sourceRows{};
        for (int j = 0; j < rowTaps; ++j)
            sourceRows[static_cast<std::size_t>(j)] = level.row(tap.index[j]) + 3 * firstColumn;
        combineRows(rowTaps, sourceRows, tap, values, line_.data());
        filterColumns(columnTaps, line_.data(), packed, pixels + y * stride);
    }
}

} // namespace vistello::motion
