// The main window: start-up, captions, enabled states, tab switch, list edits, album deletion.

#include "album_fixture.h"
#include "app/main_window/list_views.h"
#include "app/main_window/main_window.h"
#include "app/main_window/media_lists_controller.h"
#include "scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    std::unique_ptr<store::AlbumStore> albums;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmMain> window;

    void start() {
        albums = std::make_unique<store::AlbumStore>(root.path().toStdString());
        window = std::make_unique<TFrmMain>(*albums, dialogs);
    }
    template <class T = QWidget> T* control(const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QString text(const char* name) { return control<QLabel>(name)->text(); }
    bool enabled(const char* name) { return control(name)->isEnabled(); }
    void selectPicture(int row) {
        auto* view = control<QTableView>("LvwP");
        view->selectRow(row);
    }
    // Removes a picture file of an album, or overwrites it with bytes that are no picture.
    void spoilPicture(const QString& album, const QString& file, bool remove) {
        const QString path = root.path() + QLatin1Char('/') + album + QLatin1Char('/') + file;
        if (remove) {
            QVERIFY(QFile::remove(path));
            return;
        }
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("not a picture");
    }
    std::vector<int> storedStayTimes() {
        store::AlbumStore reread(root.path().toStdString());
        reread.LoadInfo("A");
        reread.openAlbum(albums->AlbumIndex);
        std::vector<int> times;
        for (const auto& p : reread.PicList)
            times.push_back(p.StayTime);
        return times;
    }

  private slots:
    void init() {
        QVERIFY(root.isValid());
        dialogs = ScriptedDialogs();
    }
    void cleanup() {
        window.reset();
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
    }

    void startsWithTheFirstAlbumOpen() {
        makeAlbums(root.path(), {{"一", 3, 0}, {"二", 0, 0}, {"三", 1, 1}});
        start();
        QCOMPARE(window->size(), QSize(800, 567));
        QCOMPARE(window->windowTitle(), QStringLiteral("Lumora2007 V7.0"));
        QCOMPARE(albums->AlbumIndex, 0);
        QCOMPARE(albums->PicIndex, 0);
        QCOMPARE(text("PnlAllAblumTile"), QStringLiteral("现有相册列表[共3个]"));
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [共3张图片]"));
        QCOMPARE(text("PnlCurAblmTile"), QStringLiteral("编辑相册《一》中的图片与音乐"));
        QVERIFY(!enabled("BtnUP"));
        QVERIFY(enabled("BtnDP"));
        QVERIFY(enabled("SbtDelA"));
        QVERIFY(!enabled("BtnBeginMake")); // pictures but no songs
    }

    void emptyStoreShowsTheDesignTexts() {
        start();
        QCOMPARE(text("PnlAllAblumTile"), QStringLiteral("现有相册列表[暂无]"));
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [暂无图片]"));
        QVERIFY(text("PnlCurAblmTile").startsWith(QStringLiteral("编辑相册《×")));
        for (const char* name :
             {"SbtDelA", "BtnAddP", "BtnDelAP", "BtnDelOP", "BtnEditP", "BtnUP", "BtnDP", "BtnBeginMake"})
            QVERIFY2(!enabled(name), name);
        QVERIFY(enabled("SbtNewAblm"));
        QVERIFY(QDir(root.path()).isEmpty()); // nothing is created at start-up
    }

    void tabSwitchRenamesButtonsAndCountsSongs() {
        makeAlbums(root.path(), {{"a", 2, 4}});
        start();
        control<QToolButton>("SbtEditMusic")->click();
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部音乐列表 [共4张音乐]"));
        QVERIFY(control("BtnEditP")->isHidden());
        QCOMPARE(control<QPushButton>("BtnDelAP")->text(), QStringLiteral("删除全部音乐"));
        QCOMPARE(control<QPushButton>("BtnDelOP")->text(), QStringLiteral("删除当前音乐"));
        QCOMPARE(control<QPushButton>("BtnAddP")->text(), QStringLiteral("继续加入音乐"));
        QVERIFY(enabled("BtnBeginMake"));
        control<QToolButton>("SbtEditpic")->click();
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [共2张图片]"));
        QVERIFY(!control("BtnEditP")->isHidden());
        QCOMPARE(control<QPushButton>("BtnAddP")->text(), QStringLiteral("继续加入图片"));
    }

    void moveButtonsFollowTheSelection() {
        makeAlbums(root.path(), {{"a", 3, 0}, {"b", 1, 0}});
        start();
        selectPicture(2);
        QVERIFY(enabled("BtnUP"));
        QVERIFY(!enabled("BtnDP"));
        control<QToolButton>("BtnUP")->click();
        QCOMPARE(albums->PicIndex, 1);
        QCOMPARE(storedStayTimes(), (std::vector<int>{1, 3, 2}));
        control<QTableView>("LvwA")->selectRow(1);
        QCOMPARE(albums->AlbumIndex, 1);
        QVERIFY(!enabled("BtnUP"));
        QVERIFY(!enabled("BtnDP"));
    }

    void deletingPicturesKeepsListsFilesAndSelectionInStep() {
        makeAlbums(root.path(), {{"a", 5, 0}});
        start();
        const QString folder = root.path() + QStringLiteral("/a/");
        selectPicture(1);
        control<QPushButton>("BtnDelOP")->click();
        QCOMPARE(albums->PicIndex, 1);
        QVERIFY(!QFile::exists(folder + QStringLiteral("P1.jpg")));
        QCOMPARE(storedStayTimes(), (std::vector<int>{1, 3, 4, 5}));
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [共4张图片]"));

        dialogs.answers = {false};
        control<QPushButton>("BtnDelAP")->click();
        QCOMPARE(dialogs.questions.last(), QStringLiteral("本相册共有4张图片，确定全部都删除吗？"));
        QCOMPARE(albums->PicCount(), 4);
        dialogs.answers = {true};
        control<QPushButton>("BtnDelAP")->click();
        QCOMPARE(albums->PicCount(), 0);
        QVERIFY(!QFile::exists(folder + QStringLiteral("P0.jpg")));
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [暂无图片]"));
        QVERIFY(!enabled("BtnDelAP"));
    }

    void deletingAnAlbumAsksByItsContent() {
        makeAlbums(root.path(), {{"a", 3, 0}, {"b", 0, 0}, {"c", 0, 2}});
        start();
        dialogs.answers = {false};
        control<QToolButton>("SbtDelA")->click();
        QCOMPARE(dialogs.questions.last(), QStringLiteral("当前相册已有3张图片，确定要删除本相册吗？"));
        QVERIFY(QDir(root.path() + QStringLiteral("/a")).exists());

        control<QTableView>("LvwA")->selectRow(1);
        dialogs.questions.clear();
        control<QToolButton>("SbtDelA")->click(); // empty album: no question
        QVERIFY(dialogs.questions.isEmpty());
        QVERIFY(!QDir(root.path() + QStringLiteral("/b")).exists());
        QCOMPARE(albums->AlbumIndex, 1);
        QCOMPARE(text("PnlCurAblmTile"), QStringLiteral("编辑相册《c》中的图片与音乐"));

        dialogs.answers = {true, true};
        control<QToolButton>("SbtDelA")->click();
        QCOMPARE(dialogs.questions.last(), QStringLiteral("当前相册已有2首音乐，确定要删除本相册吗？"));
        QCOMPARE(albums->AlbumIndex, 0); // the last one went: the one before it is current
        control<QToolButton>("SbtDelA")->click();
        QCOMPARE(text("PnlAllAblumTile"), QStringLiteral("现有相册列表[暂无]"));
        QVERIFY(!QFile::exists(root.path() + QStringLiteral("/Album")));
        QCOMPARE(control<QTableView>("LvwP")->model()->rowCount(), 0);
    }

    void aStoreErrorIsShownInChineseNamingTheFile() {
        QDir(root.path()).mkdir(QStringLiteral("Album")); // a folder where the album list belongs
        start();
        QCOMPARE(dialogs.messages,
                 QStringList{QStringLiteral("无法读取“%1/Album”：这是一个文件夹").arg(root.path())});
        QVERIFY(enabled("SbtNewAblm"));
    }

    // The first album's first picture is missing or damaged at start-up: its error is shown
    // once, the window opens with the album and its lists, and the preview shows nothing.
    void startsWithAnUnreadableFirstPicture_data() {
        QTest::addColumn<bool>("missing");
        QTest::newRow("missing") << true;
        QTest::newRow("damaged") << false;
    }
    void startsWithAnUnreadableFirstPicture() {
        QFETCH(bool, missing);
        makeAlbums(root.path(), {{"甲", 2, 1}, {"乙", 1, 0}});
        spoilPicture(QStringLiteral("甲"), QStringLiteral("P0.jpg"), missing);
        start();
        // The window's error once (a damaged file may bring the picture reader's own box first).
        QCOMPARE(dialogs.messages.filter(QStringLiteral("无法读取图片文件")).size(), 1);
        QVERIFY2(dialogs.messages.last().contains(QStringLiteral("P0.jpg")),
                 qPrintable(dialogs.messages.last()));
        const QStringList shownAtStart = dialogs.messages;
        QCOMPARE(control<QTableView>("LvwA")->model()->rowCount(), 2);
        QCOMPARE(control<QTableView>("LvwP")->model()->rowCount(), 2);
        QCOMPARE(control<QTableView>("LvwM")->model()->rowCount(), 1);
        QCOMPARE(albums->PicIndex, 0);
        QCOMPARE(text("PnlCurAblmTile"), QStringLiteral("编辑相册《甲》中的图片与音乐"));
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [共2张图片]"));
        QCOMPARE(text("PnlCurLook"), QStringLiteral("图片预览[第1张]"));
        QVERIFY(enabled("BtnBeginMake"));
        QVERIFY(enabled("BtnNP"));
        QVERIFY(control("ImgPicShow")->isHidden());

        // Refreshing does not report the same file again; the next picture shows as usual.
        control<QToolButton>("SbtEditMusic")->click();
        control<QToolButton>("SbtEditpic")->click();
        window->RefreshMain();
        QCOMPARE(dialogs.messages, shownAtStart);
        control<QToolButton>("BtnNP")->click();
        QCOMPARE(albums->PicIndex, 1);
        QVERIFY(!control("ImgPicShow")->isHidden());
        QCOMPARE(dialogs.messages, shownAtStart);
    }

    // Opening another album whose first picture cannot be read: the error ends the handler,
    // but only after the album is open, with its own title and production button.
    void opensAnAlbumWithAnUnreadableFirstPicture() {
        makeAlbums(root.path(), {{"甲", 1, 1}, {"乙", 2, 0}});
        spoilPicture(QStringLiteral("乙"), QStringLiteral("P0.jpg"), false);
        start();
        QVERIFY(dialogs.messages.isEmpty());
        QVERIFY(!control("ImgPicShow")->isHidden());
        QVERIFY(enabled("BtnBeginMake"));
        control<QTableView>("LvwA")->selectRow(1); // the user picks the second album
        // The window's error box, once and last (the picture reader's own may come before it).
        QCOMPARE(dialogs.messages.filter(QStringLiteral("无法读取图片文件")).size(), 1);
        QVERIFY2(dialogs.messages.last().contains(QStringLiteral("P0.jpg")),
                 qPrintable(dialogs.messages.last()));
        const QStringList shownOnOpening = dialogs.messages;
        QCOMPARE(albums->AlbumIndex, 1);
        QCOMPARE(text("PnlCurAblmTile"), QStringLiteral("编辑相册《乙》中的图片与音乐"));
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [共2张图片]"));
        QCOMPARE(control<QTableView>("LvwP")->model()->rowCount(), 2);
        QVERIFY(!enabled("BtnBeginMake")); // no songs in this album
        QVERIFY(control("ImgPicShow")->isHidden());
        // Later refreshes leave it at that.
        bool threwAgain = false;
        try {
            control<QToolButton>("SbtEditMusic")->click();
            control<QToolButton>("SbtEditpic")->click();
            window->RefreshMain();
        } catch (const std::exception&) {
            threwAgain = true;
        }
        QVERIFY(!threwAgain);
        QCOMPARE(dialogs.messages, shownOnOpening);
    }

    void storeErrorsDoNotStopTheWindow() {
        makeAlbums(root.path(), {{"a", 2, 0}});
        start();
        selectPicture(0);
        // The album folder vanished behind the program's back and a file now blocks it.
        QDir(root.path() + QStringLiteral("/a")).removeRecursively();
        QFile blocker(root.path() + QStringLiteral("/a"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        control<QToolButton>("BtnDP")->click();
        // The window's error box names the list it could not write. Showing the lists again as
        // the store holds them comes first and finds the picture unreadable too; each error has
        // a box of its own, so the failed write is never hidden behind the picture's.
        QCOMPARE(dialogs.messages,
                 (QStringList{
                     QStringLiteral("无法读取图片文件 \"%1/a/P0.jpg\"").arg(root.path()),
                     QStringLiteral("无法写入“%1/a/PicInfo”：路径中有一部分不是文件夹").arg(root.path())}));
        QVERIFY(enabled("SbtNewAblm"));
        QCOMPARE(albums->PicCount(), 2); // nothing was lost from the list in memory
    }

    // "到全部" shows the time in every row as it was typed, until the rows are rewritten.
    void aTimeGivenToAllShowsAsTyped() {
        makeAlbums(root.path(), {{"一", 3, 0}});
        start();
        selectPicture(1);
        dialogs.driveDialog = [](QDialog& editor) {
            auto* time = editor.findChild<QLineEdit*>(QStringLiteral("EdtSJ"));
            time->setText(QStringLiteral("04"));
            editor.findChild<QPushButton*>(QStringLiteral("BtnToAll"))->click();
            return int(QDialog::Accepted);
        };
        control<QPushButton>("BtnEditP")->click();
        QCOMPARE(storedStayTimes(), (std::vector<int>{4, 4, 4}));
        auto* model = control<QTableView>("LvwP")->model();
        for (int row = 0; row < 3; ++row)
            QCOMPARE(model->index(row, 1).data().toString(), QStringLiteral("04"));

        // Saving a row rewrites it from its record.
        dialogs.driveDialog = [](QDialog& editor) {
            editor.findChild<QLineEdit*>(QStringLiteral("EdtTM"))->setText(QStringLiteral("新"));
            editor.findChild<QPushButton*>(QStringLiteral("BtnSave"))->click();
            return int(QDialog::Accepted);
        };
        control<QPushButton>("BtnEditP")->click();
        QCOMPARE(model->index(1, 1).data().toString(), QStringLiteral("4"));
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("04"));
        // Opening the album again fills the list from the records.
        window->OpenAlbum(0);
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("4"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
