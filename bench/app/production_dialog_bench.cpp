// What the production dialog adds to a render: the same DVD render of a short album, once
// through the dialog (status texts, the preview box repainted on every transition frame, pending
// events processed once per frame) and once through the production run alone with no window.
// The figure to watch is the dialog's time as a ratio of the run alone.

#include "app/production_dialog/production_dialog.h"
#include "production/production_run.h"
#include "store/album_operations.h"
#include "window_bench.h"

#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

using namespace vistello;

namespace {

// An album of four 1024 × 768 pictures of 2 seconds each with four transitions, and one
// 20-second song: 296 frames, 204 of them transition frames.
class BenchAlbum {
  public:
    BenchAlbum() : albums(folder.path().toStdString()) {
        albums.LoadInfo("A");
        store::createAlbum(albums, "bench");
        albums.AlbumIndex = 0;
        albums.openAlbum(0);
        const Qt::GlobalColor colours[] = {Qt::darkBlue, Qt::darkGreen, Qt::darkRed, Qt::darkYellow};
        const int transitions[] = {1, 63, 91, 105};
        for (int i = 0; i < 4; ++i) {
            store::TPicInfo picture;
            picture.StayTime = 2;
            picture.Effect = transitions[i];
            picture.Title.setText(QStringLiteral("Picture %1").arg(i + 1).toStdString());
            picture.FileName.setText(QStringLiteral("P%1.jpg").arg(i).toStdString());
            QImage image(1024, 768, QImage::Format_RGB32);
            image.fill(colours[i]);
            image.save(QString::fromStdString(albums.mediaFile(picture.FileName.gbk()).string()), "JPG");
            albums.PicList.push_back(picture);
        }
        const std::string song = albums.mediaFile("M0.mp3").string();
        const std::string command = "ffmpeg -v error -y -f lavfi -i sine=frequency=440:duration=20 -ac 2 "
                                    "-c:a libmp3lame -b:a 128k '" +
                                    song + "'";
        ready = std::system(command.c_str()) == 0;
        store::TMusicInfo music;
        music.PlayTime = 20;
        music.FileName.setText("M0.mp3");
        albums.MusicList.push_back(music);
        albums.SaveInfo("P");
        albums.SaveInfo("M");
    }

    QString output() const { return folder.filePath(QStringLiteral("bench.mpg")); }

    QTemporaryDir folder;
    store::AlbumStore albums;
    bool ready = false;
};

void dvdRunThroughTheDialog(benchmark::State& state) {
    BenchAlbum album;
    if (!album.ready) {
        state.SkipWithError("ffmpeg could not make the song");
        return;
    }
    bench::NoDialogs dialogs;
    dialogs.saveName = album.output();
    app::TFrmMake dialog(album.albums, dialogs);
    dialog.findChild<QToolButton*>(QStringLiteral("SpeedButton3"))->click();
    dialog.findChild<QAbstractButton*>(QStringLiteral("RGOutTypeDVD"))->click();
    dialog.show();
    auto* make = dialog.findChild<QPushButton*>(QStringLiteral("SbtnMake"));
    for (auto _ : state)
        make->click(); // the whole run and its result, answered No
}

void dvdRunAlone(benchmark::State& state) {
    BenchAlbum album;
    if (!album.ready) {
        state.SkipWithError("ffmpeg could not make the song");
        return;
    }
    production::ProductionSettings settings;
    settings.format = &production::videoFormat("dvd");
    settings.outputPath = album.output().toStdString();
    production::RunObserver quiet; // nothing shown, never stopped
    production::ProductionRun run(album.albums, quiet);
    for (auto _ : state)
        benchmark::DoNotOptimize(run.Start(settings));
}

} // namespace

BENCHMARK(dvdRunThroughTheDialog)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(dvdRunAlone)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    return bench::runWindowBenchmarks(argc, argv);
}
