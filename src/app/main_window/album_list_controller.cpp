#include "app/main_window/album_list_controller.h"

#include "app/album_dialog/add_album_dialog.h"
#include "app/application/guarded.h"
#include "app/application/ui_texts.h"
#include "app/main_window/list_models.h"
#include "app/main_window/list_views.h"
#include "app/main_window/undo_commands.h"
#include "store/album_operations.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QToolButton>

namespace vistello::app {

AlbumListController::AlbumListController(store::AlbumStore& store, UserDialogs& dialogs, UndoCommands& undo,
                                         const AlbumListControls& controls, QWidget* window)
    : store_(store), dialogs_(dialogs), undo_(undo), ui_(controls), window_(window),
      model_(new AlbumListModel(store, this)) {
    ui_.LvwA->setModel(model_);
    configureListView(ui_.LvwA, {20, 131});
    connect(ui_.LvwA->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AlbumListController::selectionChanged);
    // selectionChanged is passed on to the window, whose receiving handler guards itself.
    connect(ui_.SbtNewAblm, &QToolButton::clicked, this,
            guardedSlot(window_, dialogs_, this, &AlbumListController::SbtNewAblmClick));
    connect(ui_.SbtDelA, &QToolButton::clicked, this,
            guardedSlot(window_, dialogs_, this, &AlbumListController::SbtDelAClick));
}

AlbumListController::~AlbumListController() = default;

void AlbumListController::FillAlbumList() {
    model_->reset();
}

int AlbumListController::rowCount() const {
    return model_->rowCount();
}

int AlbumListController::selectedRow() const {
    return app::selectedRow(ui_.LvwA);
}

void AlbumListController::selectRow(int row) {
    app::selectRow(ui_.LvwA, row);
}

void AlbumListController::refresh() {
    const int albums = model_->rowCount();
    ui_.SbtDelA->setEnabled(albums > 0 && selectedRow() >= 0);
    ui_.PnlAllAblumTile->setText(albums > 0 ? QStringLiteral("现有相册列表[共%1个]").arg(albums)
                                            : QStringLiteral("现有相册列表[暂无]"));
}

void AlbumListController::SbtNewAblmClick() {
    const store::ListSnapshot albumsBefore = store::captureList(store_, store::ListKind::Albums);
    TFrmAddA dialog(store_, dialogs_, window_);
    dialogs_.runModal(dialog);
    if (!dialog.createdAlbum())
        return;
    undo_.changeStore([&] {
        store_.LoadInfo("A");
        undo_.history().recordCreatedAlbums(albumsBefore);
    });
    FillAlbumList();
    if (model_->rowCount() > 0) {
        selectRow(model_->rowCount() - 1);
        store_.AlbumIndex = model_->rowCount() - 1;
    }
    const int selected = selectedRow();
    if (selected >= 0)
        emit albumToOpen(selected);
    else
        emit refreshNeeded();
}

void AlbumListController::SbtDelAClick() {
    if (store_.AlbumIndex < 0)
        return;
    const QString question = deleteAlbumQuestion(store_.PicCount(), store_.MusicCount());
    if (!question.isEmpty() &&
        !dialogs_.askYesNo(window_, QStringLiteral("提示"), question, MessageIcon::Information))
        return;
    const std::optional<store::ListSnapshot> shorter = store::plannedAlbumDeletion(store_);
    if (!shorter)
        return;
    undo_.changeStore([&] { undo_.history().perform(store::ChangeKind::DeleteAlbum, *shorter); });
    FillAlbumList();
    selectRow(store_.AlbumIndex);
    if (selectedRow() >= 0)
        emit albumToOpen(store_.AlbumIndex);
    else
        emit noAlbumLeft();
}

} // namespace vistello::app
