#pragma once
// TFrmMain: the album list, the picture and song lists of the open album, the preview column
// and the buttons that edit them. It recomputes every caption, index and enabled state from
// the lists with RefreshMain after each change. The store and the dialog interface are passed
// in and outlive the window.

#include "app/application/user_dialogs.h"
#include "store/album_store.h"
#include "store/list_operations.h"
#include "store/undo_history.h"

#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
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

class TFrmMain final : public QWidget {
    Q_OBJECT
  public:
    TFrmMain(store::AlbumStore& store, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~TFrmMain() override;

    store::AlbumStore& albumStore() { return store_; }
    UserDialogs& dialogs() { return dialogs_; }
    store::UndoHistory& undoHistory() { return history_; }

    void RefreshMain();
    void OpenAlbum(int index);
    void FillAlbumList();
    // Rebuilds the picture or song rows from the store (after an import or an edit).
    void FillPicList();
    void FillMusicList();
    // Selects `row` of a list view (-1 clears the selection) without running its change handler.
    static void selectRow(QTableView* view, int row);
    static int selectedRow(const QTableView* view);

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
    // The preview panel's handlers.
    void LvwPChange();
    void LvwMChange();
    void BtnPPClick();
    void BtnNPClick();
    // Undo and redo of the list changes (Ctrl+Z; Ctrl+Y or Ctrl+Shift+Z; the lists' menu).
    void UndoClick();
    void RedoClick();

  private:
    void buildLayout();
    void connectHandlers();
    QWidget* buildRightColumn();
    QWidget* buildMainArea();
    QWidget* buildBottomBar();
    QWidget* buildPreviewPanel();
    // Loads picture `index` of the open album into the preview and fits it into Image1. A file
    // that cannot be read throws once; while it stays as it is, showing it again does nothing,
    // so that every later refresh does not report it anew.
    void showPicture(int index);
    void clearPicture();
    void clearPreview();
    // Drops the picture and the song that are not the open album's current ones (another
    // album's, or deleted), so that the panel never shows what the lists no longer hold.
    void dropStalePreview();
    void refreshPreview(bool picturePage, int rows, int selected);
    void browse(bool previous);
    QWidget* buildPlayerPage();
    // Gives the player song `index` of the open album (stopping what plays), without playing.
    void loadSong(int index);
    void clearPlayer();
    void refreshPlayerButtons();
    store::MediaList currentList() const;
    QTableView* currentListView() const;
    // The store's current index of that list, which a change takes back to when undone.
    int& currentIndex();
    void moveCurrent(store::MoveDirection direction);
    // The undo and redo commands, and the context menu of the three lists that offers them.
    void buildUndoCommands();
    void refreshUndoCommands();
    void showListMenu(QWidget* list, const QPoint& position);
    // Runs a change of the store. Whether it succeeds or throws, the undo commands follow it;
    // when it throws, the lists are shown again as the store holds them (which is what the
    // files hold) before the error goes on to the top-level handler.
    void changeStore(const std::function<void()>& change);
    // Runs an import batch into the open album's list as one change.
    void importInto(store::ListKind list, const std::function<void()>& import);
    // Every list, selection and caption as the store holds them now.
    void showStoreState();
    // Drops onto LvwP and LvwM (main_window_drops.cpp): files and folders are imported as the
    // add button imports them, dragged rows move to where they are dropped.
    void setUpDrops();
    void importPictureFiles(const QStringList& files, int skipped);
    void importSongFiles(const QStringList& files, int skipped);
    void moveRowTo(store::MediaList list, int from, int to);

    store::AlbumStore& store_;
    UserDialogs& dialogs_;
    store::UndoHistory history_;
    QAction* ActUndo = nullptr;
    QAction* ActRedo = nullptr;
    QMenu* PmnList = nullptr;
    AlbumListModel* albumModel_ = nullptr;
    PictureListModel* pictureModel_ = nullptr;
    SongListModel* songModel_ = nullptr;

    // Controls, named as their objectNames.
    QLabel* PnlAllAblumTile = nullptr;
    QTableView* LvwA = nullptr;
    QToolButton* SbtNewAblm = nullptr;
    QToolButton* SbtDelA = nullptr;
    QLabel* PnlCurLook = nullptr;
    QToolButton* BtnPP = nullptr;
    QToolButton* BtnNP = nullptr;
    QStackedWidget* NotebookLook = nullptr;
    QWidget* Image1 = nullptr;
    QLabel* ImgPicShow = nullptr;
    // The file shown in ImgPicShow and its modification time, to skip reloading it; an import
    // may write a new picture under the name of one deleted before.
    std::filesystem::path shownPicture_;
    std::filesystem::file_time_type shownPictureTime_;
    // The last picture file that could not be read, as it was then, already reported.
    std::optional<std::filesystem::path> unreadablePicture_;
    std::filesystem::file_time_type unreadablePictureTime_;
    TZelMp3Play* ZelMp3Play1 = nullptr;
    QSlider* bsSkinTrackBar1 = nullptr;
    QToolButton* SbtPlay = nullptr;
    QToolButton* SbtPause = nullptr;
    QToolButton* SbtStop = nullptr;
    std::filesystem::path songFile_; // the player's FileName
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
