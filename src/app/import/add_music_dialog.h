#pragma once
// TFrmAddM: the progress dialog of the music import. It waits one timer interval after it
// is shown, then imports the whole batch inside that tick (ImportMusic of the audio module),
// letting window messages through once per file so that its cancel button is heard, saves
// the song list and closes itself. The title-bar close does not stop a run: it only marks
// the dialog, which closes when the run has ended.

#include "app/import/import_progress_dialog.h"
#include "store/album_store.h"

namespace vistello::app {

class UserDialogs;

class TFrmAddM final : public ImportProgressDialog {
    Q_OBJECT
  public:
    TFrmAddM(store::AlbumStore& store, const QStringList& files, QWidget* parent = nullptr);

  private:
    void importFiles() override;

    store::AlbumStore& store_;
};

// Imports `files` into the open album under a TFrmAddM shown through `dialogs`. The song
// list is saved when it returns; the caller refills its song list view. A failure to save
// the list is thrown (StoreError) after the dialog has closed.
void ImportMusic(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent,
                 int skipped = 0);

} // namespace vistello::app
