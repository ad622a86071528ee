#pragma once
// TFrmMain: the album list, the picture and song lists of the open album, the preview column
// and the buttons that edit them. It recomputes every caption, index and enabled state from
// the lists with RefreshMain after each change. The store and the dialog interface are passed
// in and outlive the window.

#include "app/application/user_dialogs.h"
#include "store/album_store.h"
#include "store/list_operations.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QSlider;
class QStackedWidget;
class QTableView;
class QToolButton;

namespace vistello::app {

class AlbumListModel;
class TZelMp3Play;
class PictureListModel;
class SongListModel;
class UndoCommands;
class PlayerController;
class PreviewController;
struct PlayerControls;
struct PreviewControls;

class TFrmMain final : public QWidget {
    Q_OBJECT
  public:
    TFrmMain(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmMain() override;

    store::AlbumStore& albumStore() { return store_; }
    UserDialogs& dialogs() { return dialogs_; }
    UndoCommands& undoCommands() { return *undo_; }
    PreviewController& preview() { return *preview_; }

    void RefreshMain();
    void OpenAlbum(int index);
    void FillAlbumList();
    // Rebuilds the picture or song rows from the store (after an import or an edit).
    void FillPicList();
    void FillMusicList();

    // Handlers, public so that the dialogs and tests can drive them as the buttons do.
    void FormCreate();
    void LvwAChange();
    void SbtEditpicClick(int page);
    void SbtNewAblmClick();
    void SbtDelAClick();
    void BtnUPClick();
    void BtnDPClick();
    void BtnDelOPClick();
    void BtnDelAPClick();
    void BtnEditPClick();
    void BtnAddPClick();
    void BtnBeginMakeClick();
    void PnlHelpClick() {}
    void LvwPChange();
    void LvwMChange();

  private:
    void buildLayout(PreviewControls& preview, PlayerControls& player);
    void connectHandlers();
    QWidget* buildRightColumn(PreviewControls& preview, PlayerControls& player);
    QWidget* buildMainArea();
    QWidget* buildBottomBar();
    store::MediaList currentList() const;
    QTableView* currentListView() const;
    // The store's current index of that list, which a change takes back to when undone.
    int& currentIndex();
    void moveCurrent(store::MoveDirection direction);
    // Runs an import batch into the open album's list as one change.
    void importInto(store::ListKind list, const std::function<void()>& import);
    // Every list, selection and caption as the store holds them now.
    void showStoreState();
    // After an undo or a redo: the store as it is, with the page of the list that changed.
    void showReplayedChange(store::ListKind list);
    // Drops onto LvwP and LvwM (main_window_drops.cpp): files and folders are imported as the
    // add button imports them, dragged rows move to where they are dropped.
    void setUpDrops();
    void importPictureFiles(const QStringList& files, int skipped);
    void importSongFiles(const QStringList& files, int skipped);
    void moveRowTo(store::MediaList list, int from, int to);

    store::AlbumStore& store_;
    UserDialogs& dialogs_;
    std::unique_ptr<UndoCommands> undo_;
    std::unique_ptr<PlayerController> player_;
    std::unique_ptr<PreviewController> preview_;
    AlbumListModel* albumModel_ = nullptr;
    PictureListModel* pictureModel_ = nullptr;
    SongListModel* songModel_ = nullptr;

    // Controls, named as their objectNames.
    QLabel* PnlAllAblumTile = nullptr;
    QTableView* LvwA = nullptr;
    QToolButton* SbtNewAblm = nullptr;
    QToolButton* SbtDelA = nullptr;
    QPushButton* BtnBeginMake = nullptr;
    QLabel* PnlCurAblmTile = nullptr;
    QToolButton* SbtEditpic = nullptr;
    QToolButton* SbtEditMusic = nullptr;
    QLabel* PnlListTile = nullptr;
    QToolButton* BtnUP = nullptr;
    QToolButton* BtnDP = nullptr;
    QStackedWidget* NotebookList = nullptr;
    QTableView* LvwP = nullptr;
    QTableView* LvwM = nullptr;
    QPushButton* BtnDelAP = nullptr;
    QPushButton* BtnDelOP = nullptr;
    QPushButton* BtnEditP = nullptr;
    QPushButton* BtnAddP = nullptr;
    QLabel* PnlHelp = nullptr;
    QWidget* CST1 = nullptr;
    // The page the list buttons act on (their tag): 0 pictures, 1 songs.
    int listTag_ = 0;
};

} // namespace vistello::app
