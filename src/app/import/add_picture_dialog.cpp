#include "app/import/add_picture_dialog.h"

#include "app/application/dialog_message_sink.h"
#include "app/application/user_dialogs.h"
#include "media/picture_import.h"

namespace vistello::app {

TFrmAddP::TFrmAddP(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent)
    : ImportProgressDialog(QStringLiteral("FrmAddP"), QStringLiteral("导入图片"), files, parent),
      store_(store), dialogs_(dialogs) {}

void TFrmAddP::importFiles() {
    DialogMessageSink messages(dialogs_, this);
    media::ImportPictures(store_, filePaths(), progress(), messages);
}

void ImportPictures(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent,
                    int skipped) {
    TFrmAddP dialog(store, files, dialogs, parent);
    dialog.showSkipped(skipped, QStringLiteral("图片"));
    runImportDialog(dialog, dialogs);
}

} // namespace vistello::app
