#pragma once
// MediaListsController: the picture and song lists of the open album (the notebook NotebookList
// with LvwP and LvwM, the tab buttons, the list title, the move buttons and the button row under
// the lists). It fills the lists from the store and runs the buttons' edits, imports and drops,
// each as one change of the undo history; the buttons act on the list of the tab shown. The
// store, the dialogs and the undo commands outlive it; the controls belong to the window.

#include "app/application/user_dialogs.h"
#include "store/album_store.h"
#include "store/list_operations.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;
class QToolButton;
class QWidget;

namespace vistello::app {

class PictureListModel;
class SongListModel;
class StoreListModel;
class UndoCommands;

// The lists' controls, named as their objectNames.
struct MediaListControls {
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
};

// The list of the tab shown: its page (0 pictures, 1 songs), its rows and its selected row
// (-1 for none).
struct ShownList {
    int page = 0;
    int rows = 0;
    int selected = -1;
};

class MediaListsController final : public QObject {
    Q_OBJECT
  public:
    // `window` is the parent of the dialogs and questions.
    MediaListsController(store::AlbumStore& store, UserDialogs& dialogs, UndoCommands& undo,
                         const MediaListControls& controls, QWidget* window);
    ~MediaListsController() override;

    // Rebuild the rows from the store.
    void FillPicList();
    void FillMusicList();
    // Both lists of the album just opened, with the store's current rows selected.
    void showOpenedAlbum();
    // Both lists as the store holds them, its current rows selected and scrolled to.
    void showStoreState();
    int pictureRows() const;
    int songRows() const;
    int selectedPicture() const;

    // The lists' part of the tab switch: page `page` (0 pictures, 1 songs) with its captions.
    void showPage(int page);
    // The lists' part of RefreshMain; the store's index of the shown list follows its selection.
    ShownList refresh();

    void BtnUPClick();
    void BtnDPClick();
    void BtnDelOPClick();
    void BtnDelAPClick();
    // Opens the picture editor on the selected picture; its saves are changes of their own.
    void BtnEditPClick();
    // Asks for files and imports them into the list shown.
    void BtnAddPClick();
    // Import as the add button does; `skipped` files of other kinds were left out of a drop.
    void addPictures(const QStringList& files, int skipped);
    void addSongs(const QStringList& files, int skipped);
    // Moves row `from` of a list to `to`, as one change.
    void moveRowTo(store::MediaList list, int from, int to);

  signals:
    // A tab button was clicked (SbtEditpicClick, with the page of the button).
    void pageChosen(int page);
    // A row of LvwP or LvwM was selected (LvwPChange, LvwMChange).
    void pictureChosen(int row);
    void songChosen(int row);
    // The window recomputes its captions and states.
    void refreshNeeded();

  private:
    void LvwPChange();
    void LvwMChange();
    // The list of the tab shown, and the store's current index of it, which a change takes
    // back to when undone.
    store::MediaList currentList() const;
    QTableView* currentListView() const;
    StoreListModel* currentModel() const;
    int& currentIndex();
    void moveCurrent(store::MoveDirection direction);
    // Runs an import batch into the open album's list as one change.
    void importInto(store::ListKind list, const std::function<void()>& import);
    void importPictureFiles(const QStringList& files, int skipped);
    void importSongFiles(const QStringList& files, int skipped);

    store::AlbumStore& store_;
    UserDialogs& dialogs_;
    UndoCommands& undo_;
    MediaListControls ui_;
    QWidget* window_;
    PictureListModel* pictureModel_;
    SongListModel* songModel_;
    // The page the list buttons act on (their tag): 0 pictures, 1 songs.
    int listTag_ = 0;
};

} // namespace vistello::app
