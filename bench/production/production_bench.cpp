// Per-frame and per-picture costs of the render: softening a frame, composing a large picture
// into a frame, converting a frame to the encoder's YUV, and writing a title.

#include "production/compose.h"
#include "production/frame_pipeline.h"
#include "production/mcl_objects.h"
#include "production/video_format.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace vistello;

effects::Bitmap noiseBitmap(int width, int height) {
    effects::Bitmap bitmap(width, height);
    std::mt19937 random(1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            bitmap.row(y)[x] = static_cast<std::uint8_t>(random());
    return bitmap;
}

void SoftenDvdFrame(benchmark::State& state) {
    effects::Bitmap frame = noiseBitmap(720, 576);
    for (auto _ : state) {
        production::SoftenBitmap(frame);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(SoftenDvdFrame)->Unit(benchmark::kMillisecond);

void ComposeLargePictureIntoDvdFrame(benchmark::State& state) {
    QImage picture(4000, 3000, QImage::Format_BGR888);
    picture.fill(QColor(10, 120, 200));
    effects::Bitmap frame(720, 576);
    for (auto _ : state) {
        production::ComposePicture(picture, QImage(), 0, frame);
        benchmark::DoNotOptimize(frame.data());
    }
}
BENCHMARK(ComposeLargePictureIntoDvdFrame)->Unit(benchmark::kMillisecond);

void ConvertDvdFrameToYuv(benchmark::State& state) {
    // Composed at the square-pixel 768 × 576, scaled and converted into the stored 720 × 576.
    const production::VideoFormat& format = production::videoFormat("dvd");
    production::YuvConverter converter(format);
    QImage frame(format.composeWidth, format.composeHeight, QImage::Format_BGR888);
    frame.fill(QColor(10, 120, 200));
    ffmpeg::FramePtr yuv(av_frame_alloc());
    yuv->format = AV_PIX_FMT_YUV420P;
    yuv->width = 720;
    yuv->height = 576;
    av_frame_get_buffer(yuv.get(), 0);
    for (auto _ : state)
        converter.convert(frame, yuv.get());
}
BENCHMARK(ConvertDvdFrameToYuv)->Unit(benchmark::kMillisecond);

void WriteTitleOnDvdFrame(benchmark::State& state) {
    production::Text text;
    text.SetFont(QStringLiteral("宋体"), 36, 1, 1);
    text.SetColor(production::MclRGB(225, 225, 225), production::MclRGB(96, 96, 96), 8421504, -1);
    text.Shadow(2, 1, 1);
    production::Image image;
    QImage frame(720, 576, QImage::Format_BGR888);
    frame.fill(Qt::black);
    for (auto _ : state) {
        image.setImage(frame.copy());
        image.ImgText(text, 10, 530, QStringLiteral("春天的花园 Spring"));
    }
}
BENCHMARK(WriteTitleOnDvdFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // fonts for the titles
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
