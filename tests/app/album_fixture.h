#pragma once
// Builds album stores in temporary folders for window tests.

#include "store/album_operations.h"
#include "store/album_store.h"

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <string>

namespace vistello::app::testing {

struct AlbumContents {
    std::string name;
    int pictures = 0;
    int songs = 0;
};

// Creates the albums in `root` with numbered media files P<i>.jpg and M<i>.mp3 on disk.
inline void makeAlbums(const QString& root, std::initializer_list<AlbumContents> albums) {
    store::AlbumStore s(root.toStdString());
    s.LoadInfo("A");
    for (const AlbumContents& album : albums) {
        store::createAlbum(s, album.name);
        s.AlbumIndex = s.AlbumCount() - 1;
        s.openAlbum(s.AlbumIndex);
        for (int i = 0; i < album.pictures; ++i) {
            store::TPicInfo p;
            p.StayTime = i + 1;
            p.FileName.setText("P" + std::to_string(i) + ".jpg");
            p.Title.setText("图" + std::to_string(i));
            s.PicList.push_back(p);
            // A small real JPEG, wider than high, so the preview can show it.
            QImage picture(40 + 10 * i, 30, QImage::Format_RGB888);
            picture.fill(QColor::fromHsv((i * 60) % 360, 200, 220));
            picture.save(QString::fromStdString((s.AlbumPath() / p.FileName.text()).string()), "JPG");
        }
        for (int i = 0; i < album.songs; ++i) {
            store::TMusicInfo m;
            m.PlayTime = 100 + i;
            m.FileName.setText("M" + std::to_string(i) + ".mp3");
            s.MusicList.push_back(m);
            QFile f(QString::fromStdString((s.AlbumPath() / m.FileName.text()).string()));
            f.open(QIODevice::WriteOnly);
        }
        s.SaveInfo("P");
        s.SaveInfo("M");
    }
}

} // namespace vistello::app::testing
