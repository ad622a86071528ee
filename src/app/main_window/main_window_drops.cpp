// TFrmMain: files, folders and rows dropped onto the picture and song lists.

#include "app/main_window/main_window.h"

#include "app/application/user_dialogs.h"
#include "app/main_window/list_drops.h"
#include "app/main_window/list_models.h"
#include "app/main_window/list_views.h"
#include "app/main_window/undo_commands.h"
#include "media/added_picture_kinds.h"
#include "store/list_operations.h"

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

void TFrmMain::setUpDrops() {
    pictureModel_->allowRowDrags(QStringLiteral("LvwP"));
    songModel_->allowRowDrags(QStringLiteral("LvwM"));
    auto albumOpen = [this] { return store_.AlbumIndex >= 0; };
    // Dropped files of nothing but other kinds are said to be skipped; no import is started.
    auto nothingToImport = [this](int skipped, const QString& what) {
        dialogs_.showMessage(this, QStringLiteral("提示"),
                             QStringLiteral("拖入的%1个文件都不是%2，没有导入。").arg(skipped).arg(what),
                             MessageIcon::Information);
    };
    auto importPictures = [this, nothingToImport](const DroppedFiles& dropped) {
        if (dropped.files.isEmpty() && dropped.skipped > 0)
            nothingToImport(dropped.skipped, QStringLiteral("图片"));
        importPictureFiles(dropped.files, dropped.skipped);
        RefreshMain();
    };
    auto importSongs = [this, nothingToImport](const DroppedFiles& dropped) {
        if (dropped.files.isEmpty() && dropped.skipped > 0)
            nothingToImport(dropped.skipped, QStringLiteral("MP3音乐"));
        importSongFiles(dropped.files, dropped.skipped);
        RefreshMain();
    };
    new ListDropTarget(LvwP, QStringLiteral("LvwP"), pictureExtensions(),
                       {albumOpen, importPictures,
                        [this](int from, int to) { moveRowTo(store::MediaList::Pictures, from, to); }});
    new ListDropTarget(
        LvwM, QStringLiteral("LvwM"), {QStringLiteral("mp3")},
        {albumOpen, importSongs, [this](int from, int to) { moveRowTo(store::MediaList::Songs, from, to); }});
    // An empty list is disabled; its drops reach the notebook, for the page shown.
    new FileDropArea(NotebookList, albumOpen, [this, importPictures, importSongs](const QList<QUrl>& urls) {
        if (NotebookList->currentIndex() == 0)
            importPictures(collectDroppedFiles(urls, pictureExtensions()));
        else
            importSongs(collectDroppedFiles(urls, {QStringLiteral("mp3")}));
    });
}

void TFrmMain::moveRowTo(store::MediaList list, int from, int to) {
    const bool pictures = list == store::MediaList::Pictures;
    QTableView* view = pictures ? LvwP : LvwM;
    (pictures ? store_.PicIndex : store_.MusicIndex) = selectedRow(view);
    // One change, undone as the move buttons' are.
    const std::optional<store::ListSnapshot> moved = store::plannedMoveTo(store_, list, from, to);
    if (moved) {
        undo_->changeStore([&] { undo_->history().perform(store::ChangeKind::Move, *moved); });
        (pictures ? static_cast<StoreListModel*>(pictureModel_) : songModel_)->reset();
        selectRow(view, moved->index);
        ScrollToSelected(view);
    }
    RefreshMain();
}

} // namespace vistello::app
