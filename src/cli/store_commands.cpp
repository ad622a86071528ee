// Subcommands over the album store: albums, show, new-album, delete-album.

#include "cli/cli.h"
#include "cli/cli_texts.h"
#include "effects/effect_names.h"
#include "store/album_names.h"
#include "store/album_operations.h"
#include "store/album_store.h"
#include "store/picture_motion.h"
#include "texts/name_notices.h"

#include <QJsonArray>
#include <QJsonObject>

namespace vistello::cli {

namespace {

QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Index of the album whose (trimmed) name is `name`, or -1.
int findAlbum(const store::AlbumStore& albums, const std::string& name) {
    const std::string wanted = store::trimName(name);
    for (int i = 0; i < albums.AlbumCount(); ++i)
        if (albums.albumFolderName(i) == wanted)
            return i;
    return -1;
}

} // namespace

int openNamedAlbum(store::AlbumStore& albums, const std::string& name) {
    albums.LoadInfo("A");
    const int index = findAlbum(albums, name);
    if (index < 0) {
        printMessage("no album named \"" + name + "\"");
        return -1;
    }
    albums.openAlbum(index);
    return index;
}

int openAlbumForImport(store::AlbumStore& albums, const std::string& name) {
    const int index = openNamedAlbum(albums, name);
    if (index >= 0 && (albums.AlbumPath().empty() || !std::filesystem::is_directory(albums.AlbumPath()))) {
        printMessage("album \"" + name + "\" has no folder");
        return -1;
    }
    return index;
}

QJsonObject pictureJson(const store::TPicInfo& p) {
    return QJsonObject{{"StayTime", p.StayTime},
                       {"Effect", p.Effect},
                       {"EffectName", qs(std::string(effects::EffectName(p.Effect)))},
                       {"Title", qs(p.Title.text())},
                       {"Remark", qs(p.Remark.text())},
                       {"FileName", qs(p.FileName.text())}};
}

QJsonObject songJson(const store::TMusicInfo& m) {
    return QJsonObject{{"PlayTime", m.PlayTime},
                       {"FileName", qs(m.FileName.text())},
                       {"SongName", qs(m.SongName.text())},
                       {"Singer", qs(m.Singer.text())},
                       {"Remark", qs(m.Remark.text())}};
}

int runAlbums(Context& context) {
    if (!context.args.empty())
        return usageError(commandNamed("albums"));
    store::AlbumStore albums(context.root);
    albums.LoadInfo("A");
    QJsonArray names;
    for (int i = 0; i < albums.AlbumCount(); ++i)
        names.append(qs(albums.albumName(i)));
    printJson(names);
    return kExitOk;
}

int runShow(Context& context) {
    if (context.args.size() != 1)
        return usageError(commandNamed("show"));
    store::AlbumStore albums(context.root);
    const int index = openNamedAlbum(albums, context.args[0]);
    if (index < 0)
        return kExitFailure;
    // A missing or damaged Motion file shows every picture without motion.
    const store::MotionTable motions = store::MotionTable::load(albums.AlbumPath());
    QJsonArray pictures, songs;
    for (const auto& p : albums.PicList)
        pictures.append(pictureJson(p, motions.get(p.FileName.gbk())));
    for (const auto& m : albums.MusicList)
        songs.append(songJson(m));
    printJson(QJsonObject{{"album", qs(albums.albumName(index))}, {"pictures", pictures}, {"songs", songs}});
    return kExitOk;
}

int runNewAlbum(Context& context) {
    if (context.args.size() != 1)
        return usageError(commandNamed("new-album"));
    store::AlbumStore albums(context.root);
    albums.LoadInfo("A");
    const store::NewNameCheck check = store::checkNewAlbumName(albums, context.args[0]);
    if (check != store::NewNameCheck::Available) {
        printMessage(texts::newNameNotice(check));
        return kExitFailure;
    }
    // A name too long for its record is cut; say so, as the album dialog does.
    if (const std::string shortened = store::shortenedAlbumName(context.args[0]); !shortened.empty())
        printMessage(texts::shortenedNameNotice(shortened));
    const std::string name = store::createAlbum(albums, context.args[0]);
    printJson(QJsonObject{{"album", qs(name)}});
    return kExitOk;
}

int runDeleteAlbum(Context& context) {
    if (context.args.size() != 1)
        return usageError(commandNamed("delete-album"));
    store::AlbumStore albums(context.root);
    const int index = openNamedAlbum(albums, context.args[0]);
    if (index < 0)
        return kExitFailure;
    albums.AlbumIndex = index;
    store::deleteCurrentAlbum(albums);
    printJson(QJsonObject{{"deleted", qs(context.args[0])}});
    return kExitOk;
}

} // namespace vistello::cli
