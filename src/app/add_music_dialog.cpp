#include "app/add_music_dialog.h"

#include "app/user_dialogs.h"
#include "audio/music_import.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace vistello::app {

namespace {

// Shows each file's turn in the dialog and lets the cancel button be pressed meanwhile.
class DialogProgress final : public audio::MusicImportProgress {
public:
    DialogProgress(QPushButton& cancel, QLabel& counter, QLabel& path, QProgressBar& bar)
        : cancel_(cancel), counter_(counter), path_(path), bar_(bar) {}

    bool cancelled() const override { return cancel_.property("tag").toInt() == 1; }
    void fileStarting(int index, int count, const std::filesystem::path& file) override {
        bar_.setValue(index + 1);
        counter_.setText(QStringLiteral("正在导入文件：（%1/%2）").arg(index + 1).arg(count));
        path_.setText(QString::fromStdString(file.string()));
        QApplication::processEvents();
    }

private:
    QPushButton& cancel_;
    QLabel& counter_;
    QLabel& path_;
    QProgressBar& bar_;
};

} // namespace

TFrmAddM::TFrmAddM(store::AlbumStore& store, const QStringList& files, QWidget* parent)
    : QDialog(parent), store_(store), files_(files) {
    setObjectName(QStringLiteral("FrmAddM"));
    setWindowTitle(QStringLiteral("导入音乐"));
    setFixedSize(420, 110);
    Label1 = new QLabel(QStringLiteral("正在导入文件："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 8, 300, 16);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 30, 404, 16);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(8, 52, 404, 18);
    ProgressBar1->setRange(0, 0);
    Button1 = new QPushButton(QStringLiteral("取消"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(172, 78, 75, 25);
    Button1->setProperty("tag", 0); // the cancel mark
    connect(Button1, &QPushButton::clicked, this, &TFrmAddM::Button1Click);

    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(1000);
    Timer1_.setSingleShot(true);
    connect(&Timer1_, &QTimer::timeout, this, &TFrmAddM::Timer1Timer);
}

void TFrmAddM::Button1Click() {
    Button1->setProperty("tag", 1);
}

void TFrmAddM::Timer1Timer() {
    Timer1_.stop();
    ProgressBar1->setRange(0, static_cast<int>(files_.size()));
    std::vector<std::filesystem::path> files;
    files.reserve(static_cast<std::size_t>(files_.size()));
    for (const QString& file : files_)
        files.emplace_back(file.toStdString());
    DialogProgress progress(*Button1, *Label1, *Label2, *ProgressBar1);
    importing_ = true;
    try {
        audio::ImportMusic(store_, files, progress);
    } catch (const std::exception&) {
        // Thrown on from ImportMusic below, outside the dialog's event loop.
        failure_ = std::current_exception();
    }
    importing_ = false;
    accept();
}

void TFrmAddM::reject() {
    if (importing_)
        Button1Click();
    else
        QDialog::reject();
}

void ImportMusic(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent) {
    TFrmAddM dialog(store, files, parent);
    dialog.Timer1().start();
    dialogs.runModal(dialog);
    if (dialog.failure())
        std::rethrow_exception(dialog.failure());
}

} // namespace vistello::app
