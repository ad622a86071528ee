#include "app/import/import_progress_dialog.h"

#include "app/application/user_dialogs.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace vistello::app {

ImportProgressDialog::ImportProgressDialog(const QString& name, const QString& caption,
                                           const QStringList& files, QWidget* parent)
    : QDialog(parent), files_(files) {
    setObjectName(name);
    setWindowTitle(caption);
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
    Label2->setGeometry(24, 34, 385, 18); // the height of a line of the CJK face
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
    connect(Button1, &QPushButton::clicked, this, &ImportProgressDialog::Button1Click);

    Timer1_.setObjectName(QStringLiteral("Timer1"));
    Timer1_.setInterval(1000);
    Timer1_.setSingleShot(true);
    connect(&Timer1_, &QTimer::timeout, this, &ImportProgressDialog::Timer1Timer);
}

void ImportProgressDialog::Button1Click() {
    Button1->setProperty("tag", 1);
}

bool ImportProgressDialog::cancelMarked() const {
    return Button1->property("tag").toInt() == 1;
}

void ImportProgressDialog::fileStarting(int index, int count, const QString& file) {
    ProgressBar1->setValue(index + 1);
    Label1->setText(QStringLiteral("正在导入文件：（%1/%2）").arg(index + 1).arg(count));
    // The line has a fixed width; a longer path loses its middle, so that the start of the
    // folder and the file's own name stay readable. The whole path is in the tooltip.
    Label2->setText(Label2->fontMetrics().elidedText(file, Qt::ElideMiddle, Label2->contentsRect().width()));
    Label2->setToolTip(file);
    QApplication::processEvents();
}

void ImportProgressDialog::Progress::fileStarting(int index, int count, const std::filesystem::path& file) {
    dialog_.fileStarting(index, count, QString::fromStdString(file.string()));
}

std::vector<std::filesystem::path> ImportProgressDialog::filePaths() const {
    std::vector<std::filesystem::path> paths;
    paths.reserve(static_cast<std::size_t>(files_.size()));
    for (const QString& file : files_)
        paths.emplace_back(file.toStdString());
    return paths;
}

void ImportProgressDialog::showSkipped(int count, const QString& what) {
    if (count <= 0)
        return;
    auto* note = new QLabel(QStringLiteral("另有%1个文件不是%2，已跳过").arg(count).arg(what), this);
    note->setObjectName(QStringLiteral("LabSkipped"));
    note->setGeometry(24, 92, 300, 18);
}

void ImportProgressDialog::Timer1Timer() {
    Timer1_.stop();
    ProgressBar1->setRange(0, static_cast<int>(files_.size()));
    importing_ = true;
    try {
        importFiles();
    } catch (const std::exception&) {
        // Thrown on by runImportDialog, outside the dialog's event loop.
        failure_ = std::current_exception();
    }
    importing_ = false;
    accept();
}

void ImportProgressDialog::reject() {
    if (importing_)
        closeRequested_ = true; // the batch goes on; the dialog closes when it ends
    else
        QDialog::reject();
}

void runImportDialog(ImportProgressDialog& dialog, UserDialogs& dialogs) {
    dialog.Timer1().start();
    dialogs.runModal(dialog);
    if (dialog.failure())
        std::rethrow_exception(dialog.failure());
}

} // namespace vistello::app
