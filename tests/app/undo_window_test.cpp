// The main window's undo and redo: Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z, the lists' context menu,
// every kind of list change taken back and made again, and changes whose writes fail.

#include "../write_failure.h"
#include "album_fixture.h"
#include "app/import/import_progress_dialog.h"
#include "app/main_window/album_list_controller.h"
#include "app/main_window/list_views.h"
#include "app/main_window/main_window.h"
#include "app/main_window/media_lists_controller.h"
#include "scripted_dialogs.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

class UndoWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir root;
    QTemporaryDir sources;
    std::unique_ptr<store::AlbumStore> albums;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmMain> window;

    void start() {
        albums = std::make_unique<store::AlbumStore>(root.path().toStdString());
        window = std::make_unique<TFrmMain>(*albums, dialogs);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    template <class T = QWidget> T* control(const char* name) {
        T* widget = window->findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    int rows(const char* view) { return control<QTableView>(view)->model()->rowCount(); }
    QString cell(const char* view, int row, int column) {
        auto* model = control<QTableView>(view)->model();
        return model->data(model->index(row, column)).toString();
    }
    QString text(const char* name) { return control<QLabel>(name)->text(); }
    QString file(const QString& relative) { return root.path() + QLatin1Char('/') + relative; }
    void press(int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(control<QTableView>("LvwP"), Qt::Key(key), modifiers);
    }
    void undoKey() { press(Qt::Key_Z, Qt::ControlModifier); }
    void redoKey() { press(Qt::Key_Y, Qt::ControlModifier); }
    QString source(const QString& name, QColor colour) {
        QImage image(24, 16, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = sources.filePath(name);
        image.save(path, "BMP");
        return path;
    }
    // A double click as the window system delivers it: press, release, double-click press,
    // release.
    static void doubleClick(QWidget* widget) {
        const QPointF at = QPointF(widget->rect().center());
        const QPointF global = widget->mapToGlobal(at);
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.toPoint());
        QMouseEvent second(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(widget, &second);
        QTest::mouseRelease(widget, Qt::LeftButton, {}, at.toPoint());
    }
    // Runs a program dialog as the user would; the import dialogs run their batch at once.
    void driveDialogs(std::function<void(QDialog&)> drive = {}) {
        dialogs.driveDialog = [drive](QDialog& dialog) {
            if (auto* import = qobject_cast<ImportProgressDialog*>(&dialog)) {
                import->Timer1Timer();
                return int(QDialog::Accepted);
            }
            if (dialog.objectName() == QLatin1String("FrmPicOrder"))
                return int(QDialog::Accepted); // several pictures: the order offered

            if (drive)
                drive(dialog);
            return int(QDialog::Rejected);
        };
    }
    // Runs a user's action whose error the window shows in its box; returns what the boxes it
    // showed said, one line each.
    template <class Action> QString errorOf(Action action) {
        const qsizetype before = dialogs.messages.size();
        action();
        return dialogs.messages.mid(before).join(QLatin1Char('\n'));
    }

  private slots:
    void init() {
        QVERIFY(root.isValid() && sources.isValid());
        dialogs = ScriptedDialogs();
    }
    void cleanup() {
        window.reset();
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
    }

    void doubleClickedDeleteIsTakenBackByTheKeys() {
        makeAlbums(root.path(), {{"a", 5, 0}});
        start();
        control<QTableView>("LvwP")->selectRow(1);
        // A double click on the button deletes two pictures, with no question.
        doubleClick(control<QPushButton>("BtnDelOP"));
        QCOMPARE(rows("LvwP"), 3);
        QVERIFY(!QFile::exists(file("a/P1.jpg")) && !QFile::exists(file("a/P2.jpg")));
        QCOMPARE(QDir(file("a/.vistello-undo")).entryList(QDir::Files).size(), 2);

        undoKey();
        QCOMPARE(rows("LvwP"), 4);
        QVERIFY(QFile::exists(file("a/P2.jpg")));
        undoKey();
        QCOMPARE(rows("LvwP"), 5);
        QCOMPARE(cell("LvwP", 1, 3), QStringLiteral("图1"));
        QCOMPARE(selectedRow(control<QTableView>("LvwP")), 1);
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [共5张图片]"));
        QVERIFY(QFile::exists(file("a/P1.jpg")));
        QVERIFY(!QDir(file("a/.vistello-undo")).exists());

        redoKey();
        QCOMPARE(rows("LvwP"), 4);
        press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(rows("LvwP"), 3);
        QCOMPARE(albums->PicCount(), 3);
        QVERIFY(!QFile::exists(file("a/P2.jpg")));

        window.reset(); // the end of the run
        QVERIFY(!QDir(file("a/.vistello-undo")).exists());
        QCOMPARE(QDir(file("a")).entryList({"P*.jpg"}), (QStringList{"P0.jpg", "P3.jpg", "P4.jpg"}));
    }

    void contextMenuOffersWhatUndoAndRedoTakeBack() {
        makeAlbums(root.path(), {{"a", 2, 0}});
        start();
        auto* list = control<QTableView>("LvwP");
        auto* menu = control<QMenu>("PmnList");
        auto* undo = control<QAction>("ActUndo");
        auto* redo = control<QAction>("ActRedo");
        list->selectRow(0);
        control<QPushButton>("BtnDelOP")->click();

        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(30, 10),
                                list->viewport()->mapToGlobal(QPoint(30, 10)));
        QApplication::sendEvent(list->viewport(), &click);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->actions(), (QList<QAction*>{undo, redo}));
        QCOMPARE(undo->text(), QStringLiteral("撤销删除图片"));
        QVERIFY(undo->isEnabled());
        QCOMPARE(redo->text(), QStringLiteral("重做"));
        QVERIFY(!redo->isEnabled());

        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(undo).center());
        QTRY_VERIFY(!menu->isVisible());
        QCOMPARE(rows("LvwP"), 2);
        QCOMPARE(redo->text(), QStringLiteral("重做删除图片"));
        QCOMPARE(undo->text(), QStringLiteral("撤销"));

        // The album list has the same menu.
        auto* albumList = control<QTableView>("LvwA");
        QContextMenuEvent onAlbums(QContextMenuEvent::Mouse, QPoint(30, 10),
                                   albumList->viewport()->mapToGlobal(QPoint(30, 10)));
        QApplication::sendEvent(albumList->viewport(), &onAlbums);
        QTRY_VERIFY(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(redo).center());
        QTRY_VERIFY(!menu->isVisible());
        QCOMPARE(rows("LvwP"), 1);

        // An empty list is disabled; its menu still comes.
        dialogs.answers = {true};
        control<QPushButton>("BtnDelAP")->click();
        QVERIFY(!list->isEnabled());
        QContextMenuEvent onEmpty(QContextMenuEvent::Mouse, QPoint(30, 10),
                                  list->viewport()->mapToGlobal(QPoint(30, 10)));
        QApplication::sendEvent(list->viewport(), &onEmpty);
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(undo->text(), QStringLiteral("撤销删除全部图片"));
        menu->hide();
    }

    // Each kind of change in the window, taken back and made again; `after` is the picture
    // rows, song rows and album rows it leaves.
    void everyKindOfChangeIsUndoneAndRedone_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("move") << "move"
                              << "撤销移动图片" << QList<int>{3, 2, 2};
        QTest::newRow("delete all pictures") << "delete all"
                                             << "撤销删除全部图片" << QList<int>{0, 2, 2};
        QTest::newRow("delete a song") << "delete song"
                                       << "撤销删除音乐" << QList<int>{3, 1, 2};
        QTest::newRow("edit") << "edit"
                              << "撤销编辑图片信息" << QList<int>{3, 2, 2};
        QTest::newRow("import pictures") << "import"
                                         << "撤销加入图片" << QList<int>{5, 2, 2};
        QTest::newRow("create an album") << "create"
                                         << "撤销新建相册《丙》" << QList<int>{0, 0, 3};
        QTest::newRow("delete an album") << "delete album"
                                         << "撤销删除相册《甲》" << QList<int>{1, 0, 1};
    }
    void everyKindOfChangeIsUndoneAndRedone() {
        QFETCH(QString, change);
        QFETCH(QString, caption);
        QFETCH(QList<int>, after);
        makeAlbums(root.path(), {{"甲", 3, 2}, {"乙", 1, 0}});
        start();
        const auto shown = [&] { return QList<int>{rows("LvwP"), rows("LvwM"), rows("LvwA")}; };
        const QList<int> before = shown();
        const QString firstTitle = cell("LvwP", 0, 3);
        driveDialogs();
        if (change == "move") {
            control<QTableView>("LvwP")->selectRow(0);
            control<QToolButton>("BtnDP")->click();
            QCOMPARE(cell("LvwP", 1, 3), firstTitle);
        } else if (change == "delete all") {
            dialogs.answers = {true};
            control<QPushButton>("BtnDelAP")->click();
        } else if (change == "delete song") {
            control<QToolButton>("SbtEditMusic")->click();
            control<QTableView>("LvwM")->selectRow(0);
            control<QPushButton>("BtnDelOP")->click();
            control<QToolButton>("SbtEditpic")->click(); // undo brings the song page back
        } else if (change == "edit") {
            driveDialogs([](QDialog& editor) {
                editor.findChild<QLineEdit*>(QStringLiteral("EdtTM"))->setText(QStringLiteral("新题目"));
                editor.findChild<QPushButton*>(QStringLiteral("BtnSave"))->click();
            });
            control<QTableView>("LvwP")->selectRow(0);
            control<QPushButton>("BtnEditP")->click();
            QCOMPARE(cell("LvwP", 0, 3), QStringLiteral("新题目"));
        } else if (change == "import") {
            dialogs.filesToOpen = {source("x.bmp", Qt::red), source("y.bmp", Qt::green)};
            control<QPushButton>("BtnAddP")->click();
            QVERIFY(QFile::exists(file("甲/P4.jpg")));
        } else if (change == "create") {
            driveDialogs([](QDialog& dialog) {
                dialog.findChild<QLineEdit*>(QStringLiteral("Edt"))->setText(QStringLiteral("丙"));
                dialog.findChild<QPushButton*>(QStringLiteral("BtnAdd"))->click();
            });
            control<QToolButton>("SbtNewAblm")->click();
            QVERIFY(QDir(file("丙")).exists());
        } else if (change == "delete album") {
            dialogs.answers = {true};
            control<QToolButton>("SbtDelA")->click();
            QVERIFY(!QDir(file("甲")).exists());
        }
        QCOMPARE(shown(), after);
        QCOMPARE(control<QAction>("ActUndo")->text(), caption);

        undoKey();
        QCOMPARE(shown(), before);
        QCOMPARE(cell("LvwP", 0, 3), firstTitle);
        QCOMPARE(text("PnlCurAblmTile"), QStringLiteral("编辑相册《甲》中的图片与音乐"));
        QVERIFY(QFile::exists(file("甲/P2.jpg")) && QFile::exists(file("甲/M1.mp3")));
        QVERIFY(!QFile::exists(file("甲/P3.jpg")) && !QDir(file("丙")).exists());
        if (change == "delete song")
            QVERIFY(control<QWidget>("LvwM")->isVisible());
        store::AlbumStore reread(root.path().toStdString());
        reread.LoadInfo("A");
        reread.openAlbum(0);
        QCOMPARE(reread.AlbumCount(), 2);
        QCOMPARE(reread.PicCount(), 3);
        QCOMPARE(reread.MusicCount(), 2);

        redoKey();
        QCOMPARE(shown(), after);
        QVERIFY(!control<QAction>("ActRedo")->isEnabled());
    }

    // With nothing writable, deleting an album costs nothing and the window shows what the
    // store holds; the error names the list file.
    void anAlbumThatCannotBeDeletedStaysWhole() {
        makeAlbums(root.path(), {{"a", 2, 0}, {"b", 0, 0}});
        start();
        dialogs.answers = {true};
        QString error;
        {
            failures::FileSizeLimit noWrites(0);
            error = errorOf([&] { control<QToolButton>("SbtDelA")->click(); });
        }
        QVERIFY2(error.contains(file("Album")), qPrintable(error));
        QCOMPARE(rows("LvwA"), 2);
        QCOMPARE(cell("LvwA", 0, 1), QStringLiteral("a"));
        QCOMPARE(cell("LvwA", 1, 1), QStringLiteral("b"));
        QCOMPARE(text("PnlAllAblumTile"), QStringLiteral("现有相册列表[共2个]"));
        QCOMPARE(rows("LvwP"), 2);
        QVERIFY(QFile::exists(file("a/P1.jpg")));
        QVERIFY(!control<QAction>("ActUndo")->isEnabled());
    }

    void aPictureThatCannotBeDeletedStaysInTheListAndOnDisk() {
        makeAlbums(root.path(), {{"a", 3, 0}});
        start();
        control<QTableView>("LvwP")->selectRow(1);
        QString error;
        {
            failures::FileSizeLimit noWrites(0);
            error = errorOf([&] { control<QPushButton>("BtnDelOP")->click(); });
        }
        QVERIFY2(error.contains(file("a/PicInfo")), qPrintable(error));
        QCOMPARE(rows("LvwP"), 3);
        QCOMPARE(cell("LvwP", 1, 3), QStringLiteral("图1"));
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [共3张图片]"));
        QVERIFY(QFile::exists(file("a/P1.jpg")));
        // The next change saves all three records.
        control<QTableView>("LvwP")->selectRow(0);
        control<QToolButton>("BtnDP")->click();
        store::AlbumStore reread(root.path().toStdString());
        reread.LoadInfo("A");
        reread.openAlbum(0);
        QCOMPARE(reread.PicCount(), 3);
    }

    void anImportThatCannotWriteSaysSoAndAddsNothing() {
        makeAlbums(root.path(), {{"a", 1, 0}});
        start();
        driveDialogs();
        dialogs.filesToOpen = {source("x.bmp", Qt::red), source("y.bmp", Qt::green)};
        QString error;
        {
            failures::FileSizeLimit noWrites(0);
            error = errorOf([&] { control<QPushButton>("BtnAddP")->click(); });
        }
        QVERIFY2(error.contains(file("a/P1.jpg")), qPrintable(error));
        QCOMPARE(rows("LvwP"), 1);
        QCOMPARE(text("PnlListTile"), QStringLiteral("当前相册全部图片列表 [共1张图片]"));
        QCOMPARE(QDir(file("a")).entryList(QDir::Files), (QStringList{"MusicInfo", "P0.jpg", "PicInfo"}));
        QVERIFY(!control<QAction>("ActUndo")->isEnabled());
    }
};

QTEST_MAIN(UndoWindowTest)
#include "undo_window_test.moc"
