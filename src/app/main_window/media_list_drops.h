#pragma once
// The drops onto the picture and song lists of the main window: files and folders are imported
// as the add button imports them, dragged rows move to where they are dropped. An empty list is
// disabled, so the notebook that holds the lists takes the files dropped on it, for the page shown.

#include "app/application/user_dialogs.h"
#include "store/album_store.h"

class QWidget;

namespace vistello::app {

class MediaListsController;
class StoreListModel;
struct MediaListControls;

// Installs the drop targets on the lists' controls and lets the models' rows be dragged. The
// targets are children of the controls; `lists`, the store and the dialogs stay alive while
// the window takes drops.
void installMediaListDrops(MediaListsController& lists, store::AlbumStore& store, UserDialogs& dialogs,
                           const MediaListControls& controls, StoreListModel& pictures, StoreListModel& songs,
                           QWidget* window);

} // namespace vistello::app
