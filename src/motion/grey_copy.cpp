#include "motion/grey_copy.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace vistello::motion {

namespace {

// A view of a 24-bit picture's pixels for OpenCV, without a copy.
cv::Mat viewOf(const QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC3, const_cast<uchar*>(picture.constBits()),
                   static_cast<std::size_t>(picture.bytesPerLine()));
}

} // namespace

QImage greyCopy(const QImage& picture, int longSide) {
    if (picture.isNull())
        return {};
    const QImage bgr =
        picture.format() == QImage::Format_BGR888 ? picture : picture.convertToFormat(QImage::Format_BGR888);
    const int width = bgr.width(), height = bgr.height();
    const double scale = std::min(1.0, static_cast<double>(longSide) / std::max(width, height));
    const int outWidth = std::max(1, static_cast<int>(std::lround(width * scale)));
    const int outHeight = std::max(1, static_cast<int>(std::lround(height * scale)));

    cv::Mat source = viewOf(bgr);
    // OpenCV's area reduction is fastest by whole factors: take the largest whole factor
    // first, then the small remainder.
    const int whole = static_cast<int>(std::floor(1 / scale));
    cv::Mat reduced;
    if (whole >= 2) {
        cv::resize(source, reduced,
                   cv::Size(std::max(outWidth, width / whole), std::max(outHeight, height / whole)), 0, 0,
                   cv::INTER_AREA);
        source = reduced;
    }
    cv::Mat sized;
    if (source.cols != outWidth || source.rows != outHeight)
        cv::resize(source, sized, cv::Size(outWidth, outHeight), 0, 0, cv::INTER_AREA);
    else
        sized = source;

    QImage grey(outWidth, outHeight, QImage::Format_Grayscale8);
    cv::Mat greyView(outHeight, outWidth, CV_8UC1, grey.bits(),
                     static_cast<std::size_t>(grey.bytesPerLine()));
    cv::cvtColor(sized, greyView, cv::COLOR_BGR2GRAY);
    return grey;
}

std::uint64_t pictureHash(const QImage& picture) {
    // FNV-1a over the size and the pixels of a 64 × 64 grid.
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::uint64_t value) {
        for (int i = 0; i < 8; ++i) {
            hash ^= (value >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    };
    mix(static_cast<std::uint64_t>(picture.width()));
    mix(static_cast<std::uint64_t>(picture.height()));
    if (picture.isNull())
        return hash;
    constexpr int kGrid = 64;
    for (int j = 0; j < kGrid; ++j) {
        const int y = static_cast<int>(static_cast<std::int64_t>(j) * picture.height() / kGrid);
        for (int i = 0; i < kGrid; ++i) {
            const int x = static_cast<int>(static_cast<std::int64_t>(i) * picture.width() / kGrid);
            mix(picture.pixel(x, y) & 0xFFFFFFu);
        }
    }
    return hash;
}

} // namespace vistello::motion
