// Rendering a moving rectangle of a picture into frames: exact where nothing moves, smooth
// sub-pixel steps along a linear way (measured by phase correlation), no aliasing when reducing.

#include "motion/motion_path.h"
#include "motion/motion_source.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <QImage>

#include <cmath>
#include <complex>
#include <cstring>
#include <numeric>
#include <random>

using namespace vistello::motion;
using vistello::effects::Bitmap;
using vistello::store::Easing;
using vistello::store::MotionRect;

namespace {

// A photo-like texture: noise smoothed over a few pixels, in colour, the same every time.
QImage texture(int width, int height) {
    cv::Mat noise(height, width, CV_8UC3);
    cv::RNG random(7);
    random.fill(noise, cv::RNG::UNIFORM, 0, 256);
    cv::GaussianBlur(noise, noise, cv::Size(0, 0), 2.0);
    cv::normalize(noise, noise, 0, 255, cv::NORM_MINMAX);
    QImage picture(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        std::memcpy(picture.scanLine(y), noise.ptr(y), static_cast<std::size_t>(width) * 3);
    return picture;
}

cv::Mat greyOf(const Bitmap& frame) {
    const cv::Mat bgr(frame.height(), frame.width(), CV_8UC3, const_cast<std::uint8_t*>(frame.data()),
                      static_cast<std::size_t>(frame.stride()));
    cv::Mat grey, result;
    cv::cvtColor(bgr, grey, cv::COLOR_BGR2GRAY);
    grey.convertTo(result, CV_64F);
    return result;
}

// A Hann window over a width × height frame, moved by (dx, dy) pixels.
cv::Mat hannWindow(int width, int height, double dx, double dy) {
    const auto hann = [](double t, int n) {
        return t < 0 || t > n - 1 ? 0.0 : 0.5 - 0.5 * std::cos(2 * M_PI * t / (n - 1));
    };
    cv::Mat window(height, width, CV_64F);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            window.at<double>(y, x) = hann(x - dx, width) * hann(y - dy, height);
    return window;
}

// The shift of `after` against `before` read from the slope of the cross-power spectrum's phase
// over the low frequencies (a weighted least-squares plane), exact for a pure shift whatever
// its fraction, unlike the peak of the correlation surface.
cv::Point2d phaseSlope(const cv::Mat& before, const cv::Mat& after) {
    cv::Mat a, b;
    cv::dft(before, a, cv::DFT_COMPLEX_OUTPUT);
    cv::dft(after, b, cv::DFT_COMPLEX_OUTPUT);
    const int width = before.cols, height = before.rows;
    const int reachU = width / 8, reachV = height / 8; // phases stay within ±π for shifts below 2 px
    double suu = 0, suv = 0, svv = 0, sup = 0, svp = 0;
    for (int v = -reachV; v <= reachV; ++v)
        for (int u = 0; u <= reachU; ++u) {
            if (u == 0 && v <= 0)
                continue; // the mean, and the mirror half of a real picture's spectrum
            const auto& fa = a.at<cv::Vec2d>((v + height) % height, u);
            const auto& fb = b.at<cv::Vec2d>((v + height) % height, u);
            const std::complex<double> cross =
                std::complex<double>(fb[0], fb[1]) * std::conj(std::complex<double>(fa[0], fa[1]));
            const double weight = std::abs(cross), phase = std::arg(cross);
            const double wu = 2 * M_PI * u / width, wv = 2 * M_PI * v / height;
            suu += weight * wu * wu;
            suv += weight * wu * wv;
            svv += weight * wv * wv;
            sup += weight * wu * phase;
            svp += weight * wv * phase;
        }
    // phase = −(wu dx + wv dy)
    const double determinant = suu * svv - suv * suv;
    return {-(sup * svv - svp * suv) / determinant, -(svp * suu - sup * suv) / determinant};
}

// How far the content moved from `before` to `after`, in pixels, by phase correlation. The
// frames are windowed so their edges do not count; the second window moves with the content
// (found again from each estimate), since a window that stays would pull the shift to zero.
cv::Point2d phaseShift(const cv::Mat& before, const cv::Mat& after) {
    const cv::Mat still = before.mul(hannWindow(before.cols, before.rows, 0, 0));
    cv::Point2d shift;
    for (int round = 0; round < 6; ++round)
        shift = phaseSlope(still, after.mul(hannWindow(after.cols, after.rows, shift.x, shift.y)));
    return shift;
}

// How far the picture moved from one frame to the next, in frame pixels, for every pair.
std::vector<cv::Point2d> frameSteps(const MotionSource& source, const MotionRect& start,
                                    const MotionRect& end, int frames, int width, int height) {
    std::vector<cv::Point2d> steps;
    cv::Mat previous;
    Bitmap frame(width, height);
    for (int i = 0; i <= frames; ++i) {
        source.render(rectAt(start, end, Easing::Linear, static_cast<double>(i) / frames), frame);
        cv::Mat grey = greyOf(frame);
        if (!previous.empty())
            steps.push_back(phaseShift(previous, grey));
        previous = grey;
    }
    return steps;
}

TEST(SuitedSourceSize, HoldsTheSmallestRectangleAtTheFramesResolution) {
    const struct {
        int pictureWidth, pictureHeight, frameWidth, frameHeight;
        MotionRect smallest;
        SourceSize expected;
    } cases[] = {
        {4000, 3000, 768, 576, {0, 0, 1, 1}, {768, 576}},
        {4000, 3000, 768, 576, {0.1, 0.1, 0.8, 0.8}, {960, 720}},
        {4000, 3000, 1920, 1080, {0, 0.125, 1, 0.75}, {1920, 1440}},
        {800, 600, 1920, 1080, {0, 0, 1, 1}, {800, 600}},   // never enlarged
        {4000, 3000, 768, 576, {0, 0, 0, 1}, {4000, 3000}}, // no usable rectangle: all of it
    };
    for (const auto& c : cases) {
        const SourceSize size =
            suitedSourceSize(c.pictureWidth, c.pictureHeight, c.frameWidth, c.frameHeight, c.smallest);
        EXPECT_EQ(size.width, c.expected.width);
        EXPECT_EQ(size.height, c.expected.height);
    }
}

TEST(MotionSource, BuildsHalfSizeLevelsDownToOnePixel) {
    const MotionSource source(texture(1000, 600));
    ASSERT_EQ(source.width(), 1000);
    EXPECT_EQ(source.levelCount(), 10); // 1000, 500, 250, 125, 62, 31, 15, 7, 3, 1 wide
    const MotionSource reduced(texture(1000, 600), {400, 240});
    EXPECT_EQ(reduced.width(), 400);
    EXPECT_EQ(reduced.height(), 240);
    EXPECT_TRUE(MotionSource(QImage()).isNull());
}

TEST(MotionSource, TheWholePictureAtItsOwnSizeIsCopiedExactly) {
    const QImage picture = texture(320, 200);
    const MotionSource source(picture);
    Bitmap frame(320, 200);
    source.render({0, 0, 1, 1}, frame);
    for (int y = 0; y < 200; ++y)
        ASSERT_EQ(std::memcmp(frame.row(y), picture.constScanLine(y), 320 * 3), 0) << "row " << y;
}

TEST(MotionSource, AFlatColourStaysExactAtAnyRectangle) {
    QImage picture(500, 300, QImage::Format_BGR888);
    picture.fill(QColor(201, 77, 13));
    const MotionSource source(picture);
    const MotionRect rects[] = {
        {0, 0, 1, 1}, {0.3, 0.2, 0.1, 0.1}, {0.999, 0.999, 0.001, 0.001}, {0, 0, 0.37, 0.91}};
    for (const auto& rect : rects)
        for (const auto& size : {QSize(64, 48), QSize(1920, 1080), QSize(7, 3)}) {
            Bitmap frame(size.width(), size.height());
            source.render(rect, frame);
            for (int y = 0; y < frame.height(); ++y)
                for (int x = 0; x < frame.width(); ++x)
                    ASSERT_EQ(frame.pixel(x, y), (vistello::effects::Bgr{13, 77, 201})) << x << "," << y;
        }
}

TEST(MotionSource, ALinearPanAdvancesByTheSameSubPixelStepEveryFrame) {
    // A frame of 256 × 160 over rectangles whose reduction runs from magnifying to reducing
    // past the first half-size level; the pan moves a fraction of a frame pixel per frame.
    const QImage picture = texture(1600, 1000);
    const MotionSource source(picture);
    const struct {
        const char* what;
        double width;  // of the rectangle, in fractions of the picture
        double dx, dy; // the pan over the whole way, in fractions
    } cases[] = {
        {"magnifying 0.7", 256 * 0.7 / 1600, 0.010, 0.0},
        {"one to one", 256.0 / 1600, 0.0, 0.012},
        {"reducing 1.37", 256 * 1.37 / 1600, 0.02, 0.017},
        {"reducing 2.9 (a half-size level)", 256 * 2.9 / 1600, 0.067, -0.05},
    };
    constexpr int frames = 24, width = 256, height = 160;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const double rectHeight = c.width * 1600 / 1000 * height / width;
        const MotionRect start{0.3, 0.35, c.width, rectHeight};
        const MotionRect end{0.3 + c.dx, 0.35 + c.dy, c.width, rectHeight};
        const double stepX = -c.dx * 1600 / frames / (c.width * 1600 / width); // frame pixels a frame
        const double stepY = -c.dy * 1000 / frames / (rectHeight * 1000 / height);
        ASSERT_LT(std::hypot(stepX, stepY), 2) << "the measurement reaches 2 pixels";
        const std::vector<cv::Point2d> steps = frameSteps(source, start, end, frames, width, height);
        cv::Point2d mean;
        for (const cv::Point2d& step : steps)
            mean += step / static_cast<double>(steps.size());
        for (const cv::Point2d& step : steps) {
            EXPECT_NEAR(step.x, mean.x, 0.05) << "every step is the same";
            EXPECT_NEAR(step.y, mean.y, 0.05);
        }
        EXPECT_NEAR(mean.x, stepX, 0.05) << "and the step of the way";
        EXPECT_NEAR(mean.y, stepY, 0.05);
    }
}

TEST(MotionSource, TheMeasurementSeesTheJitterOfWholePixelSteps) {
    // The same pan with the rectangle snapped to whole source pixels, as sampling without
    // sub-pixel precision would do: the steps then jump between 0 and 1 pixel.
    const QImage picture = texture(1600, 1000);
    const MotionSource source(picture);
    constexpr int frames = 24, width = 256, height = 160;
    const double rectWidth = 256.0 / 1600, rectHeight = 160.0 / 1000;
    cv::Mat previous;
    Bitmap frame(width, height);
    std::vector<double> steps;
    for (int i = 0; i <= frames; ++i) {
        const double x = std::round((0.3 + 0.01 * i / frames) * 1600) / 1600;
        source.render({x, 0.3, rectWidth, rectHeight}, frame);
        cv::Mat grey = greyOf(frame);
        if (!previous.empty())
            steps.push_back(phaseShift(previous, grey).x);
        previous = grey;
    }
    const double mean = std::accumulate(steps.begin(), steps.end(), 0.0) / static_cast<double>(steps.size());
    double worst = 0;
    for (const double step : steps)
        worst = std::max(worst, std::abs(step - mean));
    EXPECT_GT(worst, 0.3);
}

TEST(MotionSource, ReducingFineStripesGivesGreyNotAliases) {
    // Stripes of one pixel each way: reduced 1.5 times without a prefilter they would beat into
    // coarse bands; filtered they come out as an even grey.
    QImage stripes(1200, 60, QImage::Format_BGR888);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 1200; ++x)
            std::memset(stripes.scanLine(y) + 3 * x, x % 2 ? 255 : 0, 3);
    const MotionSource source(stripes);
    for (const double reduction : {1.5, 1.9, 3.3}) {
        Bitmap frame(static_cast<int>(1200 / reduction), 40);
        source.render({0, 0, 1, 1}, frame);
        int low = 255, high = 0;
        for (int x = 2; x + 2 < frame.width(); ++x) {
            low = std::min<int>(low, frame.pixel(x, 20).g);
            high = std::max<int>(high, frame.pixel(x, 20).g);
        }
        EXPECT_LE(high - low, 40) << "reduction " << reduction;
        EXPECT_NEAR((high + low) / 2.0, 127.5, 20);
    }
}

} // namespace
