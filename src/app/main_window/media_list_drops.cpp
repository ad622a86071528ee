#include "app/main_window/media_list_drops.h"

#include "app/application/guarded.h"
#include "app/main_window/list_drops.h"
#include "app/main_window/list_models.h"
#include "app/main_window/media_lists_controller.h"
#include "media/added_picture_kinds.h"

#include <QStackedWidget>
#include <QTableView>

namespace vistello::app {

namespace {

// The kinds of the picture open dialog, and of the song open dialog.
QStringList pictureExtensions() {
    return QStringList{QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("bmp"),
                       QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("ico"),
                       QStringLiteral("emf"), QStringLiteral("wmf")} +
           media::addedPictureExtensions();
}

} // namespace

void installMediaListDrops(MediaListsController& lists, store::AlbumStore& store, UserDialogs& dialogs,
                           const MediaListControls& controls, StoreListModel& pictures, StoreListModel& songs,
                           QWidget* window) {
    pictures.allowRowDrags(QStringLiteral("LvwP"));
    songs.allowRowDrags(QStringLiteral("LvwM"));
    auto albumOpen = [&store] { return store.AlbumIndex >= 0; };
    // Dropped files of nothing but other kinds are said to be skipped; no import is started.
    auto nothingToImport = [&dialogs, window](int skipped, const QString& what) {
        dialogs.showMessage(window, QStringLiteral("提示"),
                            QStringLiteral("拖入的%1个文件都不是%2，没有导入。").arg(skipped).arg(what),
                            MessageIcon::Information);
    };
    // A drop is handled inside the list's event filter: each action is guarded like a click.
    auto importPictures = [&lists, &dialogs, window, nothingToImport](const DroppedFiles& dropped) {
        if (dropped.files.isEmpty() && dropped.skipped > 0)
            nothingToImport(dropped.skipped, QStringLiteral("图片"));
        guarded(window, dialogs, [&] { lists.addPictures(dropped.files, dropped.skipped); });
    };
    auto importSongs = [&lists, &dialogs, window, nothingToImport](const DroppedFiles& dropped) {
        if (dropped.files.isEmpty() && dropped.skipped > 0)
            nothingToImport(dropped.skipped, QStringLiteral("MP3音乐"));
        guarded(window, dialogs, [&] { lists.addSongs(dropped.files, dropped.skipped); });
    };
    auto moveRow = [&lists, &dialogs, window](store::MediaList list) {
        return [&lists, &dialogs, window, list](int from, int to) {
            guarded(window, dialogs, [&] { lists.moveRowTo(list, from, to); });
        };
    };
    new ListDropTarget(controls.LvwP, QStringLiteral("LvwP"), pictureExtensions(),
                       {albumOpen, importPictures, moveRow(store::MediaList::Pictures)});
    new ListDropTarget(controls.LvwM, QStringLiteral("LvwM"), {QStringLiteral("mp3")},
                       {albumOpen, importSongs, moveRow(store::MediaList::Songs)});
    QStackedWidget* notebook = controls.NotebookList;
    new FileDropArea(notebook, albumOpen, [notebook, importPictures, importSongs](const QList<QUrl>& urls) {
        if (notebook->currentIndex() == 0)
            importPictures(collectDroppedFiles(urls, pictureExtensions()));
        else
            importSongs(collectDroppedFiles(urls, {QStringLiteral("mp3")}));
    });
}

} // namespace vistello::app
