// Composition of a picture into a frame (fit, margins, background, nine-pixel mean) and the
// in-place softening of a frame.

#include "production/compose.h"

#include <QImage>

#include <gtest/gtest.h>

#include <random>
#include <tuple>

namespace vistello::production {
namespace {

using effects::Bgr;
using effects::Bitmap;

struct FitCase {
    const char* name;
    int frameWidth, frameHeight, pictureWidth, pictureHeight;
    int drawWidth, drawHeight, left, top;
    effects::Rect rect;
};

TEST(FitPicture, PlacesThePictureInTheTripledFrame) {
    const FitCase cases[] = {
        {"wide picture in VCD", 320, 288, 1000, 500, 960, 480, 0, 192, {0, 192, 960, 672}},
        {"tall picture in DVD", 720, 576, 500, 1000, 864, 1728, 648, 0, {648, 0, 1512, 1728}},
        {"the frame's own proportions", 720, 576, 1440, 1152, 2160, 1728, 0, 0, {0, 0, 2160, 1728}},
        {"smaller than the frame is enlarged", 320, 288, 100, 90, 960, 864, 0, 0, {0, 0, 960, 864}},
        // 480 × 576 frame, 641 × 1000 picture: dw = 641 × 1728 div 1000 = 1107, margin 333 on
        // each side of an odd remainder, so the rectangle is one pixel wider than dw.
        {"odd margin widens the rectangle", 480, 576, 641, 1000, 1107, 1728, 166, 0, {166, 0, 1274, 1728}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureFit fit = fitPicture(c.frameWidth, c.frameHeight, c.pictureWidth, c.pictureHeight);
        EXPECT_EQ(fit.workWidth, 3 * c.frameWidth);
        EXPECT_EQ(fit.workHeight, 3 * c.frameHeight);
        EXPECT_EQ(fit.drawWidth, c.drawWidth);
        EXPECT_EQ(fit.drawHeight, c.drawHeight);
        EXPECT_EQ(fit.left, c.left);
        EXPECT_EQ(fit.top, c.top);
        EXPECT_EQ(fit.rect, c.rect);
    }
}

QImage solid(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_BGR888);
    image.fill(colour);
    return image;
}

TEST(ComposePicture, WidePictureMakesABandOverTheBackgroundColour) {
    // 1000 × 500 in VCD: a 320 × 160 band in the middle (rows 64 to 223), colour above and below.
    Bitmap frame(320, 288);
    const std::uint32_t blue = 0x00ff0000; // 0x00BBGGRR
    ComposePicture(solid(1000, 500, QColor(255, 0, 0)), QImage(), blue, frame);
    for (int y : {0, 63, 224, 287})
        EXPECT_EQ(frame.pixel(160, y), (Bgr{255, 0, 0})) << y;
    for (int y : {64, 150, 223})
        for (int x : {0, 319})
            EXPECT_EQ(frame.pixel(x, y), (Bgr{0, 0, 255})) << x << "," << y;
}

TEST(ComposePicture, PictureOfTheFramesProportionsHidesTheBackground) {
    Bitmap frame(720, 576);
    ComposePicture(solid(900, 720, QColor(10, 200, 30)), QImage(), 0x00ffffff, frame);
    for (int y : {0, 288, 575})
        for (int x : {0, 360, 719})
            EXPECT_EQ(frame.pixel(x, y), (Bgr{30, 200, 10}));
}

TEST(ComposePicture, BackgroundPictureIsStretchedOverTheWholeFrame) {
    // Left half red, right half green, stretched without keeping its proportions.
    QImage background(4, 2, QImage::Format_BGR888);
    background.fill(QColor(255, 0, 0));
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x)
            background.setPixelColor(x, y, QColor(0, 255, 0));
    Bitmap frame(320, 288);
    ComposePicture(solid(100, 1000, QColor(0, 0, 255)), background, 0, frame);
    EXPECT_EQ(frame.pixel(0, 0), (Bgr{0, 0, 255}));
    EXPECT_EQ(frame.pixel(319, 287), (Bgr{0, 255, 0}));
    EXPECT_EQ(frame.pixel(160, 144), (Bgr{255, 0, 0})); // the picture itself in the middle
}

TEST(ComposePicture, EachFramePixelIsTheMeanOfItsNineWorkPixels) {
    // A picture exactly 3 × the frame is copied 1:1 into the work area, so every frame pixel
    // is the integer mean of a 3 × 3 block of the picture.
    const int width = 320, height = 288;
    QImage picture(3 * width, 3 * height, QImage::Format_BGR888);
    std::mt19937 random(7);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width() * 3; ++x)
            picture.scanLine(y)[x] = static_cast<std::uint8_t>(random());
    Bitmap frame(width, height);
    ComposePicture(picture, QImage(), 0, frame);
    for (int y = 0; y < height; y += 37)
        for (int x = 0; x < width; x += 41)
            for (int c = 0; c < 3; ++c) {
                unsigned sum = 0;
                for (int j = 0; j < 3; ++j)
                    for (int i = 0; i < 3; ++i)
                        sum += picture.constScanLine(3 * y + j)[3 * (3 * x + i) + c];
                EXPECT_EQ(frame.row(y)[3 * x + c], sum / 9) << x << "," << y << "," << c;
            }
}

// The rule written out pixel by pixel, reading the bitmap as it is being changed.
void softenByTheBook(Bitmap& frame) {
    for (int y = 1; y <= frame.height() - 2; ++y)
        for (int x = 1; x <= frame.width() - 2; ++x)
            for (int c = 0; c < 3; ++c) {
                unsigned sum = 0;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        sum += frame.row(y + j)[3 * (x + i) + c];
                frame.row(y)[3 * x + c] = static_cast<std::uint8_t>(sum / 9);
            }
}

TEST(SoftenBitmap, SoftensInPlaceRowByRowFromTheTopLeft) {
    // 4 × 3, one channel set to a known pattern: the second softened pixel reads the first
    // one's new value. Blue values:
    //   0  0  0  0
    //   0 90  0  0
    //   0  0  0  0
    // (1,1) = 90 / 9 = 10; (2,1) = (10 + 0 ...) / 9 = 1 (it sees 10, not 90).
    Bitmap frame(4, 3);
    frame.setPixel(1, 1, Bgr{90, 0, 0});
    SoftenBitmap(frame);
    EXPECT_EQ(frame.pixel(1, 1).b, 10);
    EXPECT_EQ(frame.pixel(2, 1).b, 1);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(frame.pixel(x, 0).b, 0); // the outermost rows and columns stay
        EXPECT_EQ(frame.pixel(x, 2).b, 0);
    }
}

TEST(SoftenBitmap, MatchesThePixelByPixelRuleOnRandomFrames) {
    std::mt19937 random(3);
    for (auto [width, height] : {std::pair{7, 5}, std::pair{3, 3}, std::pair{33, 17}, std::pair{2, 9}}) {
        Bitmap frame(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width * 3; ++x)
                frame.row(y)[x] = static_cast<std::uint8_t>(random());
        Bitmap expected = frame;
        softenByTheBook(expected);
        SoftenBitmap(frame);
        EXPECT_EQ(frame, expected) << width << "x" << height;
    }
}

// The wider softening by the book: the mean over the (2r + 1)² neighbourhood of a row-blurred
// copy, each pass reading the pixels as they were; the outer r rows and columns kept.
Bitmap boxByTheBook(const Bitmap& frame, int r) {
    const int width = frame.width(), height = frame.height(), n = 2 * r + 1;
    Bitmap rows = frame;
    for (int y = r; y < height - r; ++y)
        for (int x = r; x < width - r; ++x)
            for (int c = 0; c < 3; ++c) {
                unsigned sum = 0;
                for (int i = -r; i <= r; ++i)
                    sum += frame.row(y)[3 * (x + i) + c];
                rows.row(y)[3 * x + c] = static_cast<std::uint8_t>(sum / n);
            }
    Bitmap out = rows;
    for (int y = r; y < height - r; ++y)
        for (int x = r; x < width - r; ++x)
            for (int c = 0; c < 3; ++c) {
                unsigned sum = 0;
                for (int j = -r; j <= r; ++j)
                    sum += rows.row(y + j)[3 * x + c];
                out.row(y)[3 * x + c] = static_cast<std::uint8_t>(sum / n);
            }
    return out;
}

TEST(SoftenBitmap, WiderRadiusIsABoxMeanThatKeepsTheBorder) {
    std::mt19937 random(5);
    for (auto [width, height, radius] :
         {std::tuple{19, 13, 2}, std::tuple{9, 9, 4}, std::tuple{40, 23, 3}, std::tuple{8, 30, 4}}) {
        Bitmap frame(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width * 3; ++x)
                frame.row(y)[x] = static_cast<std::uint8_t>(random());
        const Bitmap expected =
            2 * radius + 1 <= std::min(width, height) ? boxByTheBook(frame, radius) : frame;
        SoftenBitmap(frame, radius);
        EXPECT_EQ(frame, expected) << width << "x" << height << " radius " << radius;
    }
    // Radius 1 is the original in-place softening.
    Bitmap a(12, 10), b(12, 10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 36; ++x)
            a.row(y)[x] = b.row(y)[x] = static_cast<std::uint8_t>(random());
    SoftenBitmap(a, 1);
    SoftenBitmap(b);
    EXPECT_EQ(a, b);
}

} // namespace
} // namespace vistello::production
