#include "app/import/add_picture_dialog.h"

#include "app/application/dialog_message_sink.h"
#include "app/application/user_dialogs.h"
#include "media/picture_import.h"

namespace vistello::app {

namespace {

class DialogProgress final : public media::ImportProgress {
  public:
    explicit DialogProgress(ImportProgressDialog& dialog) : dialog_(dialog) {}
    bool cancelled() const override { return dialog_.cancelMarked(); }
    void fileStarting(int index, int count, const QString& file) override {
        dialog_.fileStarting(index, count, file);
    }

  private:
    ImportProgressDialog& dialog_;
};

} // namespace

TFrmAddP::TFrmAddP(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent)
    : ImportProgressDialog(QStringLiteral("FrmAddP"), QStringLiteral("导入图片"), files, parent),
      store_(store), dialogs_(dialogs) {}

void TFrmAddP::importFiles() {
    DialogProgress progress(*this);
    DialogMessageSink messages(dialogs_, this);
    media::ImportPictures(store_, files(), progress, messages);
}

void ImportPictures(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent,
                    int skipped) {
    TFrmAddP dialog(store, files, dialogs, parent);
    dialog.showSkipped(skipped, QStringLiteral("图片"));
    runImportDialog(dialog, dialogs);
}

} // namespace vistello::app
