#pragma once
// TFrmAddP: the progress dialog of the picture import. It waits one timer interval after it
// is shown, then imports the whole batch inside that tick (ImportPictures of the media
// module), letting window messages through once per file so that its cancel button is
// heard, saves the picture list and closes itself. The title-bar close does not stop a run:
// it only marks the dialog, which closes when the run has ended.

#include "app/import/import_progress_dialog.h"
#include "store/album_store.h"

namespace vistello::app {

class UserDialogs;

class TFrmAddP final : public ImportProgressDialog {
    Q_OBJECT
  public:
    // `dialogs` shows the TIFF reader's messages as message boxes.
    TFrmAddP(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs,
             QWidget* parent = nullptr);

  private:
    void importFiles() override;

    store::AlbumStore& store_;
    UserDialogs& dialogs_;
};

// Imports `files` into the open album under a TFrmAddP shown through `dialogs`: the picture
// branch of the main window's add button calls this with the files its open dialog
// returned (and a drop of files with the count of those of other kinds, which the dialog
// shows), then refills its picture list. The list is saved when it returns; a failure to
// save it is thrown (StoreError) after the dialog has closed.
void ImportPictures(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent,
                    int skipped = 0);

} // namespace vistello::app
