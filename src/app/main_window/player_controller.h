#pragma once
// PlayerController: the player page of the preview panel. It gives ZelMp3Play1 the current song
// of the open album without starting it, keeps the position track bar in step with the player,
// and enables the play, pause and stop buttons and the track bar only while the song's file
// exists. The store outlives it; the controls belong to the window.

#include "store/album_store.h"

#include <QObject>

#include <filesystem>

class QSlider;
class QToolButton;
class QWidget;

namespace vistello::app {

class TZelMp3Play;
class UserDialogs;

// The player page's controls, named as their objectNames.
struct PlayerControls {
    TZelMp3Play* ZelMp3Play1 = nullptr;
    QSlider* bsSkinTrackBar1 = nullptr;
    QToolButton* SbtPlay = nullptr;
    QToolButton* SbtPause = nullptr;
    QToolButton* SbtStop = nullptr;
};

class PlayerController final : public QObject {
    Q_OBJECT
  public:
    // A failure of the player's buttons is shown through `dialogs` over `window`.
    PlayerController(store::AlbumStore& store, UserDialogs& dialogs, const PlayerControls& controls,
                     QWidget* window);

    // Gives the player song `index` of the open album (stopping what plays), without playing.
    void loadSong(int index);
    // Gives the player no file, which stops a song that plays and with it the decoder's reading.
    void clear();
    // The full path of the song the player holds (its FileName), empty for none.
    const std::filesystem::path& songFile() const { return songFile_; }
    // The buttons and the track bar work only on a song whose file exists.
    void refreshButtons();

    // Releasing the track bar seeks to where it was let go (pressing it paused for the seek).
    void bsSkinTrackBar1MouseUp();
    // The player's progress, in bytes of the song file, moves the track bar unless the mouse
    // holds it; the time is not shown.
    void ZelMp3Play1Progress(QObject* sender, int trackBarMax, int trackBarPos, const QString& curTime);

  private:
    store::AlbumStore& store_;
    PlayerControls ui_;
    std::filesystem::path songFile_;
};

} // namespace vistello::app
