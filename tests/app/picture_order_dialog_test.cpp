// TFrmPicOrder and its place in the picture import: asked for a batch of several pictures,
// its choice orders the batch, is remembered, and is offered first next time; cancelling it
// imports nothing; a single picture is imported without the question.

#include "album_fixture.h"
#include "app/import/picture_order_dialog.h"
#include "app/main_window/main_window.h"
#include "scripted_dialogs.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(VISTELLO_TEST_DATA "/pictures/") + QLatin1String(name);
}

} // namespace

class PictureOrderDialogTest : public QObject {
    Q_OBJECT
    QTemporaryDir root;
    std::unique_ptr<store::AlbumStore> albums;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmMain> window;
    QStringList orderDialogs; // which button was checked when each order dialog came up
    const char* choice = "RbtnByDate";
    bool cancelOrder = false;

    void start() {
        makeAlbums(root.path(), {{"a", 0, 0}});
        albums = std::make_unique<store::AlbumStore>(root.path().toStdString());
        window = std::make_unique<TFrmMain>(*albums, dialogs);
        dialogs.driveDialog = [this](QDialog& dialog) {
            if (dialog.objectName() != QLatin1String("FrmPicOrder"))
                return dialog.exec(); // the import's progress dialog runs and closes itself
            orderDialogs << (dialog.findChild<QRadioButton*>("RbtnByName")->isChecked() ? "name" : "date");
            dialog.findChild<QRadioButton*>(choice)->click();
            dialog.findChild<QPushButton*>(cancelOrder ? "BtnCancel" : "BtnOK")->click();
            return dialog.result();
        };
    }
    QStringList remarks() const {
        QStringList names;
        for (const auto& picture : albums->PicList)
            names << QString::fromStdString(picture.Remark.text());
        return names;
    }
    void addPictures(const QStringList& files) {
        dialogs.filesToOpen = files;
        window->findChild<QPushButton*>("BtnAddP")->click();
    }

  private slots:
    void cleanup() {
        window.reset();
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
        orderDialogs.clear();
        choice = "RbtnByDate";
        cancelOrder = false;
    }

    void layoutAsDesigned() {
        TFrmPicOrder dialog(media::PictureOrder::ByName);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("图片顺序"));
        QVERIFY(dialog.findChild<QRadioButton*>("RbtnByName")->isChecked());
        QVERIFY(!dialog.findChild<QRadioButton*>("RbtnByDate")->isChecked());
        QCOMPARE(dialog.findChild<QPushButton*>("BtnOK")->text(), QStringLiteral("确定"));
        QCOMPARE(dialog.findChild<QPushButton*>("BtnCancel")->text(), QStringLiteral("取消"));
        QCOMPARE(TFrmPicOrder(media::PictureOrder::ByDateTaken).chosenOrder(),
                 media::PictureOrder::ByDateTaken);
    }

    void theChoiceOrdersTheBatchAndIsRemembered() {
        start();
        const QStringList dated = {fixture("dated_2021.heic"), fixture("dated_2019.jpg"),
                                   fixture("dated_2017.webp"), fixture("dated_2020.png")};
        addPictures(dated);
        QCOMPARE(orderDialogs, QStringList{"date"}); // nothing remembered yet: by date
        QCOMPARE(remarks(),
                 (QStringList{"dated_2017.webp", "dated_2019.jpg", "dated_2020.png", "dated_2021.heic"}));

        choice = "RbtnByName";
        addPictures({fixture("png_rgb.png"), fixture("heic_photo.heic")});
        QCOMPARE(remarks().mid(4), (QStringList{"heic_photo.heic", "png_rgb.png"}));

        // The next visit, in a new window, offers the choice made last.
        window = std::make_unique<TFrmMain>(*albums, dialogs);
        addPictures({fixture("png_rgb.png"), fixture("gif_animated.gif")});
        QCOMPARE(orderDialogs, (QStringList{"date", "date", "name"}));
    }

    void cancellingTheQuestionImportsNothing() {
        start();
        cancelOrder = true;
        addPictures({fixture("png_rgb.png"), fixture("heic_photo.heic")});
        QCOMPARE(orderDialogs.size(), 1);
        QCOMPARE(albums->PicCount(), 0);
    }

    void aSinglePictureIsNotAsked() {
        start();
        addPictures({fixture("heic_photo.heic")});
        QVERIFY(orderDialogs.isEmpty());
        QCOMPARE(remarks(), QStringList{"heic_photo.heic"});
    }
};

QTEST_MAIN(PictureOrderDialogTest)
#include "picture_order_dialog_test.moc"
