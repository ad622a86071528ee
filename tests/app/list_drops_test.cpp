// Drops onto the main window's lists: files and a folder from the file manager are imported
// as the add button imports them (the order question, the progress dialog, the records),
// files of other kinds skipped and counted; a dragged row moves to where it is dropped and
// the list file is rewritten; drops from elsewhere or with no album open do nothing.

#include "../audio/mp3_fixture.h"
#include "album_fixture.h"
#include "app/main_window/list_drops.h"
#include "app/main_window/list_models.h"
#include "app/main_window/main_window.h"
#include "scripted_dialogs.h"

#include <QAbstractButton>
#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

namespace {

QString fixture(const char* name) {
    return QStringLiteral(VISTELLO_TEST_DATA "/pictures/") + QLatin1String(name);
}

QList<QUrl> urlsOf(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    return urls;
}

} // namespace

class ListDropsTest : public QObject {
    Q_OBJECT
    QTemporaryDir root;
    QTemporaryDir sources;
    std::unique_ptr<store::AlbumStore> albums;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmMain> window;
    QStringList importNotes; // the skipped-files note of every import dialog ("" when none)
    int orderQuestions = 0;

    void start(std::initializer_list<AlbumContents> contents) {
        makeAlbums(root.path(), contents);
        albums = std::make_unique<store::AlbumStore>(root.path().toStdString());
        window = std::make_unique<TFrmMain>(*albums, dialogs);
        window->show();
        dialogs.driveDialog = [this](QDialog& dialog) {
            if (dialog.objectName() == QLatin1String("FrmPicOrder")) {
                ++orderQuestions;
                dialog.findChild<QRadioButton*>("RbtnByName")->click();
                dialog.findChild<QPushButton*>("BtnOK")->click();
                return dialog.result();
            }
            const auto* note = dialog.findChild<QLabel*>("LabSkipped");
            importNotes << (note ? note->text() : QString());
            return dialog.exec();
        };
    }
    QTableView* list(const char* name) { return window->findChild<QTableView*>(name); }
    // Drags `data` over the list's viewport and drops it at `row` (below the last row when
    // the row does not exist); true when the list accepted the drag.
    bool drop(QTableView* view, QMimeData* data, int row) {
        const int rows = view->model()->rowCount();
        const QPoint at = row < rows ? view->visualRect(view->model()->index(row, 1)).center()
                                     : QPoint(10, view->viewport()->height() - 2);
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                           Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &dropped);
        return dropped.isAccepted();
    }
    // Files dropped on a list; on a disabled (empty) one Qt hands the drop to the notebook
    // that holds the lists, as this does.
    bool dropFiles(const char* view, const QStringList& paths) {
        QMimeData data;
        data.setUrls(urlsOf(paths));
        if (list(view)->isEnabled())
            return drop(list(view), &data, 0);
        auto* notebook = window->findChild<QWidget*>("NotebookList");
        const QPoint at = notebook->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(notebook, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(notebook, &dropped);
        return dropped.isAccepted();
    }
    void showSongs() { window->findChild<QAbstractButton*>("SbtEditMusic")->click(); }
    QStringList remarks() const {
        QStringList names;
        for (const auto& picture : albums->PicList)
            names << QString::fromStdString(picture.Remark.text());
        return names;
    }
    QString write(const QString& relative, const QString& from = {}) {
        const QString path = sources.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (from.isEmpty()) {
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write("not a picture");
        } else {
            QFile::copy(from, path);
        }
        return path;
    }

  private slots:
    void cleanup() {
        window.reset();
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
        QDir(sources.path()).removeRecursively();
        QDir().mkpath(sources.path());
        importNotes.clear();
        orderQuestions = 0;
    }

    void droppedFolderIsWalkedWithItsSubfolders() {
        write("trip/b.heic", fixture("heic_photo.heic"));
        write("trip/notes.txt");
        write("trip/day2/a.PNG", fixture("png_rgb.png"));
        write("trip/day2/song.mp3");
        write("loose.webp", fixture("webp_lossy.webp"));
        const DroppedFiles dropped =
            collectDroppedFiles(urlsOf({sources.filePath("trip"), sources.filePath("loose.webp"),
                                        sources.filePath("missing.jpg")}) +
                                    QList<QUrl>{QUrl("https://example.invalid/x.jpg")},
                                {"jpg", "png", "heic", "webp"});
        QCOMPARE(dropped.files,
                 (QStringList{sources.filePath("trip/b.heic"), sources.filePath("trip/day2/a.PNG"),
                              sources.filePath("loose.webp")}));
        QCOMPARE(dropped.skipped, 2);
    }

    void droppedPicturesAreImportedAsTheAddButtonDoes() {
        start({{"a", 0, 0}});
        write("trip/IMG_10.heic", fixture("heic_photo.heic"));
        write("trip/IMG_2.png", fixture("png_alpha.png"));
        write("trip/readme.txt");
        write("trip/sub/IMG_3.tif", fixture("tiff_lzw.tif"));
        write("trip/sub/cover.doc");
        QVERIFY(dropFiles("LvwP", {sources.filePath("trip"), fixture("gif_animated.gif")}));
        QCOMPARE(orderQuestions, 1);
        QCOMPARE(importNotes, QStringList{QStringLiteral("另有2个文件不是图片，已跳过")});
        // By name, as answered; the records are the add button's.
        QCOMPARE(remarks(), (QStringList{"gif_animated.gif", "IMG_2.png", "IMG_3.tif", "IMG_10.heic"}));
        QCOMPARE(albums->PicList[0].StayTime, 3);
        QCOMPARE(QString::fromStdString(albums->PicList[3].FileName.text()), QStringLiteral("P3.jpg"));
        QCOMPARE(list("LvwP")->model()->rowCount(), 4);

        // A single dropped picture goes in without the question and without a note.
        QVERIFY(dropFiles("LvwP", {fixture("webp_lossy.webp")}));
        QCOMPARE(orderQuestions, 1);
        QCOMPARE(importNotes.last(), QString());
        QCOMPARE(remarks().last(), QStringLiteral("webp_lossy.webp"));
    }

    void droppedSongsAndFilesOfNoKindOfTheList() {
        start({{"a", 0, 0}});
        const QString song = sources.filePath("tune.mp3");
        QVERIFY(audio::test::makeMp3(song.toStdString(), {44100, 2, 22050}));
        write("cover.png", fixture("png_rgb.png"));
        showSongs();
        QVERIFY(dropFiles("LvwM", {song, sources.filePath("cover.png")}));
        QCOMPARE(albums->MusicCount(), 1);
        QCOMPARE(importNotes, QStringList{QStringLiteral("另有1个文件不是MP3音乐，已跳过")});

        // Only files of other kinds: said, nothing imported.
        window->findChild<QAbstractButton*>("SbtEditpic")->click();
        QVERIFY(dropFiles("LvwP", {write("a.txt"), write("b.doc")}));
        QCOMPARE(albums->PicCount(), 0);
        QCOMPARE(dialogs.messages, QStringList{QStringLiteral("拖入的2个文件都不是图片，没有导入。")});
    }

    void aDraggedRowMovesToWhereItIsDropped() {
        start({{"a", 4, 0}});
        auto stayTimes = [this] {
            store::AlbumStore reread(root.path().toStdString());
            reread.LoadInfo("A");
            reread.openAlbum(0);
            std::vector<int> times;
            for (const auto& p : reread.PicList)
                times.push_back(p.StayTime);
            return times;
        };
        const std::vector<int> before = stayTimes();
        QTableView* pictures = list("LvwP");
        std::unique_ptr<QMimeData> row(pictures->model()->mimeData({pictures->model()->index(0, 1)}));
        QVERIFY(row->hasFormat(kRowDragMimeType));
        QVERIFY(drop(pictures, row.get(), 2));
        QCOMPARE(stayTimes(), (std::vector{before[1], before[2], before[0], before[3]}));
        QCOMPARE(pictures->currentIndex().row(), 2);
        QCOMPARE(albums->PicIndex, 2);
        // Below the last row: to the end.
        std::unique_ptr<QMimeData> first(pictures->model()->mimeData({pictures->model()->index(0, 1)}));
        QVERIFY(drop(pictures, first.get(), 99));
        QCOMPARE(stayTimes(), (std::vector{before[2], before[0], before[3], before[1]}));

        // The move is one change, which undo takes back.
        window->findChild<QAction*>("ActUndo")->trigger();
        QCOMPARE(stayTimes(), (std::vector{before[1], before[2], before[0], before[3]}));
        window->findChild<QAction*>("ActRedo")->trigger();
        QCOMPARE(stayTimes(), (std::vector{before[2], before[0], before[3], before[1]}));

        // A song row is not a picture row, and nothing is dropped with no album open.
        QMimeData song;
        song.setData(kRowDragMimeType, "LvwM 0");
        QVERIFY(!drop(pictures, &song, 1));
        QCOMPARE(stayTimes(), (std::vector{before[2], before[0], before[3], before[1]}));
    }

    void nothingIsDroppedWithNoAlbumOpen() {
        start({{"a", 1, 0}});
        albums->AlbumIndex = -1;
        QMimeData data;
        data.setUrls(urlsOf({fixture("png_rgb.png")}));
        QVERIFY(!drop(list("LvwP"), &data, 0));
        QVERIFY(importNotes.isEmpty());
    }
};

QTEST_MAIN(ListDropsTest)
#include "list_drops_test.moc"
