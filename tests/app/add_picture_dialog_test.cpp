// Window tests of the picture import dialog: its layout, a whole run, cancel, the title-bar
// close that only marks, and the TIFF reader's messages shown as boxes.

#include "app/import/add_picture_dialog.h"
#include "scripted_dialogs.h"
#include "store/album_operations.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace vistello;

class AddPictureDialogTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    int stores_ = 0;

    // A store with one open album, in a folder of its own.
    std::unique_ptr<store::AlbumStore> freshStore() {
        const std::filesystem::path root = dir_.path().toStdString() + "/store" + std::to_string(stores_++);
        std::filesystem::create_directories(root);
        auto albums = std::make_unique<store::AlbumStore>(root);
        store::createAlbum(*albums, "图片");
        albums->openAlbum(0);
        return albums;
    }
    QString picture(const QString& name) {
        const QString path = dir_.filePath(name);
        if (!QFile::exists(path)) {
            QImage image(24, 16, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            image.save(path, "BMP");
        }
        return path;
    }
    QString brokenTiff() {
        const QString path = dir_.filePath(QStringLiteral("broken.tif"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write("not a tiff");
        return path;
    }

  private slots:
    void layoutAsDesigned() {
        auto albums = freshStore();
        app::testing::ScriptedDialogs dialogs;
        app::TFrmAddP dialog(*albums, {}, dialogs);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("导入图片"));
        QCOMPARE(dialog.size(), QSize(434, 125));
        auto* label1 = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        auto* label2 = dialog.findChild<QLabel*>(QStringLiteral("Label2"));
        auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        auto* button = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
        QVERIFY(label1 && label2 && bar && button);
        QCOMPARE(label1->text(), QStringLiteral("正在导入文件："));
        QCOMPARE(label1->pos(), QPoint(24, 16));
        QCOMPARE(label2->geometry(), QRect(24, 34, 385, 18));
        QCOMPARE(bar->geometry(), QRect(24, 56, 385, 17));
        QCOMPARE(bar->value(), 0);
        QCOMPARE(button->geometry(), QRect(334, 88, 75, 25));
        QCOMPARE(button->text(), QStringLiteral("取消"));
        QCOMPARE(button->property("tag").toInt(), 0);
        QVERIFY(!dialog.Timer1().isActive());
        QCOMPARE(dialog.Timer1().interval(), 1000);
        QVERIFY(dialog.Timer1().isSingleShot());
    }

    void importRunsOnTheTimerAndCloses() {
        auto albums = freshStore();
        app::testing::ScriptedDialogs dialogs;
        QString lastLabel;
        int lastBar = -1;
        dialogs.driveDialog = [&](QDialog& dialog) {
            const int result = dialog.exec(); // the batch runs in the timer's first tick, then closes
            lastLabel = dialog.findChild<QLabel*>(QStringLiteral("Label1"))->text();
            lastBar = dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value();
            return result;
        };
        const QStringList files = {picture("a.bmp"), brokenTiff(), picture("c.bmp")};
        app::ImportPictures(*albums, files, dialogs, nullptr);
        QCOMPARE(albums->PicCount(), 2);
        QCOMPARE(albums->PicList[0].FileName.text(), std::string("P0.jpg"));
        QCOMPARE(albums->PicList[1].FileName.text(), std::string("P1.jpg"));
        QCOMPARE(albums->PicList[1].Remark.text(), std::string("c.bmp"));
        QCOMPARE(lastLabel, QStringLiteral("正在导入文件：（3/3）"));
        QCOMPARE(lastBar, 3);
        // The TIFF reader's complaint about the broken file came as a message box.
        QCOMPARE(dialogs.messages, QStringList{"<" + files[1] + "> is not a valid TIFF file"});
        store::AlbumStore reloaded(albums->RootPath());
        reloaded.LoadInfo("A");
        reloaded.openAlbum(0);
        QCOMPARE(reloaded.PicCount(), 2);
    }

    void cancelStopsBeforeTheNextFile() {
        auto albums = freshStore();
        app::testing::ScriptedDialogs dialogs;
        const QString file = picture("a.bmp");
        app::TFrmAddP dialog(*albums, {file, file, file, file, file}, dialogs);
        auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
        auto* counter = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        // The click is queued and is handled while the first file's messages are let through.
        QMetaObject::invokeMethod(cancel, &QPushButton::click, Qt::QueuedConnection);
        dialog.Timer1Timer();
        QCOMPARE(albums->PicCount(), 1);
        QCOMPARE(cancel->property("tag").toInt(), 1);
        QCOMPARE(counter->text(), QStringLiteral("正在导入文件：（1/5）"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        store::AlbumStore reloaded(albums->RootPath());
        reloaded.LoadInfo("A");
        reloaded.openAlbum(0);
        QCOMPARE(reloaded.PicCount(), 1);
    }

    void titleBarCloseOnlyMarks() {
        auto albums = freshStore();
        app::testing::ScriptedDialogs dialogs;
        const QString file = picture("a.bmp");
        app::TFrmAddP dialog(*albums, {file, file, file}, dialogs);
        dialog.show();
        QMetaObject::invokeMethod(&dialog, &QDialog::close, Qt::QueuedConnection);
        dialog.Timer1Timer();
        QVERIFY(dialog.closeRequested());
        QCOMPARE(albums->PicCount(), 3);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(AddPictureDialogTest)
#include "add_picture_dialog_test.moc"
