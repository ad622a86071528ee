#include "app/import/add_music_dialog.h"

#include "app/application/user_dialogs.h"
#include "audio/music_import.h"

namespace vistello::app {

TFrmAddM::TFrmAddM(store::AlbumStore& store, const QStringList& files, QWidget* parent)
    : ImportProgressDialog(QStringLiteral("FrmAddM"), QStringLiteral("导入音乐"), files, parent),
      store_(store) {}

void TFrmAddM::importFiles() {
    audio::ImportMusic(store_, filePaths(), progress());
}

void ImportMusic(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent,
                 int skipped) {
    TFrmAddM dialog(store, files, parent);
    dialog.showSkipped(skipped, QStringLiteral("MP3音乐"));
    runImportDialog(dialog, dialogs);
}

} // namespace vistello::app
