#include "app/import/add_music_dialog.h"

#include "app/application/user_dialogs.h"
#include "audio/music_import.h"

namespace vistello::app {

namespace {

class DialogProgress final : public audio::MusicImportProgress {
  public:
    explicit DialogProgress(ImportProgressDialog& dialog) : dialog_(dialog) {}
    bool cancelled() const override { return dialog_.cancelMarked(); }
    void fileStarting(int index, int count, const std::filesystem::path& file) override {
        dialog_.fileStarting(index, count, QString::fromStdString(file.string()));
    }

  private:
    ImportProgressDialog& dialog_;
};

} // namespace

TFrmAddM::TFrmAddM(store::AlbumStore& store, const QStringList& files, QWidget* parent)
    : ImportProgressDialog(QStringLiteral("FrmAddM"), QStringLiteral("导入音乐"), files, parent),
      store_(store) {}

void TFrmAddM::importFiles() {
    std::vector<std::filesystem::path> paths;
    paths.reserve(static_cast<std::size_t>(files().size()));
    for (const QString& file : files())
        paths.emplace_back(file.toStdString());
    DialogProgress progress(*this);
    audio::ImportMusic(store_, paths, progress);
}

void ImportMusic(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent,
                 int skipped) {
    TFrmAddM dialog(store, files, parent);
    dialog.showSkipped(skipped, QStringLiteral("MP3音乐"));
    runImportDialog(dialog, dialogs);
}

} // namespace vistello::app
