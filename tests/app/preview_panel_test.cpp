// The main window's preview panel: browsing both lists with the arrow buttons, the shown
// picture and the loaded song following the selection, the player page's buttons and its
// position track bar, and what stops a playing song.

#include "../audio/mp3_fixture.h"
#include "album_fixture.h"
#include "app/main_window/main_window.h"
#include "app/main_window/preview_controller.h"
#include "app/widgets/zel_mp3_play.h"
#include "scripted_dialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTableView>
#include <QTest>
#include <QToolButton>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

namespace {
// What thePanelShowsOnlyWhatTheOpenAlbumHolds does to the open album; the song changes last.
enum Change {
    CreateAlbum,
    DeleteAlbum,
    DeleteLastAlbum,
    DeleteAllPictures,
    DeleteOnlyPicture,
    DeletePlayingSong,
    DeleteOnlySong,
    DeleteAllSongs
};
} // namespace

class PreviewPanelTest : public QObject {
    Q_OBJECT

    QTemporaryDir tones;
    QTemporaryDir root;
    std::unique_ptr<store::AlbumStore> albums;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFrmMain> window;

    static constexpr int kTones = 3;
    std::filesystem::path tone(int i) const {
        return tones.path().toStdString() + "/tone" + std::to_string(i) + ".mp3";
    }

    // makeAlbums leaves empty song files; the player needs real ones.
    void giveSongsMusic(const char* album, int songs) {
        for (int i = 0; i < songs; ++i) {
            const QString file =
                root.path() + "/" + QString::fromUtf8(album) + "/M" + QString::number(i) + ".mp3";
            QFile::remove(file);
            QVERIFY(QFile::copy(QString::fromStdString(tone(i % kTones).string()), file));
        }
    }
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
    bool enabled(const char* name) { return control(name)->isEnabled(); }
    QString title() { return control<QLabel>("PnlCurLook")->text(); }
    int selected(const char* view) {
        const QModelIndexList rows = control<QTableView>(view)->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }
    TZelMp3Play* player() { return control<TZelMp3Play>("ZelMp3Play1"); }
    QSlider* trackBar() { return control<QSlider>("bsSkinTrackBar1"); }
    // The pictures of makeAlbums are 40 + 10 × i pixels wide: the width tells which one shows.
    int shownPictureWidth() {
        auto* image = control<QLabel>("ImgPicShow");
        return image->isHidden() ? -1 : image->pixmap().width();
    }
    QString loadedSong() { return QFileInfo(player()->FileName()).fileName(); }
    void showSongTab() { control<QToolButton>("SbtEditMusic")->click(); }
    void play() {
        QVERIFY(enabled("SbtPlay"));
        control<QToolButton>("SbtPlay")->click();
        QCOMPARE(player()->state(), audio::PlayerState::Playing);
    }
    QPoint trackBarHandle() {
        QSlider* bar = trackBar();
        QStyleOptionSlider option;
        option.initFrom(bar);
        option.orientation = bar->orientation();
        option.minimum = bar->minimum();
        option.maximum = bar->maximum();
        option.sliderPosition = bar->sliderPosition();
        option.sliderValue = bar->value();
        option.singleStep = bar->singleStep();
        option.pageStep = bar->pageStep();
        option.subControls = QStyle::SC_All;
        return bar->style()
            ->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, bar)
            .center();
    }

  private slots:
    void initTestCase() {
        QVERIFY(tones.isValid());
        // Two seconds each, on different pitches, small enough to keep the test quick.
        for (int i = 0; i < kTones; ++i)
            QVERIFY(audio::test::makeMp3(
                tone(i), {44100, 2, 88200, {"-c:a", "libmp3lame", "-b:a", "64k"}, 440.0 * (i + 1)}));
    }
    void init() {
        QVERIFY(root.isValid());
        dialogs = ScriptedDialogs();
    }
    void cleanup() {
        window.reset();
        QDir(root.path()).removeRecursively();
        QDir().mkpath(root.path());
    }

    void pictureTabButtonsFollowTheSelection_data() {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("previous");
        QTest::addColumn<bool>("next");
        QTest::addColumn<QString>("caption");
        QTest::newRow("first of three") << 3 << 0 << false << true << QStringLiteral("图片预览[第1张]");
        QTest::newRow("middle of three") << 3 << 1 << true << true << QStringLiteral("图片预览[第2张]");
        QTest::newRow("last of three") << 3 << 2 << true << false << QStringLiteral("图片预览[第3张]");
        QTest::newRow("only one") << 1 << 0 << false << false << QStringLiteral("图片预览[第1张]");
        QTest::newRow("empty album") << 0 << -1 << false << false << QStringLiteral("图片预览[暂无]");
    }
    void pictureTabButtonsFollowTheSelection() {
        QFETCH(int, pictures);
        QFETCH(int, row);
        QFETCH(bool, previous);
        QFETCH(bool, next);
        QFETCH(QString, caption);
        makeAlbums(root.path(), {{"a", pictures, 0}});
        start();
        window->show();
        if (row >= 0)
            control<QTableView>("LvwP")->selectRow(row);
        QCOMPARE(enabled("BtnPP"), previous);
        QCOMPARE(enabled("BtnNP"), next);
        QCOMPARE(title(), caption);
        QCOMPARE(albums->PicIndex, row);
        QCOMPARE(shownPictureWidth(), row >= 0 ? 40 + 10 * row : -1);
        QCOMPARE(control<QStackedWidget>("NotebookLook")->currentIndex(), 0);
    }

    void aNewPictureUnderAnOldFileNameIsShown() {
        makeAlbums(root.path(), {{"a", 1, 0}});
        start();
        window->show();
        QCOMPARE(shownPictureWidth(), 40);
        control<QPushButton>("BtnDelOP")->click();
        QCOMPARE(title(), QStringLiteral("图片预览[暂无]"));
        // The import gives the new picture the freed name P0.jpg again.
        const QString file = tones.path() + QStringLiteral("/wide.bmp");
        QImage wide(90, 30, QImage::Format_RGB888);
        wide.fill(Qt::darkCyan);
        QVERIFY(wide.save(file));
        dialogs.filesToOpen = {file};
        dialogs.driveDialog = [](QDialog& dialog) { return dialog.exec(); };
        control<QPushButton>("BtnAddP")->click();
        QCOMPARE(albums->PicCount(), 1);
        QCOMPARE(albums->PicList[0].FileName.text(), std::string("P0.jpg"));
        QCOMPARE(title(), QStringLiteral("图片预览[第1张]"));
        QCOMPARE(shownPictureWidth(), 90);
    }

    void browsingPicturesWalksTheList() {
        makeAlbums(root.path(), {{"a", 3, 2}});
        start();
        window->show();
        auto* next = control<QToolButton>("BtnNP");
        auto* previous = control<QToolButton>("BtnPP");
        QCOMPARE(next->toolTip(), QStringLiteral("浏览下幅图片"));
        QCOMPARE(previous->toolTip(), QStringLiteral("浏览上幅图片"));
        QCOMPARE(next->size(), QSize(25, 18));

        next->click();
        QCOMPARE(selected("LvwP"), 1);
        QCOMPARE(albums->PicIndex, 1);
        QCOMPARE(shownPictureWidth(), 50);
        // 50 × 30 fitted into the 173 × 138 box: full width, centred, 17.5 rounds to 18.
        QCOMPARE(control<QLabel>("ImgPicShow")->geometry(), QRect(0, 18, 173, 103));
        QCOMPARE(title(), QStringLiteral("图片预览[第2张]"));
        next->click();
        QCOMPARE(selected("LvwP"), 2);
        QCOMPARE(shownPictureWidth(), 60);
        QVERIFY(!next->isEnabled());
        window->preview().BtnNPClick(); // at the end: nothing moves
        QCOMPARE(selected("LvwP"), 2);
        QCOMPARE(shownPictureWidth(), 60);
        previous->click();
        previous->click();
        QCOMPARE(selected("LvwP"), 0);
        QCOMPARE(albums->PicIndex, 0);
        QCOMPARE(shownPictureWidth(), 40);
        QVERIFY(!previous->isEnabled());
        QCOMPARE(selected("LvwM"), 0); // the song list was not touched

        // With no row selected, "previous" finds nothing and "next" takes the second row.
        control<QTableView>("LvwP")->clearSelection();
        window->preview().BtnPPClick();
        QCOMPARE(selected("LvwP"), -1);
        QCOMPARE(title(), QStringLiteral("图片预览[第0张]"));
        QVERIFY(!previous->isEnabled());
        QVERIFY(next->isEnabled());
        next->click();
        QCOMPARE(selected("LvwP"), 1);
        QCOMPARE(shownPictureWidth(), 50);
    }

    void anUnreadablePictureKeepsThePreviousOne() {
        makeAlbums(root.path(), {{"a", 2, 0}});
        QFile damaged(root.path() + QStringLiteral("/a/P1.jpg"));
        QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("not a picture");
        damaged.close();
        start();
        window->show();
        QCOMPARE(shownPictureWidth(), 40);
        control<QToolButton>("BtnNP")->click();
        // The window's error box names the file (a damaged file may bring the picture reader's
        // own box first).
        QCOMPARE(dialogs.messages.filter(QStringLiteral("无法读取图片文件")).size(), 1);
        QVERIFY2(dialogs.messages.last().contains(QStringLiteral("P1.jpg")),
                 qPrintable(dialogs.messages.last()));
        QCOMPARE(selected("LvwP"), 1);
        QCOMPARE(shownPictureWidth(), 40);
    }

    void songTabBrowsesSongsAndLoadsWithoutPlaying() {
        makeAlbums(root.path(), {{"a", 2, 3}});
        giveSongsMusic("a", 3);
        start();
        window->show();
        showSongTab();
        QCOMPARE(control<QStackedWidget>("NotebookLook")->currentIndex(), 1);
        QCOMPARE(title(), QStringLiteral("音乐视听[第1张]"));
        QCOMPARE(loadedSong(), QStringLiteral("M0.mp3"));
        QVERIFY(!enabled("BtnPP"));
        QVERIFY(enabled("BtnNP"));
        for (const char* name : {"SbtPlay", "SbtPause", "SbtStop", "bsSkinTrackBar1"})
            QVERIFY2(enabled(name), name);

        play();
        control<QToolButton>("BtnNP")->click(); // the buttons now act on the song list
        QCOMPARE(selected("LvwM"), 1);
        QCOMPARE(albums->MusicIndex, 1);
        QCOMPARE(loadedSong(), QStringLiteral("M1.mp3"));
        QCOMPARE(player()->state(), audio::PlayerState::Closed);
        QCOMPARE(title(), QStringLiteral("音乐视听[第2张]"));
        QCOMPARE(selected("LvwP"), 0);
        control<QToolButton>("BtnNP")->click();
        QCOMPARE(loadedSong(), QStringLiteral("M2.mp3"));
        QVERIFY(!enabled("BtnNP"));
        QVERIFY(enabled("BtnPP"));
        control<QToolButton>("BtnPP")->click();
        QCOMPARE(selected("LvwM"), 1);
        QCOMPARE(loadedSong(), QStringLiteral("M1.mp3"));
        QCOMPARE(player()->state(), audio::PlayerState::Closed);

        // Back on the picture tab the same buttons browse the pictures again.
        control<QToolButton>("SbtEditpic")->click();
        control<QToolButton>("BtnNP")->click();
        QCOMPARE(selected("LvwP"), 1);
        QCOMPARE(selected("LvwM"), 1);
        QCOMPARE(shownPictureWidth(), 50);
    }

    void songTabWithoutPlayableSongs_data() {
        QTest::addColumn<int>("songs");
        QTest::addColumn<bool>("missingFile");
        QTest::addColumn<QString>("caption");
        QTest::newRow("no songs") << 0 << false << QStringLiteral("音乐视听[暂无]");
        QTest::newRow("one song") << 1 << false << QStringLiteral("音乐视听[第1张]");
        QTest::newRow("file gone") << 1 << true << QStringLiteral("音乐视听[第1张]");
    }
    void songTabWithoutPlayableSongs() {
        QFETCH(int, songs);
        QFETCH(bool, missingFile);
        QFETCH(QString, caption);
        makeAlbums(root.path(), {{"a", 1, songs}});
        giveSongsMusic("a", songs);
        if (missingFile)
            QVERIFY(QFile::remove(root.path() + "/a/M0.mp3"));
        start();
        showSongTab();
        QCOMPARE(title(), caption);
        QVERIFY(!enabled("BtnPP"));
        QVERIFY(!enabled("BtnNP"));
        const bool playable = songs > 0 && !missingFile;
        for (const char* name : {"SbtPlay", "SbtPause", "SbtStop", "bsSkinTrackBar1"})
            QVERIFY2(enabled(name) == playable, name);
        QCOMPARE(loadedSong(), songs > 0 ? QStringLiteral("M0.mp3") : QString());
    }

    void playerButtonsPlayPauseAndStop() {
        makeAlbums(root.path(), {{"a", 0, 1}});
        giveSongsMusic("a", 1);
        start();
        showSongTab();
        play();
        player()->model().tick();
        QCOMPARE(trackBar()->maximum(), QFileInfo(player()->FileName()).size());
        control<QToolButton>("SbtPause")->click();
        QCOMPARE(player()->state(), audio::PlayerState::Paused);
        control<QToolButton>("SbtPlay")->click();
        QCOMPARE(player()->state(), audio::PlayerState::Playing);
        trackBar()->setValue(trackBar()->maximum() / 2);
        control<QToolButton>("SbtStop")->click();
        QCOMPARE(player()->state(), audio::PlayerState::Closed);
        QCOMPARE(trackBar()->value(), 0); // the stop's progress report puts the bar back
    }

    void trackBarPausesWhileHeldAndSeeksOnRelease() {
        makeAlbums(root.path(), {{"a", 0, 1}});
        giveSongsMusic("a", 1);
        start();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        showSongTab();
        play();
        player()->model().tick(); // the first report gives the bar its range: the file's bytes
        QSlider* bar = trackBar();
        const int fileBytes = static_cast<int>(QFileInfo(player()->FileName()).size());
        QCOMPARE(bar->maximum(), fileBytes);
        QVERIFY(bar->value() < fileBytes / 4);

        const QPoint grip = trackBarHandle();
        QTest::mousePress(bar, Qt::LeftButton, {}, grip);
        QVERIFY(bar->isSliderDown());
        QCOMPARE(player()->state(), audio::PlayerState::Paused);
        QVERIFY(!player()->timer().isActive());

        // Drag the grip to the middle of the groove.
        const int span = bar->width() - 2 * (grip.x() - bar->rect().left());
        const QPoint middle(grip.x() + span / 2, grip.y());
        QTest::mouseMove(bar, middle);
        const int released = bar->value();
        QVERIFY2(released > fileBytes * 3 / 10 && released < fileBytes * 7 / 10,
                 qPrintable(QString::number(released)));
        // Progress reports while the mouse holds the bar do not move it.
        emit player()->OnProgress(&player()->timer(), fileBytes, 10, QStringLiteral("00:00"));
        QCOMPARE(bar->value(), released);
        QCOMPARE(bar->maximum(), fileBytes);

        QTest::mouseRelease(bar, Qt::LeftButton, {}, middle);
        QVERIFY(!bar->isSliderDown());
        QCOMPARE(player()->state(), audio::PlayerState::Playing);
        // Playback goes on from where the bar was let go (the sound device plays on in real
        // time, so allow for a slow machine).
        const std::int64_t position = player()->model().engine().filePosition();
        QVERIFY2(
            position >= released - fileBytes / 50 && position < released + fileBytes / 4,
            qPrintable(QStringLiteral("%1 of %2 released at %3").arg(position).arg(fileBytes).arg(released)));
        player()->model().tick(); // reports are back on
        QVERIFY(bar->value() >= released - fileBytes / 50 && bar->value() < released + fileBytes / 4);
    }

    void choosingAnotherSongStopsPlayback() {
        makeAlbums(root.path(), {{"a", 1, 3}});
        giveSongsMusic("a", 3);
        start();
        showSongTab();
        play();
        player()->model().tick();
        control<QTableView>("LvwM")->selectRow(2);
        QCOMPARE(player()->state(), audio::PlayerState::Closed);
        QCOMPARE(albums->MusicIndex, 2);
        QCOMPARE(loadedSong(), QStringLiteral("M2.mp3"));
        QCOMPARE(trackBar()->value(), 0);
        QCOMPARE(title(), QStringLiteral("音乐视听[第3张]"));
        QVERIFY(!enabled("BtnNP"));
        QVERIFY(enabled("SbtPlay"));
    }

    void tabSwitchKeepsPlayingUntilTheSongTabReturns() {
        makeAlbums(root.path(), {{"a", 2, 2}});
        giveSongsMusic("a", 2);
        start();
        showSongTab();
        control<QTableView>("LvwM")->selectRow(1);
        play();
        control<QToolButton>("SbtEditpic")->click();
        QCOMPARE(control<QStackedWidget>("NotebookLook")->currentIndex(), 0);
        QCOMPARE(player()->state(), audio::PlayerState::Playing);
        QCOMPARE(title(), QStringLiteral("图片预览[第1张]"));
        showSongTab(); // the song is given to the player again, which stops it
        QCOMPARE(control<QStackedWidget>("NotebookLook")->currentIndex(), 1);
        QCOMPARE(player()->state(), audio::PlayerState::Closed);
        QCOMPARE(loadedSong(), QStringLiteral("M1.mp3"));
        QCOMPARE(title(), QStringLiteral("音乐视听[第2张]"));
    }

    void choosingAnotherAlbumClearsThePanel_data() {
        QTest::addColumn<int>("pictures");
        QTest::addColumn<int>("songs");
        QTest::addColumn<int>("pictureWidth");
        QTest::addColumn<QString>("song");
        QTest::addColumn<QString>("caption");
        QTest::newRow("empty album") << 0 << 0 << -1 << QString() << QStringLiteral("音乐视听[暂无]");
        QTest::newRow("full album") << 2 << 2 << 40 << QStringLiteral("M0.mp3")
                                    << QStringLiteral("音乐视听[第1张]");
    }
    void choosingAnotherAlbumClearsThePanel() {
        QFETCH(int, pictures);
        QFETCH(int, songs);
        QFETCH(int, pictureWidth);
        QFETCH(QString, song);
        QFETCH(QString, caption);
        makeAlbums(root.path(), {{"a", 3, 2}, {"b", pictures, songs}});
        giveSongsMusic("a", 2);
        giveSongsMusic("b", songs);
        start();
        window->show();
        control<QTableView>("LvwP")->selectRow(2);
        QCOMPARE(shownPictureWidth(), 60);
        showSongTab();
        control<QTableView>("LvwM")->selectRow(1);
        play();
        control<QTableView>("LvwA")->selectRow(1);
        QCOMPARE(player()->state(), audio::PlayerState::Closed);
        QCOMPARE(loadedSong(), song);
        QCOMPARE(title(), caption);
        QCOMPARE(control<QStackedWidget>("NotebookLook")->currentIndex(), 1);
        // The new album's first picture waits on the picture page; an album without pictures
        // leaves that page empty, not showing the old album's picture.
        QCOMPARE(shownPictureWidth(), pictureWidth);
        control<QToolButton>("SbtEditpic")->click();
        QCOMPARE(shownPictureWidth(), pictureWidth);
        for (const char* name : {"SbtPlay", "SbtPause", "SbtStop", "bsSkinTrackBar1"})
            QVERIFY2(enabled(name) == (songs > 0), name);
    }

    // Whatever replaces the open album or empties one of its lists, the picture page shows the
    // current album's current picture and the player holds its current song, or nothing: no
    // picture or song of an album, or of a list, that is no longer there.
    void thePanelShowsOnlyWhatTheOpenAlbumHolds_data() {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("pictures"); // of album a; a second, empty album b exists for DeleteAlbum
        QTest::addColumn<int>("songs");
        QTest::addColumn<int>("pictureWidth"); // of the picture left on the picture page, -1 none
        QTest::addColumn<QString>("song");     // the player's song afterwards
        QTest::addColumn<bool>("playing");
        QTest::newRow("album created") << int(CreateAlbum) << 3 << 2 << -1 << QString() << false;
        QTest::newRow("album deleted, empty one opens")
            << int(DeleteAlbum) << 3 << 2 << -1 << QString() << false;
        QTest::newRow("last album deleted") << int(DeleteLastAlbum) << 3 << 2 << -1 << QString() << false;
        QTest::newRow("all pictures deleted") << int(DeleteAllPictures) << 3 << 2 << -1 << "M1.mp3" << true;
        QTest::newRow("only picture deleted") << int(DeleteOnlyPicture) << 1 << 2 << -1 << "M1.mp3" << true;
        QTest::newRow("playing song deleted") << int(DeletePlayingSong) << 1 << 2 << 40 << "M0.mp3" << false;
        QTest::newRow("only song deleted") << int(DeleteOnlySong) << 1 << 1 << 40 << QString() << false;
        QTest::newRow("all songs deleted") << int(DeleteAllSongs) << 1 << 2 << 40 << QString() << false;
    }
    void thePanelShowsOnlyWhatTheOpenAlbumHolds() {
        QFETCH(int, change);
        QFETCH(int, pictures);
        QFETCH(int, songs);
        QFETCH(int, pictureWidth);
        QFETCH(QString, song);
        QFETCH(bool, playing);
        if (change == DeleteAlbum)
            makeAlbums(root.path(), {{"a", pictures, songs}, {"b", 0, 0}});
        else
            makeAlbums(root.path(), {{"a", pictures, songs}});
        giveSongsMusic("a", songs);
        start();
        window->show();
        // The last song plays; the picture changes happen on the picture tab, where it goes on.
        showSongTab();
        control<QTableView>("LvwM")->selectRow(songs - 1);
        play();
        const bool songChange = change >= DeletePlayingSong;
        if (!songChange) {
            control<QToolButton>("SbtEditpic")->click();
            control<QTableView>("LvwP")->selectRow(pictures - 1);
            QCOMPARE(shownPictureWidth(), 40 + 10 * (pictures - 1));
            QCOMPARE(player()->state(), audio::PlayerState::Playing);
        }

        dialogs.answers = {true};
        switch (change) {
        case CreateAlbum:
            dialogs.driveDialog = [](QDialog& d) {
                d.findChild<QLineEdit*>(QStringLiteral("Edt"))->setText(QStringLiteral("新相册"));
                d.findChild<QPushButton*>(QStringLiteral("BtnAdd"))->click();
                return int(QDialog::Rejected);
            };
            control<QToolButton>("SbtNewAblm")->click();
            QCOMPARE(albums->AlbumCount(), 2);
            break;
        case DeleteAlbum:
        case DeleteLastAlbum:
            control<QToolButton>("SbtDelA")->click();
            QCOMPARE(albums->AlbumCount(), change == DeleteAlbum ? 1 : 0);
            break;
        case DeleteAllPictures:
        case DeleteAllSongs:
            control<QPushButton>("BtnDelAP")->click();
            break;
        default:
            control<QPushButton>("BtnDelOP")->click();
            break;
        }
        QCOMPARE(shownPictureWidth(), pictureWidth);
        QCOMPARE(loadedSong(), song);
        QCOMPARE(player()->state(), playing ? audio::PlayerState::Playing : audio::PlayerState::Closed);
        // The player's controls are usable exactly when it holds a song.
        showSongTab();
        for (const char* name : {"SbtPlay", "SbtPause", "SbtStop", "bsSkinTrackBar1"})
            QVERIFY2(enabled(name) == !song.isEmpty(), name);
        control<QToolButton>("SbtEditpic")->click();
        QCOMPARE(shownPictureWidth(), pictureWidth);
    }
};

QTEST_MAIN(PreviewPanelTest)
#include "preview_panel_test.moc"
