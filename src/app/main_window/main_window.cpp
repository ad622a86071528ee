#include "app/main_window/main_window.h"

#include "app/application/guarded.h"
#include "app/application/product_name.h"
#include "app/main_window/album_list_controller.h"
#include "app/main_window/main_window_form.h"
#include "app/main_window/media_lists_controller.h"
#include "app/main_window/player_controller.h"
#include "app/main_window/preview_controller.h"
#include "app/main_window/undo_commands.h"
#include "app/production_dialog/production_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTableView>

#include <exception>

namespace vistello::app {

TFrmMain::TFrmMain(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), store_(store), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FrmMain"));
    const MainWindowForm form = buildMainWindowForm(this);
    PnlCurAblmTile = form.PnlCurAblmTile;
    BtnBeginMake = form.BtnBeginMake;
    undo_ = std::make_unique<UndoCommands>(
        store_, dialogs_, this,
        QList<QWidget*>{form.albums.LvwA, form.lists.LvwP, form.lists.LvwM, form.lists.NotebookList});
    albums_ = std::make_unique<AlbumListController>(store_, dialogs_, *undo_, form.albums, this);
    lists_ = std::make_unique<MediaListsController>(store_, dialogs_, *undo_, form.lists, this);
    player_ = std::make_unique<PlayerController>(store_, dialogs_, form.player, this);
    preview_ = std::make_unique<PreviewController>(store_, dialogs_, *player_, form.preview, form.lists.LvwP,
                                                   form.lists.LvwM, this);
    connectControllers();
    // The window still opens, with what could be loaded; a second failure is shown too.
    if (!guarded(this, dialogs_, [this] { FormCreate(); }))
        guarded(this, dialogs_, [this] { RefreshMain(); });
}

TFrmMain::~TFrmMain() = default;

void TFrmMain::connectControllers() {
    // Every routine a signal reaches is a handler of its own, guarded like the buttons' clicks.
    auto guard = [this](auto handler) { return guardedSlot(this, dialogs_, this, handler); };
    connect(albums_.get(), &AlbumListController::selectionChanged, this, guard(&TFrmMain::LvwAChange));
    connect(albums_.get(), &AlbumListController::albumToOpen, this, guard(&TFrmMain::OpenAlbum));
    connect(albums_.get(), &AlbumListController::noAlbumLeft, this, guard(&TFrmMain::showNoAlbum));
    connect(albums_.get(), &AlbumListController::refreshNeeded, this, guard(&TFrmMain::RefreshMain));
    connect(lists_.get(), &MediaListsController::pageChosen, this, guard(&TFrmMain::SbtEditpicClick));
    connect(lists_.get(), &MediaListsController::pictureChosen, preview_.get(),
            guardedSlot(this, dialogs_, preview_.get(), &PreviewController::showChosenPicture));
    connect(lists_.get(), &MediaListsController::songChosen, preview_.get(),
            guardedSlot(this, dialogs_, preview_.get(), &PreviewController::loadChosenSong));
    connect(lists_.get(), &MediaListsController::refreshNeeded, this, guard(&TFrmMain::RefreshMain));
    connect(preview_.get(), &PreviewController::refreshNeeded, this, guard(&TFrmMain::RefreshMain));
    connect(undo_.get(), &UndoCommands::storeNeedsShowing, this, guard(&TFrmMain::showStoreState));
    connect(undo_.get(), &UndoCommands::changeReplayed, this, guard(&TFrmMain::showReplayedChange));
    connect(BtnBeginMake, &QPushButton::clicked, this, guard(&TFrmMain::BtnBeginMakeClick));
}

void TFrmMain::FormCreate() {
    resize(800, 567);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - QPoint(400, 283));
    store_.AlbumList.clear();
    store_.closeAlbum();
    store_.AlbumIndex = -1;
    SbtEditpicClick(0);
    setWindowTitle(kProductName + QStringLiteral("2007 V7.0"));
    store_.LoadInfo("A");
    albums_->FillAlbumList();
    if (albums_->rowCount() > 0)
        albums_->selectRow(store_.AlbumIndex);
    const int selected = albums_->selectedRow();
    if (selected >= 0)
        OpenAlbum(selected);
    else
        RefreshMain();
}

void TFrmMain::OpenAlbum(int index) {
    store_.openAlbum(store_.AlbumCount() > 0 ? index : -1);
    lists_->showOpenedAlbum();
    // A first picture that cannot be read leaves the preview empty; the album opens all the
    // same (lists, captions, buttons), and the error ends the handler after that.
    preview_->forgetUnreadablePicture();
    std::exception_ptr unreadable;
    if (const int picture = lists_->selectedPicture(); picture >= 0) {
        try {
            preview_->showPicture(picture);
        } catch (const std::exception&) {
            preview_->clearPicture();
            unreadable = std::current_exception();
        }
    }
    RefreshMain();
    if (unreadable)
        std::rethrow_exception(unreadable);
}

void TFrmMain::LvwAChange() {
    const int selected = albums_->selectedRow();
    if (albums_->rowCount() == 0 || selected < 0)
        return;
    store_.AlbumIndex = selected;
    preview_->clear();
    OpenAlbum(selected);
}

void TFrmMain::RefreshMain() {
    const ShownList shown = lists_->refresh();
    albums_->refresh();
    if (store_.AlbumIndex > -1 && store_.AlbumIndex < store_.AlbumCount()) {
        const QString albumName = QString::fromStdString(store_.albumName(store_.AlbumIndex));
        PnlCurAblmTile->setText(QStringLiteral("编辑相册《%1》中的图片与音乐").arg(albumName));
        PnlCurAblmTile->setToolTip(albumName); // the whole name, however the title is elided
    }
    BtnBeginMake->setEnabled(lists_->pictureRows() > 0 && lists_->songRows() > 0);
    preview_->refresh(shown.page == 0, shown.rows, shown.selected);
}

void TFrmMain::SbtEditpicClick(int page) {
    lists_->showPage(page);
    preview_->showPage(page);
    RefreshMain();
}

void TFrmMain::showStoreState() {
    albums_->FillAlbumList();
    albums_->selectRow(store_.AlbumIndex);
    lists_->showStoreState();
    preview_->clear();
    RefreshMain();
}

void TFrmMain::showReplayedChange(store::ListKind list) {
    showStoreState();
    // The page of the list that changed comes to the front.
    if (list != store::ListKind::Albums)
        SbtEditpicClick(list == store::ListKind::Songs ? 1 : 0);
}

void TFrmMain::showNoAlbum() {
    lists_->FillPicList();
    lists_->FillMusicList();
    RefreshMain();
}

void TFrmMain::BtnBeginMakeClick() {
    // A new dialog for the open album each time; it changes nothing the window shows.
    if (store_.AlbumIndex < 0 || store_.AlbumIndex >= store_.AlbumCount())
        return;
    TFrmMake dialog(store_, dialogs_, this);
    dialogs_.runModal(dialog);
}

} // namespace vistello::app
