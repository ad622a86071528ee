// The hand-over to the encoder as moving pictures use it: frames at the stored size are
// converted with the colours and the filtered chroma of the scaled ones, beside frames of the
// compose size; and titles written on them are squeezed like the picture.

#include "production/bgr_to_yuv.h"
#include "production/frame_pipeline.h"
#include "production/mcl_objects.h"
#include "production_fixture.h"

#include <QColor>

#include <cstdlib>

namespace vistello::production {
namespace {

QImage uniform(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_BGR888);
    image.fill(colour);
    return image;
}

ffmpeg::FramePtr yuvFrame(const VideoFormat& format) {
    ffmpeg::FramePtr frame(av_frame_alloc());
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = format.codedWidth;
    frame->height = format.codedHeight;
    EXPECT_GE(av_frame_get_buffer(frame.get(), 0), 0);
    return frame;
}

// The value of `plane` at (x, y) of the picture area (chroma planes at half size).
int valueAt(const AVFrame* frame, int plane, int x, int y) {
    return frame->data[plane][y * frame->linesize[plane] + x];
}

// The formats whose frames are composed with square pixels at another width than they store.
bool squeezes(const VideoFormat& format) {
    return format.composeWidth != format.pictureWidth && format.composeHeight == format.codedHeight;
}

TEST(FramePipeline, StoredSizeFramesHaveTheColoursOfScaledOnes) {
    const QColor colours[] = {Qt::black, Qt::white, QColor(200, 100, 10), QColor(20, 180, 240)};
    for (const VideoFormat& format : videoFormats()) {
        if (!squeezes(format))
            continue;
        SCOPED_TRACE(format.name);
        YuvConverter converter(format);
        ffmpeg::FramePtr scaled = yuvFrame(format), stored = yuvFrame(format);
        const int left = format.pictureLeft, width = format.pictureWidth, height = format.codedHeight;
        for (const QColor& colour : colours) {
            SCOPED_TRACE(colour.name().toStdString());
            // The two sizes alternate, as they do where a still picture meets a moving one.
            converter.convert(uniform(format.composeWidth, format.composeHeight, colour), scaled.get());
            converter.convert(uniform(width, height, colour), stored.get());
            // Inside the picture: near the right edge of a compose width that is odd (349, 853)
            // the scaled frames' chroma takes in a few values from past the edge.
            for (const auto& [x, y] : {std::pair{0, 0}, {width / 4, height / 4}, {width / 2, height - 2}})
                for (int plane = 0; plane < 3; ++plane) {
                    const int px = plane == 0 ? left + x : (left + x) / 2, py = plane == 0 ? y : y / 2;
                    EXPECT_NEAR(valueAt(stored.get(), plane, px, py), valueAt(scaled.get(), plane, px, py), 1)
                        << "plane " << plane << " at " << x << ", " << y;
                }
        }
    }
}

TEST(FramePipeline, StoredSizeChromaIsTheMeanOfEachBlock) {
    // Red and blue pixels in a checkerboard: every 2 × 2 block holds two of each, so its chroma
    // is that of their mean (a purple), not of one of its pixels.
    const VideoFormat& format = videoFormat("dvd");
    const int width = format.pictureWidth, height = format.codedHeight;
    QImage board(width, height, QImage::Format_BGR888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            board.setPixelColor(x, y, (x + y) % 2 ? QColor(255, 0, 0) : QColor(0, 0, 255));
    YuvConverter converter(format);
    ffmpeg::FramePtr frame = yuvFrame(format), mean = yuvFrame(format);
    converter.convert(board, frame.get());
    converter.convert(uniform(width, height, QColor(128, 0, 128)), mean.get());
    for (const auto& [x, y] : {std::pair{0, 0}, {100, 50}, {width / 2 - 1, height / 2 - 1}})
        for (int plane = 1; plane <= 2; ++plane)
            EXPECT_NEAR(valueAt(frame.get(), plane, x, y), valueAt(mean.get(), plane, x, y), 2)
                << "plane " << plane << " at " << x << ", " << y;
}

TEST(FramePipeline, ColourConversionGivesTheSameValuesOnEveryProcessor) {
    // Random pixels (every value, every mix) at sizes with and without a whole number of
    // 16-pixel runs, and odd ones, in both matrices: the vector loop against the plain one.
    std::srand(7);
    for (const auto& [width, height] : {std::pair{720, 576}, {33, 5}, {16, 2}, {7, 3}, {1, 1}})
        for (const ColourMatrix matrix : {ColourMatrix::Bt601, ColourMatrix::Bt709}) {
            SCOPED_TRACE(::testing::Message() << width << " x " << height);
            QImage image(width, height, QImage::Format_BGR888);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < 3 * width; ++x)
                    image.scanLine(y)[x] = static_cast<uchar>(std::rand());
            const int chromaWidth = (width + 1) / 2, chromaHeight = (height + 1) / 2;
            std::vector<std::uint8_t> fast(width * height + 2 * chromaWidth * chromaHeight, 1);
            std::vector<std::uint8_t> plain(fast.size(), 2);
            const auto planesOf = [&](std::vector<std::uint8_t>& bytes) {
                std::uint8_t* u = bytes.data() + width * height;
                return YuvPlanes{{bytes.data(), u, u + chromaWidth * chromaHeight},
                                 {width, chromaWidth, chromaWidth}};
            };
            bgrToYuv420(image.constBits(), static_cast<int>(image.bytesPerLine()), width, height, matrix,
                        planesOf(fast));
            bgrToYuv420Plain(image.constBits(), static_cast<int>(image.bytesPerLine()), width, height, matrix,
                             planesOf(plain));
            EXPECT_EQ(fast, plain);
        }
}

// The bounding box of the pixels a title changed.
QRect changedBox(const QImage& before, const QImage& after) {
    QRect box;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y))
                box |= QRect(x, y, 1, 1);
    return box;
}

TEST(FramePipeline, TitlesOnStoredSizeFramesAreSqueezedLikeThePicture) {
    Text title;
    title.SetFont(QStringLiteral("宋体"), 36, 1, 1);
    title.SetColor(QColor(225, 225, 225), QColor(96, 96, 96), 8421504, -1);
    title.Shadow(2, 1, 1);
    const QString text = QStringLiteral("标题 Title");
    // The title as it is written on a frame of the compose size, then scaled as the scaler
    // would, against the title written squeezed on a frame of the stored size.
    const QImage grey = uniform(768, 576, QColor(40, 60, 80));
    Image composed;
    composed.setImage(grey);
    composed.ImgText(title, 30, 500, text);
    const QImage scaled = composed.image().scaled(720, 576, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Image stored;
    stored.setImage(uniform(720, 576, QColor(40, 60, 80)));
    stored.ImgText(title, 30, 500, text, 720.0 / 768);

    const QRect wide = changedBox(grey, composed.image());
    const QRect narrow = changedBox(uniform(720, 576, QColor(40, 60, 80)), stored.image());
    ASSERT_FALSE(wide.isEmpty());
    EXPECT_NEAR(narrow.left(), wide.left() * 720.0 / 768, 1.5);
    EXPECT_NEAR(narrow.right() + 1, (wide.right() + 1) * 720.0 / 768, 1.5);
    EXPECT_EQ(narrow.top(), wide.top());
    EXPECT_EQ(narrow.bottom(), wide.bottom());
    // Pixel by pixel the two differ only by the scaler's smoothing of the glyphs' edges.
    double difference = 0;
    for (int y = narrow.top(); y <= narrow.bottom(); ++y)
        for (int x = narrow.left(); x <= narrow.right(); ++x)
            difference += std::abs(qGray(scaled.pixel(x, y)) - qGray(stored.image().pixel(x, y)));
    EXPECT_LT(difference / (narrow.width() * narrow.height()), 8.0);

    // Unsqueezed, the title is written as it always was.
    Image again;
    again.setImage(grey);
    again.ImgText(title, 30, 500, text, 1.0);
    EXPECT_TRUE(again.image() == composed.image());
}

} // namespace
} // namespace vistello::production

VISTELLO_GUI_TEST_MAIN
