#pragma once
// AlbumListController: the album list of the main window (LvwA with its title and the new and
// delete buttons). It fills the list from the store, creates albums through the album dialog and
// deletes the open one, each as one change of the undo history. Which album is open is the
// window's business: the controller reports a changed selection and the album to open. The
// store, the dialogs and the undo commands outlive it; the controls belong to the window.

#include "app/application/user_dialogs.h"
#include "store/album_store.h"

#include <QObject>

class QLabel;
class QTableView;
class QToolButton;
class QWidget;

namespace vistello::app {

class AlbumListModel;
class UndoCommands;

// The album list's controls, named as their objectNames.
struct AlbumListControls {
    QLabel* PnlAllAblumTile = nullptr;
    QTableView* LvwA = nullptr;
    QToolButton* SbtNewAblm = nullptr;
    QToolButton* SbtDelA = nullptr;
};

class AlbumListController final : public QObject {
    Q_OBJECT
  public:
    // `window` is the parent of the dialogs and questions.
    AlbumListController(store::AlbumStore& store, UserDialogs& dialogs, UndoCommands& undo,
                        const AlbumListControls& controls, QWidget* window);
    ~AlbumListController() override;

    // One row per album of the store.
    void FillAlbumList();
    int rowCount() const;
    int selectedRow() const;
    // Selects `row` (-1 for none) without reporting a changed selection.
    void selectRow(int row);
    // The album list's part of RefreshMain: its title and the delete button.
    void refresh();

    // Opens the album dialog; an album created there is added and opened.
    void SbtNewAblmClick();
    // Deletes the open album, after asking when it holds pictures or songs.
    void SbtDelAClick();

  signals:
    // The user selected another row of LvwA (LvwAChange).
    void selectionChanged();
    // After a creation or a deletion: the album at `index` of the list is to be opened.
    void albumToOpen(int index);
    // After a deletion that left no album selected: the lists are to be emptied.
    void noAlbumLeft();
    // The window recomputes its captions and states.
    void refreshNeeded();

  private:
    store::AlbumStore& store_;
    UserDialogs& dialogs_;
    UndoCommands& undo_;
    AlbumListControls ui_;
    QWidget* window_;
    AlbumListModel* model_;
};

} // namespace vistello::app
