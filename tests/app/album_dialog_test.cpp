// The album creation dialog and its hand-over to the main window.

#include "../write_failure.h"
#include "album_fixture.h"
#include "app/album_dialog/add_album_dialog.h"
#include "app/main_window/album_list_controller.h"
#include "app/main_window/main_window.h"
#include "app/widgets/eliding_label.h"
#include "scripted_dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

class AlbumDialogTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;

    static QLineEdit* edit(QDialog& d) { return d.findChild<QLineEdit*>(QStringLiteral("Edt")); }
    static QString notice(QDialog& d) { return d.findChild<QLabel*>(QStringLiteral("PnlNotice"))->text(); }
    static QPushButton* addButton(QDialog& d) { return d.findChild<QPushButton*>(QStringLiteral("BtnAdd")); }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private slots:
    void cleanup() {
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
    }

    void checksTheNameWhileItIsTyped() {
        makeAlbums(root.path(), {{"old", 0, 0}});
        QDir(root.path()).mkdir(QStringLiteral("BackPic"));
        store::AlbumStore albums(root.path().toStdString());
        albums.LoadInfo("A");
        ScriptedDialogs dialogs;
        TFrmAddA dialog(albums, dialogs);
        QCOMPARE(dialog.size(), QSize(392, 356));
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Lab"))->text(),
                 QStringLiteral("系统已有相册列表(共1个)："));
        QVERIFY(!addButton(dialog)->isEnabled());

        const struct {
            QString typed;
            QString notice;
            bool enabled;
        } cases[] = {
            {QStringLiteral("   "), QStringLiteral(" 提示：请输入新的相册名称!"), false},
            {QStringLiteral("BackPic"), QStringLiteral(" 提示：现输入的相册名称已存在,创建无效!"), false},
            {QStringLiteral(" old "), QStringLiteral(" 提示：现输入的相册名称已存在,创建无效!"), false},
            {QStringLiteral("Album"), QStringLiteral(" 提示：现输入的相册名称已存在,创建无效!"), false},
            {QStringLiteral("新相册"), QStringLiteral(" 提示：当前已经输入的相册名称系统还没有,可以创建!"),
             true},
        };
        for (const auto& c : cases) {
            edit(dialog)->setText(c.typed);
            QCOMPARE(notice(dialog), c.notice);
            QCOMPARE(addButton(dialog)->isEnabled(), c.enabled);
        }
        edit(dialog)->clear();
        QTest::keyClicks(edit(dialog), QStringLiteral("a/b?c"));
        QCOMPARE(edit(dialog)->text(), QStringLiteral("abc"));
    }

    void enterCreatesOnlyWhenTheNameIsUsable() {
        store::AlbumStore albums(root.path().toStdString());
        ScriptedDialogs dialogs;
        TFrmAddA dialog(albums, dialogs);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("Lab"))->text(),
                 QStringLiteral("系统已有相册列表(暂无)："));
        QTest::keyClick(edit(dialog), Qt::Key_Return);
        QVERIFY(!dialog.createdAlbum());
        edit(dialog)->setText(QStringLiteral("  海边  "));
        QTest::keyClick(edit(dialog), Qt::Key_Return);
        QVERIFY(dialog.createdAlbum());
        QVERIFY(QDir(root.path() + QStringLiteral("/海边")).exists());
        QVERIFY(QFile::exists(root.path() + QStringLiteral("/海边/PicInfo")));
        QCOMPARE(edit(dialog)->text(), QString());
        QCOMPARE(notice(dialog), QStringLiteral(" 提示：请输入新的相册名称!"));
        QCOMPARE(dialog.findChild<QListWidget*>(QStringLiteral("Lst"))->count(), 1);
    }

    // An album that cannot be made is told in the error box, by the button and by Enter alike;
    // the dialog stays open with its list as it was, and the album list file is untouched.
    void anAlbumThatCannotBeMadeIsToldAndTheDialogStays() {
        makeAlbums(root.path(), {{"old", 0, 0}});
        store::AlbumStore albums(root.path().toStdString());
        albums.LoadInfo("A");
        ScriptedDialogs dialogs;
        TFrmAddA dialog(albums, dialogs);
        const QByteArray listBefore = readFile(root.path() + QStringLiteral("/Album"));
        {
            failures::FileSizeLimit noWrites(0);
            edit(dialog)->setText(QStringLiteral("新相册"));
            addButton(dialog)->click();
            edit(dialog)->setText(QStringLiteral("新相册"));
            QTest::keyClick(edit(dialog), Qt::Key_Return);
        }
        const QString error = QStringLiteral("无法写入“%1/Album”：文件过大").arg(root.path());
        QCOMPARE(dialogs.messages, (QStringList{error, error}));
        QCOMPARE(dialog.findChild<QListWidget*>(QStringLiteral("Lst"))->count(), 1);
        QCOMPARE(edit(dialog)->text(), QStringLiteral("新相册")); // kept for another try
        QCOMPARE(albums.AlbumCount(), 1);
        QCOMPARE(readFile(root.path() + QStringLiteral("/Album")), listBefore);
        QVERIFY(!QDir(root.path() + QStringLiteral("/新相册")).exists());
    }

    void aNameTooLongIsToldWithTheNameItIsCutTo() {
        store::AlbumStore albums(root.path().toStdString());
        ScriptedDialogs dialogs;
        TFrmAddA dialog(albums, dialogs);
        const QString kept(45, QChar(0x957F)); // 45 × 长: 90 GBK bytes, the most a record holds
        edit(dialog)->setText(kept + QStringLiteral("长长长长长")); // 100 bytes
        const QString prefix = QStringLiteral(" 提示：名称过长(限90字节),将缩短为“");
        const QString suffix = QStringLiteral("”,可以创建!");
        QLabel* noticeLine = dialog.findChild<QLabel*>(QStringLiteral("PnlNotice"));
        QCOMPARE(noticeLine->toolTip(), prefix + kept + suffix);
        // The line shows the start and the end of the kept name, elided to fit the dialog.
        QVERIFY2(notice(dialog).startsWith(prefix + QStringLiteral("长")) &&
                     notice(dialog).endsWith(QStringLiteral("长") + suffix) &&
                     notice(dialog).contains(QChar(0x2026)),
                 qPrintable(notice(dialog)));
        QVERIFY(noticeLine->fontMetrics().horizontalAdvance(notice(dialog)) < dialog.width());
        QVERIFY(addButton(dialog)->isEnabled());

        edit(dialog)->setText(kept); // fits whole: the plain notice again
        QCOMPARE(notice(dialog), QStringLiteral(" 提示：当前已经输入的相册名称系统还没有,可以创建!"));
        QCOMPARE(noticeLine->toolTip(), QString());
        edit(dialog)->setText(kept + QStringLiteral("长"));
        addButton(dialog)->click();
        QCOMPARE(QString::fromStdString(albums.albumName(0)), kept);
    }

    void aLongAlbumNameIsElidedAndTheWindowKeepsItsSize() {
        makeAlbums(root.path(), {{"short", 0, 0}});
        store::AlbumStore albums(root.path().toStdString());
        ScriptedDialogs dialogs;
        TFrmMain window(albums, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.width(), 800);
        const QString longName(45, QChar(0x957F));
        dialogs.driveDialog = [&](QDialog& d) {
            edit(d)->setText(longName);
            addButton(d)->click();
            return int(QDialog::Rejected);
        };
        window.albumList().SbtNewAblmClick();
        QApplication::sendPostedEvents(); // the layout's requests, which would widen the window
        QTest::qWait(1);
        QCOMPARE(window.width(), 800);
        QVERIFY(window.minimumSizeHint().width() <= 800);

        auto* title = window.findChild<ElidingLabel*>(QStringLiteral("PnlCurAblmTile"));
        QVERIFY(title);
        QCOMPARE(title->text(), QStringLiteral("编辑相册《%1》中的图片与音乐").arg(longName));
        QCOMPARE(title->toolTip(), longName);
        const QString shown = title->displayedText();
        QVERIFY2(shown.startsWith(QStringLiteral("编辑相册《长")) &&
                     shown.endsWith(QStringLiteral("长》中的图片与音乐")) && shown.contains(QChar(0x2026)),
                 qPrintable(shown));
        QVERIFY(title->fontMetrics().horizontalAdvance(shown) <= title->contentsRect().width());
    }

    void twoAlbumsInOneVisitOpenTheSecond() {
        makeAlbums(root.path(), {{"first", 1, 0}});
        store::AlbumStore albums(root.path().toStdString());
        ScriptedDialogs dialogs;
        TFrmMain window(albums, dialogs);
        dialogs.driveDialog = [](QDialog& d) {
            for (const QString& name : {QStringLiteral("甲"), QStringLiteral("乙")}) {
                edit(d)->setText(name);
                addButton(d)->click();
            }
            return int(QDialog::Rejected);
        };
        window.albumList().SbtNewAblmClick();
        QCOMPARE(albums.AlbumCount(), 3);
        QCOMPARE(albums.AlbumIndex, 2);
        QCOMPARE(window.findChild<QLabel*>(QStringLiteral("PnlCurAblmTile"))->text(),
                 QStringLiteral("编辑相册《乙》中的图片与音乐"));

        dialogs.driveDialog = [](QDialog&) { return int(QDialog::Rejected); };
        window.albumList().SbtNewAblmClick(); // closed without creating: nothing changes
        QCOMPARE(albums.AlbumIndex, 2);
    }
};

QTEST_MAIN(AlbumDialogTest)
#include "album_dialog_test.moc"
