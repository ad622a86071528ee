// The main window's handlers for albums and for the picture and song lists.

#include "app/main_window/main_window.h"

#include "app/album_dialog/add_album_dialog.h"
#include "app/application/ui_texts.h"
#include "app/import/add_music_dialog.h"
#include "app/import/add_picture_dialog.h"
#include "app/import/picture_order_dialog.h"
#include "app/main_window/list_models.h"
#include "app/main_window/list_views.h"
#include "app/picture_editor/picture_editor.h"
#include "app/production_dialog/production_dialog.h"
#include "store/album_operations.h"

#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTableView>

namespace vistello::app {

int TFrmMain::selectedRow(const QTableView* view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void TFrmMain::selectRow(QTableView* view, int row) {
    const QSignalBlocker blocker(view->selectionModel());
    if (row < 0 || row >= view->model()->rowCount()) {
        view->selectionModel()->clearSelection();
    } else {
        view->selectionModel()->setCurrentIndex(
            view->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    view->viewport()->update();
}

store::MediaList TFrmMain::currentList() const {
    return listTag_ == 1 ? store::MediaList::Songs : store::MediaList::Pictures;
}

int& TFrmMain::currentIndex() {
    return listTag_ == 1 ? store_.MusicIndex : store_.PicIndex;
}

QTableView* TFrmMain::currentListView() const {
    return listTag_ == 1 ? LvwM : LvwP;
}

void TFrmMain::SbtNewAblmClick() {
    const store::ListSnapshot albumsBefore = store::captureList(store_, store::ListKind::Albums);
    TFrmAddA dialog(store_, this);
    dialogs_.runModal(dialog);
    if (!dialog.createdAlbum())
        return;
    changeStore([&] {
        store_.LoadInfo("A");
        history_.recordCreatedAlbums(albumsBefore);
    });
    FillAlbumList();
    if (albumModel_->rowCount() > 0) {
        selectRow(LvwA, albumModel_->rowCount() - 1);
        store_.AlbumIndex = albumModel_->rowCount() - 1;
    }
    const int selected = selectedRow(LvwA);
    if (selected >= 0)
        OpenAlbum(selected);
    else
        RefreshMain();
}

void TFrmMain::SbtDelAClick() {
    if (store_.AlbumIndex < 0)
        return;
    const QString question = deleteAlbumQuestion(store_.PicCount(), store_.MusicCount());
    if (!question.isEmpty() &&
        !dialogs_.askYesNo(this, QStringLiteral("提示"), question, MessageIcon::Information))
        return;
    const std::optional<store::ListSnapshot> shorter = store::plannedAlbumDeletion(store_);
    if (!shorter)
        return;
    changeStore([&] { history_.perform(store::ChangeKind::DeleteAlbum, *shorter); });
    FillAlbumList();
    selectRow(LvwA, store_.AlbumIndex);
    if (selectedRow(LvwA) >= 0) {
        OpenAlbum(store_.AlbumIndex);
    } else {
        FillPicList();
        FillMusicList();
        RefreshMain();
    }
}

void TFrmMain::moveCurrent(store::MoveDirection direction) {
    QTableView* view = currentListView();
    currentIndex() = selectedRow(view);
    const std::optional<store::ListSnapshot> moved =
        store::plannedMove(store_, currentList(), selectedRow(view), direction);
    if (moved)
        changeStore([&] { history_.perform(store::ChangeKind::Move, *moved); });
    const std::optional<int> target = moved ? std::optional<int>(moved->index) : std::nullopt;
    if (target) {
        (listTag_ == 1 ? static_cast<StoreListModel*>(songModel_) : pictureModel_)->reset();
        selectRow(view, *target);
        ScrollToSelected(view);
    }
    RefreshMain();
}

void TFrmMain::BtnUPClick() {
    moveCurrent(store::MoveDirection::Up);
}

void TFrmMain::BtnDPClick() {
    moveCurrent(store::MoveDirection::Down);
}

void TFrmMain::BtnDelOPClick() {
    QTableView* view = currentListView();
    currentIndex() = selectedRow(view);
    const std::optional<store::ListSnapshot> shorter =
        store::plannedDelete(store_, currentList(), selectedRow(view));
    if (shorter)
        changeStore([&] { history_.perform(store::ChangeKind::Delete, *shorter); });
    const std::optional<int> current = shorter ? std::optional<int>(shorter->index) : std::nullopt;
    if (current) {
        (listTag_ == 1 ? static_cast<StoreListModel*>(songModel_) : pictureModel_)->reset();
        selectRow(view, *current);
        if (listTag_ == 0 && *current >= 0)
            ScrollToSelected(view);
    }
    RefreshMain();
}

void TFrmMain::BtnDelAPClick() {
    const int count = currentList() == store::MediaList::Pictures ? store_.PicCount() : store_.MusicCount();
    if (!dialogs_.askYesNo(this, QStringLiteral("提示"), deleteAllQuestion(currentList(), count),
                           MessageIcon::Question))
        return;
    changeStore([&] {
        history_.perform(store::ChangeKind::DeleteAll, store::plannedDeleteAll(store_, currentList()));
    });
    (listTag_ == 1 ? static_cast<StoreListModel*>(songModel_) : pictureModel_)->reset();
    RefreshMain();
}

void TFrmMain::BtnEditPClick() {
    // The picture editor needs a current picture; with none selected the button does nothing.
    if (listTag_ != 0 || selectedRow(LvwP) < 0)
        return;
    store_.PicIndex = selectedRow(LvwP);
    if (!TFrmEditP::canEdit(store_))
        return;
    TFrmEditP dialog(store_, dialogs_, this);
    connect(&dialog, &TFrmEditP::pictureRowChanged, pictureModel_, &PictureListModel::rowChanged);
    connect(&dialog, &TFrmEditP::timeTextAppliedToAll, pictureModel_, [this](const QString& typed) {
        for (int row = 0; row < pictureModel_->rowCount(); ++row)
            pictureModel_->showTypedTime(row, typed);
    });
    // Each save of the editor is one change; "到全部" reports every row of its one save.
    store::ListSnapshot beforeSave = store::captureList(store_, store::ListKind::Pictures);
    connect(&dialog, &TFrmEditP::pictureRowChanged, this, [&] {
        history_.recordDone(store::ChangeKind::Edit, beforeSave);
        beforeSave = store::captureList(store_, store::ListKind::Pictures);
        refreshUndoCommands();
    });
    connect(&dialog, &TFrmEditP::currentPictureChanged, this, [this](int row) {
        selectRow(LvwP, row);
        ScrollToSelected(LvwP);
    });
    dialogs_.runModal(dialog);
    RefreshMain();
}

void TFrmMain::importInto(store::ListKind list, const std::function<void()>& import) {
    const store::ListSnapshot before = store::captureList(store_, list);
    // What a failing batch saved before its error is a change too.
    changeStore([&] {
        try {
            import();
        } catch (...) {
            history_.recordDone(store::ChangeKind::Import, before);
            throw;
        }
        history_.recordDone(store::ChangeKind::Import, before);
    });
}

void TFrmMain::BtnAddPClick() {
    if (store_.AlbumIndex < 0)
        return;
    if (listTag_ == 0) {
        const QStringList files = dialogs_.getOpenFileNames(
            this, QStringLiteral("加入图片"),
            qtFileFilter(QStringLiteral(
                "All (*.jpg;*.jpeg;*.bmp;*.tif;*.tiff;*.ico;*.emf;*.wmf;*.png;*.gif;*.webp;*.heic;*.heif;"
                "*.avif;*.jxl)|*.jpg;*.jpeg;*.bmp;*.tif;*.tiff;*.ico;*.emf;*.wmf;*.png;*.gif;*.webp;*.heic;"
                "*.heif;*.avif;*.jxl|JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps "
                "(*.bmp)|*.bmp|TIFF Image File (*.tif)|*.tif;*.tiff|Icons (*.ico)|*.ico|Enhanced Metafiles "
                "(*.emf)|*.emf|Metafiles (*.wmf)|*.wmf|PNG Image File (*.png)|*.png|GIF Image File (*.gif)|"
                "*.gif|WebP Image File (*.webp)|*.webp|HEIF Image File (*.heic;*.heif)|*.heic;*.heif|AVIF "
                "Image File (*.avif)|*.avif|JPEG XL Image File (*.jxl)|*.jxl")));
        importPictureFiles(files, 0);
    } else {
        const QStringList files = dialogs_.getOpenFileNames(
            this, QStringLiteral("加入音乐"), qtFileFilter(QStringLiteral("MP3音乐文件(*.mp3)|*.mp3")));
        importSongFiles(files, 0);
    }
    RefreshMain();
}

void TFrmMain::importPictureFiles(const QStringList& files, int skipped) {
    const std::optional<QStringList> ordered =
        files.isEmpty() ? std::nullopt : orderForImport(store_, files, dialogs_, this);
    if (!ordered)
        return;
    importInto(store::ListKind::Pictures, [&] { ImportPictures(store_, *ordered, dialogs_, this, skipped); });
    FillPicList();
    selectRow(LvwP, pictureModel_->rowCount() - 1);
    ScrollToSelected(LvwP);
}

void TFrmMain::importSongFiles(const QStringList& files, int skipped) {
    if (files.isEmpty())
        return;
    importInto(store::ListKind::Songs, [&] { ImportMusic(store_, files, dialogs_, this, skipped); });
    FillMusicList();
    selectRow(LvwM, songModel_->rowCount() - 1);
    ScrollToSelected(LvwM);
}

void TFrmMain::BtnBeginMakeClick() {
    // A new dialog for the open album each time; it changes nothing the window shows.
    if (store_.AlbumIndex < 0 || store_.AlbumIndex >= store_.AlbumCount())
        return;
    TFrmMake dialog(store_, dialogs_, this);
    dialogs_.runModal(dialog);
}

} // namespace vistello::app
