#include "motion/saliency.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace vistello::motion {

SaliencyMap saliencyMap(const QImage& grey) {
    if (grey.isNull() || grey.format() != QImage::Format_Grayscale8)
        return {};
    const cv::Mat view(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                       static_cast<std::size_t>(grey.bytesPerLine()));
    cv::Mat small;
    cv::resize(view, small, cv::Size(kSaliencyCells, kSaliencyCells), 0, 0, cv::INTER_AREA);
    small.convertTo(small, CV_32F, 1.0 / 255);

    cv::Mat spectrum;
    cv::dft(small, spectrum, cv::DFT_COMPLEX_OUTPUT);
    cv::Mat parts[2];
    cv::split(spectrum, parts);
    cv::Mat amplitude, phase;
    cv::cartToPolar(parts[0], parts[1], amplitude, phase);
    cv::Mat logAmplitude;
    cv::log(amplitude + 1e-6f, logAmplitude);
    cv::Mat average;
    cv::blur(logAmplitude, average, cv::Size(3, 3), cv::Point(-1, -1), cv::BORDER_REPLICATE);
    cv::Mat residual;
    cv::exp(logAmplitude - average, residual);
    cv::polarToCart(residual, phase, parts[0], parts[1]);
    cv::merge(parts, 2, spectrum);
    cv::Mat back;
    cv::idft(spectrum, back, cv::DFT_COMPLEX_OUTPUT | cv::DFT_SCALE);
    cv::split(back, parts);
    cv::Mat energy;
    cv::magnitude(parts[0], parts[1], energy);
    energy = energy.mul(energy);
    cv::GaussianBlur(energy, energy, cv::Size(0, 0), 2.5, 2.5, cv::BORDER_REPLICATE);

    double low = 0, high = 0;
    cv::minMaxLoc(energy, &low, &high);
    SaliencyMap map;
    map.values.assign(static_cast<std::size_t>(kSaliencyCells * kSaliencyCells), 0.0f);
    // A flat picture has a residual of rounding noise only: no saliency anywhere.
    cv::Scalar mean, deviation;
    cv::meanStdDev(small, mean, deviation);
    if (high <= low || deviation[0] < 1e-3)
        return map;
    for (int y = 0; y < kSaliencyCells; ++y)
        for (int x = 0; x < kSaliencyCells; ++x)
            map.values[static_cast<std::size_t>(y * kSaliencyCells + x)] =
                static_cast<float>((energy.at<float>(y, x) - low) / (high - low));
    return map;
}

store::MotionRect mostSalientWindow(const SaliencyMap& map, double width, double height) {
    width = std::clamp(width, 0.0, 1.0);
    height = std::clamp(height, 0.0, 1.0);
    const store::MotionRect centred{(1 - width) / 2, (1 - height) / 2, width, height};
    if (map.values.empty())
        return centred;
    constexpr int n = kSaliencyCells;
    // Summed-area table, so every window's sum costs four look-ups.
    std::vector<double> sums(static_cast<std::size_t>((n + 1) * (n + 1)), 0.0);
    const auto sum = [&](int x, int y) -> double& { return sums[static_cast<std::size_t>(y * (n + 1) + x)]; };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x)
            sum(x + 1, y + 1) = map.at(x, y) + sum(x, y + 1) + sum(x + 1, y) - sum(x, y);
    const int cellsWide = std::clamp(static_cast<int>(std::lround(width * n)), 1, n);
    const int cellsHigh = std::clamp(static_cast<int>(std::lround(height * n)), 1, n);
    double best = 0;
    double bestDistance = 0;
    int bestX = -1, bestY = -1;
    for (int y = 0; y + cellsHigh <= n; ++y)
        for (int x = 0; x + cellsWide <= n; ++x) {
            const double value =
                sum(x + cellsWide, y + cellsHigh) - sum(x, y + cellsHigh) - sum(x + cellsWide, y) + sum(x, y);
            const double dx = x + cellsWide / 2.0 - n / 2.0, dy = y + cellsHigh / 2.0 - n / 2.0;
            const double distance = dx * dx + dy * dy;
            // Windows within a thousandth of the best count as equal; the central one wins.
            if (bestX < 0 || value > best * 1.001 || (value >= best * 0.999 && distance < bestDistance)) {
                if (value > best)
                    best = value;
                bestDistance = distance;
                bestX = x;
                bestY = y;
            }
        }
    if (best <= 0)
        return centred;
    const double cx = (bestX + cellsWide / 2.0) / n, cy = (bestY + cellsHigh / 2.0) / n;
    return {std::clamp(cx - width / 2, 0.0, 1 - width), std::clamp(cy - height / 2, 0.0, 1 - height), width,
            height};
}

} // namespace vistello::motion
