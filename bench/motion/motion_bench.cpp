// The motion's costs. The automatic motion of a 12-megapixel photo with a face (grey copy,
// face search, framing) is done once per picture and should take at most 150 ms; frames of a
// moving picture are rendered at the frame rate of every format (frames a second shown as
// items_per_second). CPU times of the face search count every thread OpenCV uses; on a loaded
// machine they, not the wall times, show the cost.

#include "motion/auto_framing.h"
#include "motion/face_finder.h"
#include "motion/framing_cache.h"
#include "motion/grey_copy.h"
#include "motion/motion_path.h"
#include "motion/motion_source.h"
#include "motion/saliency.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>

namespace {

using namespace vistello;

// A 4000 × 3000 picture of fine texture with the test photo's face, enlarged, off centre.
QImage twelveMegapixelPhoto() {
    QImage picture(4000, 3000, QImage::Format_BGR888);
    std::mt19937 random(1);
    for (int y = 0; y < picture.height(); ++y) {
        std::uint8_t* line = picture.scanLine(y);
        for (int x = 0; x < 3 * picture.width(); ++x)
            line[x] = static_cast<std::uint8_t>(80 + (x / 3 + y) / 60 + random() % 32);
    }
    const QImage face = QImage(QStringLiteral(VISTELLO_TEST_DATA "/astronaut_face.jpg"))
                            .convertToFormat(QImage::Format_BGR888);
    QPainter painter(&picture);
    painter.drawImage(QRect(2300, 600, 1400, 1400), face);
    return picture;
}

const QImage& photo() {
    static const QImage picture = twelveMegapixelPhoto();
    return picture;
}

void LoadFaceCascade(benchmark::State& state) {
    for (auto _ : state) {
        motion::CascadeFaceFinder finder;
        benchmark::DoNotOptimize(finder.available());
    }
}
BENCHMARK(LoadFaceCascade)->Unit(benchmark::kMillisecond);

void GreyCopyOf12Megapixels(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(motion::greyCopy(photo()));
}
BENCHMARK(GreyCopyOf12Megapixels)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void FindFacesInGreyCopy(benchmark::State& state) {
    const motion::CascadeFaceFinder finder;
    const QImage grey = motion::greyCopy(photo());
    std::size_t faces = 0;
    for (auto _ : state)
        faces = finder.findFaces(grey).size();
    state.counters["faces"] = static_cast<double>(faces);
}
BENCHMARK(FindFacesInGreyCopy)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void SaliencyOfGreyCopy(benchmark::State& state) {
    const QImage grey = motion::greyCopy(photo());
    for (auto _ : state) {
        const motion::SaliencyMap map = motion::saliencyMap(grey);
        benchmark::DoNotOptimize(motion::mostSalientWindow(map, 0.4, 0.4));
    }
}
BENCHMARK(SaliencyOfGreyCopy)->Unit(benchmark::kMillisecond);

// The whole choice, the figure with the 150 ms goal; the cascade is loaded once beforehand,
// as a render does for all its pictures.
void AutomaticMotionOf12MegapixelPhoto(benchmark::State& state) {
    const motion::CascadeFaceFinder finder;
    for (auto _ : state)
        benchmark::DoNotOptimize(motion::chooseAutomaticMotion(photo(), 16.0 / 9, 5, &finder));
    state.counters["goal_ms"] = 150;
}
BENCHMARK(AutomaticMotionOf12MegapixelPhoto)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// What every render after the first pays instead: the picture file's key (its size and time)
// and the choice kept for it in the album folder, among the choices of a 12-picture album.
void KeptAutomaticMotion(benchmark::State& state) {
    QTemporaryDir folder;
    const std::filesystem::path album = folder.path().toStdString();
    const std::filesystem::path picture = album / "P11.jpg";
    photo().save(QString::fromStdString(picture.string()), "JPEG", 90);
    motion::FramingCache cache(album);
    const motion::CascadeFaceFinder finder;
    const motion::MotionPath chosen = motion::chooseAutomaticMotion(photo(), 16.0 / 9, 5, &finder);
    for (int i = 0; i < 12; ++i) {
        auto key = motion::framingKeyOf(picture, "P" + std::to_string(i) + ".jpg", 16.0 / 9, 5, "cascade");
        cache.store(*key, chosen);
    }
    std::size_t found = 0;
    for (auto _ : state) {
        const motion::FramingCache kept(album); // a render reads the file once
        found += kept.find(*motion::framingKeyOf(picture, "P11.jpg", 16.0 / 9, 5, "cascade")).has_value();
    }
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}
BENCHMARK(KeptAutomaticMotion)->Unit(benchmark::kMicrosecond);

void AutomaticMotionWithoutFaces(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(motion::chooseAutomaticMotion(photo(), 16.0 / 9, 5, nullptr));
}
BENCHMARK(AutomaticMotionWithoutFaces)->Unit(benchmark::kMillisecond);

// Copying the photo once at the size a 1920 × 1080 frame needs for a 20 % zoom.
void PrepareSourceFor1080p(benchmark::State& state) {
    const store::MotionRect smallest{0.1, 0.1, 0.8 / 1.2 * 1.0, 0.8 / 1.2 * 0.75};
    const motion::SourceSize size = motion::suitedSourceSize(4000, 3000, 1920, 1080, smallest);
    for (auto _ : state)
        benchmark::DoNotOptimize(motion::MotionSource(photo(), size).levelCount());
}
BENCHMARK(PrepareSourceFor1080p)->Unit(benchmark::kMillisecond);

// One frame of a zoom and pan at the given frame size; each iteration the next frame of a
// 5-second way at 25 frames a second.
void RenderMovingFrame(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const double aspect = static_cast<double>(width) / height;
    const store::MotionRect large = motion::largestRect(4000, 3000, aspect);
    const store::MotionRect small{large.x + 0.05, large.y + 0.04, large.width / 1.2, large.height / 1.2};
    const motion::MotionSource source(photo(), motion::suitedSourceSize(4000, 3000, width, height, small));
    effects::Bitmap frame(width, height);
    int index = 0;
    for (auto _ : state) {
        source.render(motion::rectAt(large, small, store::Easing::Linear, (index++ % 125) / 124.0), frame);
        benchmark::DoNotOptimize(frame.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(RenderMovingFrame)
    ->Args({1920, 1080})
    ->Args({720, 576})
    ->Args({768, 576})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv); // QPainter on images needs the font machinery
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
