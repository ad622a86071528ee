#pragma once
// TFrmMain: the program's main window. It builds the form and hands each part to the controller
// that owns it: the album list, the picture and song lists with their buttons, the preview panel
// with the player, and the undo commands. The window itself opens albums, switches the tabs and
// recomputes every caption, index and enabled state with RefreshMain, asking each part to
// refresh its own in turn; the controllers reach it through signals wired here. The store and
// the dialog interface are passed in and outlive the window.

#include "app/application/user_dialogs.h"
#include "store/album_store.h"
#include "store/list_change.h"

#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;

namespace vistello::app {

class AlbumListController;
class MediaListsController;
class PlayerController;
class PreviewController;
class UndoCommands;

class TFrmMain final : public QWidget {
    Q_OBJECT
  public:
    TFrmMain(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmMain() override;

    // The window's parts, whose handlers the tests drive as the buttons do.
    AlbumListController& albumList() { return *albums_; }
    MediaListsController& mediaLists() { return *lists_; }
    PreviewController& preview() { return *preview_; }
    UndoCommands& undoCommands() { return *undo_; }

    // Captions, current indexes and enabled states from the lists: the lists' part, the album
    // list's, the album title, the production button, then the preview panel's.
    void RefreshMain();
    void OpenAlbum(int index);

    // The window's own handlers.
    void FormCreate();
    void LvwAChange();
    void SbtEditpicClick(int page);
    void PnlHelpClick() {}
    void BtnBeginMakeClick();

  private:
    void connectControllers();
    // Every list, selection and caption as the store holds them now.
    void showStoreState();
    // After an undo or a redo: the store as it is, with the page of the list that changed.
    void showReplayedChange(store::ListKind list);
    // After the last album was deleted: empty lists.
    void showNoAlbum();

    store::AlbumStore& store_;
    UserDialogs& dialogs_;
    QLabel* PnlCurAblmTile = nullptr;
    QPushButton* BtnBeginMake = nullptr;
    // Destroyed before the controls they drive, which the window owns.
    std::unique_ptr<UndoCommands> undo_;
    std::unique_ptr<AlbumListController> albums_;
    std::unique_ptr<MediaListsController> lists_;
    std::unique_ptr<PlayerController> player_;
    std::unique_ptr<PreviewController> preview_;
};

} // namespace vistello::app
