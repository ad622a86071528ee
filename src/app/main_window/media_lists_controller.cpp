#include "app/main_window/media_lists_controller.h"

#include "app/application/guarded.h"
#include "app/application/ui_texts.h"
#include "app/import/add_music_dialog.h"
#include "app/import/add_picture_dialog.h"
#include "app/import/picture_order_dialog.h"
#include "app/main_window/list_models.h"
#include "app/main_window/list_views.h"
#include "app/main_window/media_list_drops.h"
#include "app/main_window/undo_commands.h"
#include "app/picture_editor/picture_editor.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>

namespace vistello::app {

MediaListsController::MediaListsController(store::AlbumStore& store, UserDialogs& dialogs, UndoCommands& undo,
                                           const MediaListControls& controls, QWidget* window)
    : store_(store), dialogs_(dialogs), undo_(undo), ui_(controls), window_(window),
      pictureModel_(new PictureListModel(store, this)), songModel_(new SongListModel(store, this)) {
    ui_.LvwP->setModel(pictureModel_);
    configureListView(ui_.LvwP, {20, 60, 100, 250, 100});
    ui_.LvwM->setModel(songModel_);
    configureListView(ui_.LvwM, {20, 60, 120, 100, 230});
    auto guard = [this](auto handler) { return guardedSlot(window_, dialogs_, this, handler); };
    connect(ui_.LvwP->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            guard(&MediaListsController::LvwPChange));
    connect(ui_.LvwM->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            guard(&MediaListsController::LvwMChange));
    // pageChosen's receiver guards itself.
    connect(ui_.SbtEditpic, &QToolButton::clicked, this, [this] { emit pageChosen(0); });
    connect(ui_.SbtEditMusic, &QToolButton::clicked, this, [this] { emit pageChosen(1); });
    connect(ui_.BtnUP, &QToolButton::clicked, this, guard(&MediaListsController::BtnUPClick));
    connect(ui_.BtnDP, &QToolButton::clicked, this, guard(&MediaListsController::BtnDPClick));
    connect(ui_.BtnDelOP, &QPushButton::clicked, this, guard(&MediaListsController::BtnDelOPClick));
    connect(ui_.BtnDelAP, &QPushButton::clicked, this, guard(&MediaListsController::BtnDelAPClick));
    connect(ui_.BtnEditP, &QPushButton::clicked, this, guard(&MediaListsController::BtnEditPClick));
    connect(ui_.LvwP, &QTableView::doubleClicked, this, guard(&MediaListsController::BtnEditPClick));
    installMediaListDrops(*this, store_, dialogs_, ui_, *pictureModel_, *songModel_, window_);
    connect(ui_.BtnAddP, &QPushButton::clicked, this, guard(&MediaListsController::BtnAddPClick));
}

MediaListsController::~MediaListsController() = default;

void MediaListsController::FillPicList() {
    pictureModel_->reset();
}

void MediaListsController::FillMusicList() {
    songModel_->reset();
}

void MediaListsController::showOpenedAlbum() {
    FillPicList();
    FillMusicList();
    if (pictureModel_->rowCount() > 0)
        selectRow(ui_.LvwP, store_.PicIndex);
    if (songModel_->rowCount() > 0)
        selectRow(ui_.LvwM, store_.MusicIndex);
}

void MediaListsController::showStoreState() {
    FillPicList();
    FillMusicList();
    selectRow(ui_.LvwP, store_.PicIndex);
    selectRow(ui_.LvwM, store_.MusicIndex);
    if (store_.PicIndex >= 0)
        ScrollToSelected(ui_.LvwP);
    if (store_.MusicIndex >= 0)
        ScrollToSelected(ui_.LvwM);
}

int MediaListsController::pictureRows() const {
    return pictureModel_->rowCount();
}

int MediaListsController::songRows() const {
    return songModel_->rowCount();
}

int MediaListsController::selectedPicture() const {
    return selectedRow(ui_.LvwP);
}

void MediaListsController::showPage(int page) {
    ui_.NotebookList->setCurrentIndex(page);
    listTag_ = page;
    (page == 0 ? ui_.SbtEditpic : ui_.SbtEditMusic)->setChecked(true);
    ui_.BtnEditP->setVisible(page == 0);
    if (page == 0) {
        ui_.BtnDelAP->setText(QStringLiteral("删除全部图片"));
        ui_.BtnDelOP->setText(QStringLiteral("删除当前图片"));
        ui_.BtnEditP->setText(QStringLiteral("编辑图片信息"));
        ui_.BtnAddP->setText(QStringLiteral("继续加入图片"));
    } else {
        ui_.BtnDelAP->setText(QStringLiteral("删除全部音乐"));
        ui_.BtnDelOP->setText(QStringLiteral("删除当前音乐"));
        ui_.BtnEditP->setText(QStringLiteral("编辑音乐信息"));
        ui_.BtnAddP->setText(QStringLiteral("继续加入音乐"));
    }
}

ShownList MediaListsController::refresh() {
    const bool picturePage = ui_.NotebookList->currentIndex() == 0;
    QTableView* active = picturePage ? ui_.LvwP : ui_.LvwM;
    const int n = active->model()->rowCount();
    const int s = selectedRow(active);
    if (picturePage) {
        store_.PicIndex = s;
        ui_.PnlListTile->setText(n > 0 ? QStringLiteral("当前相册全部图片列表 [共%1张图片]").arg(n)
                                       : QStringLiteral("当前相册全部图片列表 [暂无图片]"));
    } else {
        store_.MusicIndex = s;
        ui_.PnlListTile->setText(n > 0 ? QStringLiteral("当前相册全部音乐列表 [共%1张音乐]").arg(n)
                                       : QStringLiteral("当前相册全部音乐列表 [暂无音乐]"));
    }
    ui_.BtnUP->setEnabled(s >= 1);
    ui_.BtnDP->setEnabled(s != n - 1);
    ui_.BtnDelOP->setEnabled(s >= 0);
    ui_.BtnDelAP->setEnabled(n > 0);
    ui_.LvwM->setEnabled(n > 0);
    ui_.LvwP->setEnabled(n > 0);
    ui_.BtnEditP->setEnabled(n > 0);
    ui_.BtnAddP->setEnabled(store_.AlbumIndex >= 0);
    return {picturePage ? 0 : 1, n, s};
}

void MediaListsController::LvwPChange() {
    const int selected = selectedRow(ui_.LvwP);
    if (pictureModel_->rowCount() > 0 && selected >= 0)
        emit pictureChosen(selected);
}

void MediaListsController::LvwMChange() {
    const int selected = selectedRow(ui_.LvwM);
    if (songModel_->rowCount() > 0 && selected >= 0)
        emit songChosen(selected);
}

store::MediaList MediaListsController::currentList() const {
    return listTag_ == 1 ? store::MediaList::Songs : store::MediaList::Pictures;
}

QTableView* MediaListsController::currentListView() const {
    return listTag_ == 1 ? ui_.LvwM : ui_.LvwP;
}

StoreListModel* MediaListsController::currentModel() const {
    return listTag_ == 1 ? static_cast<StoreListModel*>(songModel_) : pictureModel_;
}

int& MediaListsController::currentIndex() {
    return listTag_ == 1 ? store_.MusicIndex : store_.PicIndex;
}

void MediaListsController::moveCurrent(store::MoveDirection direction) {
    QTableView* view = currentListView();
    currentIndex() = selectedRow(view);
    const std::optional<store::ListSnapshot> moved =
        store::plannedMove(store_, currentList(), selectedRow(view), direction);
    if (moved)
        undo_.changeStore([&] { undo_.history().perform(store::ChangeKind::Move, *moved); });
    const std::optional<int> target = moved ? std::optional<int>(moved->index) : std::nullopt;
    if (target) {
        currentModel()->reset();
        selectRow(view, *target);
        ScrollToSelected(view);
    }
    emit refreshNeeded();
}

void MediaListsController::BtnUPClick() {
    moveCurrent(store::MoveDirection::Up);
}

void MediaListsController::BtnDPClick() {
    moveCurrent(store::MoveDirection::Down);
}

void MediaListsController::BtnDelOPClick() {
    QTableView* view = currentListView();
    currentIndex() = selectedRow(view);
    const std::optional<store::ListSnapshot> shorter =
        store::plannedDelete(store_, currentList(), selectedRow(view));
    if (shorter)
        undo_.changeStore([&] { undo_.history().perform(store::ChangeKind::Delete, *shorter); });
    const std::optional<int> current = shorter ? std::optional<int>(shorter->index) : std::nullopt;
    if (current) {
        currentModel()->reset();
        selectRow(view, *current);
        if (listTag_ == 0 && *current >= 0)
            ScrollToSelected(view);
    }
    emit refreshNeeded();
}

void MediaListsController::BtnDelAPClick() {
    const int count = currentList() == store::MediaList::Pictures ? store_.PicCount() : store_.MusicCount();
    if (!dialogs_.askYesNo(window_, QStringLiteral("提示"), deleteAllQuestion(currentList(), count),
                           MessageIcon::Question))
        return;
    undo_.changeStore([&] {
        undo_.history().perform(store::ChangeKind::DeleteAll, store::plannedDeleteAll(store_, currentList()));
    });
    currentModel()->reset();
    emit refreshNeeded();
}

void MediaListsController::BtnEditPClick() {
    // The picture editor needs a current picture; with none selected the button does nothing.
    if (listTag_ != 0 || selectedRow(ui_.LvwP) < 0)
        return;
    store_.PicIndex = selectedRow(ui_.LvwP);
    if (!TFrmEditP::canEdit(store_))
        return;
    TFrmEditP dialog(store_, dialogs_, window_);
    connect(&dialog, &TFrmEditP::pictureRowChanged, pictureModel_, &PictureListModel::rowChanged);
    connect(&dialog, &TFrmEditP::timeTextAppliedToAll, pictureModel_, [this](const QString& typed) {
        for (int row = 0; row < pictureModel_->rowCount(); ++row)
            pictureModel_->showTypedTime(row, typed);
    });
    // Each save of the editor is one change; "到全部" reports every row of its one save.
    store::ListSnapshot beforeSave = store::captureList(store_, store::ListKind::Pictures);
    connect(&dialog, &TFrmEditP::pictureRowChanged, this, [&] {
        guarded(&dialog, dialogs_, [&] {
            undo_.history().recordDone(store::ChangeKind::Edit, beforeSave);
            beforeSave = store::captureList(store_, store::ListKind::Pictures);
            undo_.refresh();
        });
    });
    connect(&dialog, &TFrmEditP::currentPictureChanged, this, [this](int row) {
        selectRow(ui_.LvwP, row);
        ScrollToSelected(ui_.LvwP);
    });
    dialogs_.runModal(dialog);
    emit refreshNeeded();
}

void MediaListsController::importInto(store::ListKind list, const std::function<void()>& import) {
    const store::ListSnapshot before = store::captureList(store_, list);
    // What a failing batch saved before its error is a change too.
    undo_.changeStore([&] {
        try {
            import();
        } catch (...) {
            undo_.history().recordDone(store::ChangeKind::Import, before);
            throw;
        }
        undo_.history().recordDone(store::ChangeKind::Import, before);
    });
}

void MediaListsController::BtnAddPClick() {
    if (store_.AlbumIndex < 0)
        return;
    if (listTag_ == 0) {
        const QStringList files = dialogs_.getOpenFileNames(
            window_, QStringLiteral("加入图片"),
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
            window_, QStringLiteral("加入音乐"), qtFileFilter(QStringLiteral("MP3音乐文件(*.mp3)|*.mp3")));
        importSongFiles(files, 0);
    }
    emit refreshNeeded();
}

void MediaListsController::addPictures(const QStringList& files, int skipped) {
    importPictureFiles(files, skipped);
    emit refreshNeeded();
}

void MediaListsController::addSongs(const QStringList& files, int skipped) {
    importSongFiles(files, skipped);
    emit refreshNeeded();
}

void MediaListsController::importPictureFiles(const QStringList& files, int skipped) {
    const std::optional<QStringList> ordered =
        files.isEmpty() ? std::nullopt : orderForImport(store_, files, dialogs_, window_);
    if (!ordered)
        return;
    importInto(store::ListKind::Pictures,
               [&] { ImportPictures(store_, *ordered, dialogs_, window_, skipped); });
    FillPicList();
    selectRow(ui_.LvwP, pictureModel_->rowCount() - 1);
    ScrollToSelected(ui_.LvwP);
}

void MediaListsController::importSongFiles(const QStringList& files, int skipped) {
    if (files.isEmpty())
        return;
    importInto(store::ListKind::Songs, [&] { ImportMusic(store_, files, dialogs_, window_, skipped); });
    FillMusicList();
    selectRow(ui_.LvwM, songModel_->rowCount() - 1);
    ScrollToSelected(ui_.LvwM);
}

void MediaListsController::moveRowTo(store::MediaList list, int from, int to) {
    const bool pictures = list == store::MediaList::Pictures;
    QTableView* view = pictures ? ui_.LvwP : ui_.LvwM;
    (pictures ? store_.PicIndex : store_.MusicIndex) = selectedRow(view);
    // One change, undone as the move buttons' are.
    const std::optional<store::ListSnapshot> moved = store::plannedMoveTo(store_, list, from, to);
    if (moved) {
        undo_.changeStore([&] { undo_.history().perform(store::ChangeKind::Move, *moved); });
        (pictures ? static_cast<StoreListModel*>(pictureModel_) : songModel_)->reset();
        selectRow(view, moved->index);
        ScrollToSelected(view);
    }
    emit refreshNeeded();
}

} // namespace vistello::app
