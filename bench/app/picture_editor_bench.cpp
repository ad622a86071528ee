// One full transition preview of the picture editor, 24 effect steps and the final picture,
// driven tick by tick as the 50 ms timer does. The figure to watch is the time per tick, which
// must stay far below the timer's 50 ms for the preview to keep its pace.

#include "app/picture_editor/picture_editor.h"
#include "effects/engine/random_source.h"
#include "store/album_operations.h"
#include "window_bench.h"

#include <QImage>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace vistello;

namespace {

void previewTicks(benchmark::State& state) {
    const int effect = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    store::AlbumStore albums(folder.path().toStdString());
    albums.LoadInfo("A");
    store::createAlbum(albums, "bench");
    albums.openAlbum(0);
    for (int i = 0; i < 2; ++i) {
        store::TPicInfo picture;
        picture.StayTime = 3;
        picture.Effect = effect;
        picture.FileName.setText(QStringLiteral("P%1.jpg").arg(i).toStdString());
        albums.PicList.push_back(picture);
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(i == 0 ? Qt::darkBlue : Qt::yellow);
        image.save(QString::fromStdString(albums.mediaFile(picture.FileName.gbk()).string()), "JPG");
    }
    albums.SaveInfo("P");
    albums.PicIndex = 1;

    bench::NoDialogs dialogs;
    app::TFrmEditP editor(albums, dialogs);
    editor.setPreviewPause(std::chrono::milliseconds(0));
    effects::ClockRandom random(7);
    editor.setRandomSource(random);
    for (auto _ : state) {
        editor.BtnLookXGClick();
        for (int tick = 0; tick < 25; ++tick)
            editor.Timer1Timer();
    }
    // Seconds per tick, shown with an SI prefix (m = milliseconds).
    state.counters["s_per_tick"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 25,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

} // namespace

// Fade, a circular region, speckles (the most region rectangles) and the rotating star.
BENCHMARK(previewTicks)->Arg(1)->Arg(63)->Arg(91)->Arg(105)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return bench::runWindowBenchmarks(argc, argv);
}
