// Importing a camera-sized JPEG: ConvertPictureToJpeg (decode, baseline encode at quality 90,
// atomic write) against the libjpeg-turbo command-line pipeline `djpeg | cjpeg -quality 90
// -baseline` on the same file in the same run, reported as a ratio (goal: at most 1.0).
// Processor time is compared (wall time on a loaded machine measures the neighbours).
// A second benchmark measures the peak memory of importing a 50-megapixel JPEG in a child
// process, as a multiple of the full-size decoded picture's size (goal: at most 3); being
// 8660 pixels wide, it is decoded and stored at 7/8 of its size.

#include "import_costs.h"

#include "media/jpeg_codec.h"
#include "media/message_sink.h"
#include "media/picture_import.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vistello::media;
using namespace vistello::media::bench;

namespace {

QString writeSource(const QTemporaryDir& dir, int width, int height) {
    const QString path = dir.filePath(QStringLiteral("source_%1x%2.jpg").arg(width).arg(height));
    if (!QFile::exists(path)) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(encodeJpeg(photoLike(width, height), 92));
    }
    return path;
}

void BM_Import12MegapixelJpeg(benchmark::State& state) {
    QTemporaryDir dir;
    const QString source = writeSource(dir, 4000, 3000);
    const QString destination = dir.filePath(QStringLiteral("P0.jpg"));
    const std::string pipeline = "djpeg '" + source.toStdString() + "' | cjpeg -quality 90 -baseline > '" +
                                 dir.filePath(QStringLiteral("pipeline.jpg")).toStdString() + "'";
    MessageList messages;
    // On a shared machine wall time mostly measures the other processes, so processor time
    // (the pipeline's two programs and its shell together) is the figure compared.
    Cost ours, theirs;
    for (auto _ : state) {
        const Cost own = costOf(RUSAGE_SELF, [&] {
            benchmark::DoNotOptimize(ConvertPictureToJpeg(source, destination, messages));
        });
        const Cost pipe =
            costOf(RUSAGE_CHILDREN, [&] { benchmark::DoNotOptimize(std::system(pipeline.c_str())); });
        ours.wall += own.wall, ours.processor += own.processor;
        theirs.wall += pipe.wall, theirs.processor += pipe.processor;
        state.SetIterationTime(own.processor);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["import_cpu_ms"] = 1000 * ours.processor / n;
    state.counters["pipeline_cpu_ms"] = 1000 * theirs.processor / n;
    state.counters["ratio_cpu"] = ours.processor / theirs.processor;
    state.counters["import_wall_ms"] = 1000 * ours.wall / n;
    state.counters["pipeline_wall_ms"] = 1000 * theirs.wall / n;
    state.counters["ratio_wall"] = ours.wall / theirs.wall;
}
BENCHMARK(BM_Import12MegapixelJpeg)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// Peak resident memory added by one import, measured in a child so the figure is its own.
void BM_Import50MegapixelPeakMemory(benchmark::State& state) {
    QTemporaryDir dir;
    constexpr int width = 8660, height = 5774; // 50 megapixels
    const QString source = writeSource(dir, width, height);
    const QString destination = dir.filePath(QStringLiteral("P0.jpg"));
    const double decodedBytes = 3.0 * width * height;
    for (auto _ : state) {
        int pipe[2];
        if (::pipe(pipe) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        const pid_t child = fork();
        if (child == 0) {
            rusage before{}, after{};
            getrusage(RUSAGE_SELF, &before);
            MessageList messages;
            ConvertPictureToJpeg(source, destination, messages);
            getrusage(RUSAGE_SELF, &after);
            const long addedKb = after.ru_maxrss - before.ru_maxrss;
            [[maybe_unused]] const auto written = ::write(pipe[1], &addedKb, sizeof addedKb);
            _exit(0);
        }
        long addedKb = 0;
        [[maybe_unused]] const auto read = ::read(pipe[0], &addedKb, sizeof addedKb);
        ::close(pipe[0]);
        ::close(pipe[1]);
        waitpid(child, nullptr, 0);
        state.counters["peak_added_mb"] = addedKb / 1024.0;
        state.counters["peak_to_decoded"] = addedKb * 1024.0 / decodedBytes;
    }
}
BENCHMARK(BM_Import50MegapixelPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
