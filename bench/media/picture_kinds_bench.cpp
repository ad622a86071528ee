// Importing the added picture kinds and huge pictures.
//
// BM_Import12MegapixelHeic: ConvertPictureToJpeg of a 4000 × 3000 HEIC (made by heif-enc)
// against the command-line way to the same album file, `heif-convert` to PNG then
// `pngtopnm | cjpeg -quality 90 -baseline` (cjpeg reads no PNG), in the same run, as a
// ratio of processor time (goal: at most 1.0); also against heif-convert writing the JPEG
// itself at quality 90, the shortest way the tools have.
//
// BM_ImportHugeJpeg: a 65000 × 36563 baseline JPEG (written row by row) imported in a child
// process: its wall and processor time and its peak resident memory (goal: at most 1 GB).

#include "import_costs.h"

#include "media/message_sink.h"
#include "media/picture_import.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vistello::media;
using namespace vistello::media::bench;

namespace {

std::string quoted(const QString& path) {
    std::string text(1, '\'');
    text += path.toStdString();
    text += '\'';
    return text;
}

void BM_Import12MegapixelHeic(benchmark::State& state) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("source.png"));
    const QString heic = dir.filePath(QStringLiteral("source.heic"));
    if (!photoLike(4000, 3000).save(png) ||
        std::system(("heif-enc -q 90 " + quoted(png) + " -o " + quoted(heic) + " > /dev/null").c_str()) !=
            0) {
        state.SkipWithError("heif-enc could not make the HEIC file");
        return;
    }
    const QString destination = dir.filePath(QStringLiteral("P0.jpg"));
    const std::string viaPng = "heif-convert --quiet " + quoted(heic) + " " +
                               quoted(dir.filePath("tools.png")) + " && pngtopnm " +
                               quoted(dir.filePath("tools.png")) + " | cjpeg -quality 90 -baseline > " +
                               quoted(dir.filePath("tools.jpg"));
    const std::string direct = "heif-convert --quiet -q 90 " + quoted(heic) + " " +
                               quoted(dir.filePath("direct.jpg")) + " > /dev/null";
    MessageList messages;
    Cost ours, tools, shortest;
    for (auto _ : state) {
        const Cost own = costOf(RUSAGE_SELF, [&] {
            benchmark::DoNotOptimize(ConvertPictureToJpeg(heic, destination, messages));
        });
        const Cost pipe =
            costOf(RUSAGE_CHILDREN, [&] { benchmark::DoNotOptimize(std::system(viaPng.c_str())); });
        const Cost one =
            costOf(RUSAGE_CHILDREN, [&] { benchmark::DoNotOptimize(std::system(direct.c_str())); });
        ours.wall += own.wall, ours.processor += own.processor;
        tools.wall += pipe.wall, tools.processor += pipe.processor;
        shortest.wall += one.wall, shortest.processor += one.processor;
        state.SetIterationTime(own.processor);
    }
    if (!QImageReader(destination).size().isValid()) {
        state.SkipWithError("the import wrote no picture");
        return;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["import_cpu_ms"] = 1000 * ours.processor / n;
    state.counters["tools_cpu_ms"] = 1000 * tools.processor / n;
    state.counters["ratio_cpu"] = ours.processor / tools.processor;
    state.counters["ratio_wall"] = ours.wall / tools.wall;
    state.counters["direct_cpu_ms"] = 1000 * shortest.processor / n;
    state.counters["ratio_cpu_direct"] = ours.processor / shortest.processor;
}
BENCHMARK(BM_Import12MegapixelHeic)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// Gentle ramps that change every 256 rows: a small file for its size, like a sky panorama.
bool writeHugeJpeg(const QString& path, int width, int height) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(QFile::encodeName(path).constData(), "wb"),
                                               std::fclose);
    if (!file)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file.get());
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(std::size_t(width) * 3);
    for (int y = 0; y < height; ++y) {
        if (y % 256 == 0)
            for (int x = 0; x < width; ++x) {
                row[3 * std::size_t(x)] = static_cast<JSAMPLE>(std::int64_t{x} * 255 / width);
                row[3 * std::size_t(x) + 1] = static_cast<JSAMPLE>(std::int64_t{y} * 255 / height);
                row[3 * std::size_t(x) + 2] = static_cast<JSAMPLE>(x / 512 % 2 ? 180 : 90);
            }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

void BM_ImportHugeJpeg(benchmark::State& state) {
    QTemporaryDir dir;
    constexpr int width = 65000, height = 36563;
    const QString source = dir.filePath(QStringLiteral("panorama.jpg"));
    if (!writeHugeJpeg(source, width, height)) {
        state.SkipWithError("cannot write the panorama");
        return;
    }
    const QString destination = dir.filePath(QStringLiteral("P0.jpg"));
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            MessageList messages;
            _exit(ConvertPictureToJpeg(source, destination, messages) ? 0 : 1);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(wall);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the import failed");
            return;
        }
        state.counters["import_wall_s"] = wall;
        state.counters["import_cpu_s"] = seconds(usage.ru_utime) + seconds(usage.ru_stime);
        state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
    }
    const QSize stored = QImageReader(destination).size();
    state.counters["stored_width"] = stored.width();
    state.counters["stored_height"] = stored.height();
    state.counters["source_mb"] = static_cast<double>(QFile(source).size()) / (1024.0 * 1024.0);
}
BENCHMARK(BM_ImportHugeJpeg)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
