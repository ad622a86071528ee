#pragma once
// The main window's form: every control of TFrmMain made with its objectName, design size and
// caption, and laid out as the window shows them. The controls are grouped by the controller
// that drives them; the few left over belong to the window itself.

#include "app/main_window/album_list_controller.h"
#include "app/main_window/media_lists_controller.h"
#include "app/main_window/player_controller.h"
#include "app/main_window/preview_controller.h"

class QLabel;
class QPushButton;
class QWidget;

namespace vistello::app {

struct MainWindowForm {
    AlbumListControls albums;
    MediaListControls lists;
    PreviewControls preview;
    PlayerControls player;
    QLabel* PnlCurAblmTile = nullptr; // the open album's title over the lists
    QPushButton* BtnBeginMake = nullptr;
    QLabel* PnlHelp = nullptr;
    QWidget* CST1 = nullptr; // the ticker of the bottom bar
};

// Builds the form into `window`, which owns every control, and returns the controls.
MainWindowForm buildMainWindowForm(QWidget* window);

} // namespace vistello::app
