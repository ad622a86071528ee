// The row copies between QImage and Bitmap.

#include "media/bitmap_bridge.h"

#include <gtest/gtest.h>

using namespace vistello;

TEST(BitmapBridge, RowCopiesKeepEveryPixel) {
    // An odd width makes the rows padded, in both layouts.
    QImage image(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            image.setPixelColor(x, y, QColor(x * 50, y * 80, 255 - x * 40));
    const effects::Bitmap bitmap = media::bitmapFromImage(image);
    EXPECT_EQ(bitmap.width(), 5);
    EXPECT_EQ(bitmap.height(), 3);
    const effects::Bgr corner = bitmap.pixel(4, 2);
    EXPECT_EQ(int(corner.r), 200);
    EXPECT_EQ(int(corner.g), 160);
    EXPECT_EQ(int(corner.b), 95);
    const QImage back = media::imageFromBitmap(bitmap);
    EXPECT_EQ(back, image.convertToFormat(QImage::Format_BGR888));
    EXPECT_TRUE(media::bitmapFromImage(QImage()).isEmpty());
    EXPECT_TRUE(media::imageFromBitmap(effects::Bitmap()).isNull());
}
