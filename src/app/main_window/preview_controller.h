#pragma once
// PreviewController: the preview panel under the album list. Its title line numbers the current
// row of the list shown, its arrows walk through that list, page 0 shows the current picture
// fitted into Image1, and page 1 is the player (PlayerController). It reads and moves the
// selection of the picture and song lists it is given, as browsing does. The store, the dialogs
// and the player outlive it; the controls belong to the window.

#include "app/application/user_dialogs.h"
#include "store/album_store.h"

#include <QObject>

#include <filesystem>
#include <optional>

class QLabel;
class QStackedWidget;
class QTableView;
class QToolButton;
class QWidget;

namespace vistello::app {

class PlayerController;

// The preview panel's controls, named as their objectNames.
struct PreviewControls {
    QLabel* PnlCurLook = nullptr;
    QToolButton* BtnPP = nullptr;
    QToolButton* BtnNP = nullptr;
    QStackedWidget* NotebookLook = nullptr;
    QWidget* Image1 = nullptr;
    QLabel* ImgPicShow = nullptr;
};

class PreviewController final : public QObject {
    Q_OBJECT
  public:
    // `pictures` and `songs` are LvwP and LvwM, whose selection browsing moves.
    PreviewController(store::AlbumStore& store, UserDialogs& dialogs, PlayerController& player,
                      const PreviewControls& controls, QTableView* pictures, QTableView* songs,
                      QWidget* window);

    // The panel's part of the tab switch: the page shown (0 pictures, 1 songs), which is also
    // the list the arrows browse.
    void showPage(int page);
    // Loads picture `index` of the open album and fits it into Image1. A file that cannot be
    // read throws once; while it stays as it is, showing it again does nothing, so that every
    // later refresh does not report it anew.
    void showPicture(int index);
    void clearPicture();
    // Empties both pages: no picture, and no song in the player.
    void clear();
    // Forgets the picture already reported as unreadable (a newly opened album reports it again).
    void forgetUnreadablePicture() { unreadablePicture_.reset(); }
    // The panel's part of RefreshMain, for the list shown with `rows` rows and row `selected`
    // current (-1 for none).
    void refresh(bool picturePage, int rows, int selected);

    // Row `row` of the picture or song list was selected: it becomes current and is shown (a
    // song is loaded, not played).
    void showChosenPicture(int row);
    void loadChosenSong(int row);
    void BtnPPClick();
    void BtnNPClick();

  signals:
    // A handler has changed what is current; the window recomputes its captions and states.
    void refreshNeeded();

  private:
    // Drops the picture and the song that are not the open album's current ones (another
    // album's, or deleted), so that the panel never shows what the lists no longer hold.
    void dropStalePreview();
    void browse(bool previous);

    store::AlbumStore& store_;
    UserDialogs& dialogs_;
    PlayerController& player_;
    PreviewControls ui_;
    QTableView* pictures_;
    QTableView* songs_;
    QWidget* window_;
    // The page the arrows act on (their tag): 0 pictures, 1 songs.
    int page_ = 0;
    // The file shown in ImgPicShow and its modification time, to skip reloading it; an import
    // may write a new picture under the name of one deleted before.
    std::filesystem::path shownPicture_;
    std::filesystem::file_time_type shownPictureTime_;
    // The last picture file that could not be read, as it was then, already reported.
    std::optional<std::filesystem::path> unreadablePicture_;
    std::filesystem::file_time_type unreadablePictureTime_;
};

} // namespace vistello::app
