#include "app/add_picture_dialog.h"

#include "app/dialog_message_sink.h"
#include "app/user_dialogs.h"
#include "media/picture_import.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace vistello::app {

namespace {

// Shows each file's turn in the dialog and lets the cancel button be pressed meanwhile.
class DialogProgress final : public media::ImportProgress {
  public:
    DialogProgress(QPushButton& cancel, QLabel& counter, QLabel& path, QProgressBar& bar)
        : cancel_(cancel), counter_(counter), path_(path), bar_(bar) {}

    bool cancelled() const override { return cancel_.property("tag").toInt() == 1; }
    void fileStarting(int index, int count, const QString& file) override {
        bar_.setValue(index + 1);
        counter_.setText(QStringLiteral("正在导入文件：（%1/%2）").arg(index + 1).arg(count));
        path_.setText(file);
        QApplication::processEvents();
    }

  private:
    QPushButton& cancel_;
    QLabel& counter_;
    QLabel& path_;
    QProgressBar& bar_;
};

} // namespace

TFrmAddP::TFrmAddP(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), store_(store), files_(files), dialogs_(dialogs) {
    setObjectName(QStringLiteral("FrmAddP"));
    setWindowTitle(QStringLiteral("导入图片"));
    setFixedSize(434, 125);
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);

    Label1 = new QLabel(QStringLiteral("正在导入文件："), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(24, 16);
    Label1->setMinimumWidth(385);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(24, 34, 385, 16);
    Label2->setAttribute(Qt::WA_TranslucentBackground);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(24, 56, 385, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    Button1 = new QPushButton(QStringLiteral("取消"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(334, 88, 75, 25);
    Button1->setProperty("tag", 0); // the cancel mark: 0 normal, 1 cancelled
    connect(Button1, &QPushButton::clicked, this, &TFrmAddP::Button1Click);

    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(1000);
    Timer1_.setSingleShot(true);
    connect(&Timer1_, &QTimer::timeout, this, &TFrmAddP::Timer1Timer);
}

void TFrmAddP::Button1Click() {
    Button1->setProperty("tag", 1);
}

void TFrmAddP::Timer1Timer() {
    Timer1_.stop();
    ProgressBar1->setRange(0, static_cast<int>(files_.size()));
    DialogProgress progress(*Button1, *Label1, *Label2, *ProgressBar1);
    DialogMessageSink messages(dialogs_, this);
    importing_ = true;
    try {
        media::ImportPictures(store_, files_, progress, messages);
    } catch (const std::exception&) {
        // Thrown on from ImportPictures below, outside the dialog's event loop.
        failure_ = std::current_exception();
    }
    importing_ = false;
    accept();
}

void TFrmAddP::reject() {
    if (importing_)
        closeRequested_ = true; // the run goes on; the dialog closes when it ends
    else
        QDialog::reject();
}

void ImportPictures(store::AlbumStore& store, const QStringList& files, UserDialogs& dialogs,
                    QWidget* parent) {
    TFrmAddP dialog(store, files, dialogs, parent);
    dialog.Timer1().start();
    dialogs.runModal(dialog);
    if (dialog.failure())
        std::rethrow_exception(dialog.failure());
}

} // namespace vistello::app
