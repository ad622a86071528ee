// Window tests of the player control, the ticker and the music import dialog.

#include "../audio/mp3_fixture.h"
#include "app/import/add_music_dialog.h"
#include "app/widgets/zel_mp3_play.h"
#include "app/widgets/zel_scroll_text.h"
#include "audio/audio_engine.h"
#include "scripted_dialogs.h"
#include "store/album_operations.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace vistello;

class AudioWidgetsTest : public QObject {
    Q_OBJECT

  private:
    QTemporaryDir dir_;
    std::filesystem::path root() const { return dir_.path().toStdString(); }
    // 1.5 s of a tone on spectrum bin 12 (bar 7).
    std::filesystem::path tone() const { return root() / "tone.mp3"; }
    // A store in `folder` with one open, empty album.
    static store::AlbumStore songAlbum(const std::filesystem::path& folder) {
        std::filesystem::create_directories(folder);
        store::AlbumStore albums(folder);
        store::createAlbum(albums, "Songs");
        albums.openAlbum(0);
        return albums;
    }

  private slots:
    void initTestCase() {
        QVERIFY(audio::test::makeMp3(
            tone(), {44100, 2, 66150, {"-c:a", "libmp3lame", "-b:a", "128k"}, 12.0 * 44100.0 / 512.0}));
    }

    void playerDrawsTheSpectrumAndReportsProgress() {
        QWidget window;
        window.resize(200, 140);
        auto* player = new app::TZelMp3Play(
            &window, std::make_unique<audio::AudioEngine>(audio::AudioEngine::Output::Silent));
        player->setObjectName(QStringLiteral("ZelMp3Play1"));
        player->setGeometry(0, 0, 177, 121);
        player->setPen(0x00FF00);
        player->setLineWidth(6);
        player->setLineFallOff(8);
        window.show();
        QSignalSpy progress(player, &app::TZelMp3Play::OnProgress);
        player->setFileName(QString::fromStdString(tone().string()));
        player->Play();
        QVERIFY(player->timer().isActive());
        QCOMPARE(player->timer().interval(), 50);
        QTRY_VERIFY_WITH_TIMEOUT(progress.count() >= 6, 3000);
        QCOMPARE(progress.last().at(0).value<QObject*>(), &player->timer());
        QVERIFY(progress.last().at(2).toInt() > 0);

        const QImage frame = player->grab().toImage();
        QCOMPARE(frame.pixelColor(7 * 7 + 2, 120), QColor(0, 255, 0)); // bar 7 stands
        QCOMPARE(frame.pixelColor(170, 10), QColor(0, 0, 0));

        player->PauseForSeek();
        QVERIFY(!player->timer().isActive());
        const int before = progress.count();
        player->SeekTo(progress.last().at(1).toInt() / 2);
        QTRY_VERIFY_WITH_TIMEOUT(progress.count() > before, 1000);
        const double share = progress.last().at(2).toDouble() / progress.last().at(1).toDouble();
        QVERIFY2(share >= 0.45 && share < 0.7, qPrintable(QString::number(share)));

        QTRY_COMPARE_WITH_TIMEOUT(player->state(), audio::PlayerState::Closed, 4000);
        QCOMPARE(progress.last().at(0).value<QObject*>(), nullptr);
        QCOMPARE(progress.last().at(2).toInt(), 0);
        QCOMPARE(progress.last().at(3).toString(), QStringLiteral("00:00"));
    }

    void tickerScrollsOnItsTimer() {
        app::TZelScrollText ticker;
        ticker.resize(653, 25);
        ticker.setZelScrollText(QStringLiteral("欢迎使用"));
        QVERIFY(ticker.timer().isActive());
        QCOMPARE(ticker.timer().interval(), 200);
        QVERIFY(ticker.model().textWidth() >= 48);
        QTRY_VERIFY_WITH_TIMEOUT(ticker.model().position() <= -10, 2000);
        ticker.model().setActive(false);
        QVERIFY(!ticker.timer().isActive());
        ticker.model().setInterval(100);
        QCOMPARE(ticker.timer().interval(), 100);
    }

    void importDialogImportsAndCloses() {
        const std::filesystem::path storeRoot = root() / "store";
        store::AlbumStore albums = songAlbum(storeRoot);
        std::ofstream(root() / "noise.mp3") << "not a song";

        app::testing::ScriptedDialogs dialogs;
        QStringList labels;
        dialogs.driveDialog = [&](QDialog& dialog) {
            [&] { QCOMPARE(dialog.windowTitle(), QStringLiteral("导入音乐")); }();
            return dialog.exec(); // the dialog runs its batch on its timer and closes itself
        };
        const QStringList files = {QString::fromStdString(tone().string()),
                                   QString::fromStdString((root() / "noise.mp3").string())};
        app::ImportMusic(albums, files, dialogs, nullptr);
        // The file without sound is left out without a word.
        QCOMPARE(albums.MusicCount(), 1);
        QCOMPARE(albums.MusicList[0].FileName.text(), std::string("M0.mp3"));
        QCOMPARE(albums.MusicList[0].PlayTime, 1);
        QVERIFY(!std::filesystem::exists(albums.AlbumPath() / "M1.mp3"));
        QVERIFY(dialogs.messages.isEmpty());
        store::AlbumStore reloaded(storeRoot);
        reloaded.LoadInfo("A");
        reloaded.openAlbum(0);
        QCOMPARE(reloaded.MusicCount(), 1);
    }

    void importDialogCancelStopsBeforeTheNextFile() {
        store::AlbumStore albums = songAlbum(root() / "cancel");
        const QString song = QString::fromStdString(tone().string());
        app::TFrmAddM dialog(albums, {song, song, song});
        auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
        auto* counter = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        QVERIFY(cancel && counter);
        QCOMPARE(cancel->text(), QStringLiteral("取消"));
        // The click is queued and is handled while the first file's messages are let through.
        QMetaObject::invokeMethod(cancel, &QPushButton::click, Qt::QueuedConnection);
        dialog.Timer1Timer();
        QCOMPARE(albums.MusicCount(), 1);
        QCOMPARE(counter->text(), QStringLiteral("正在导入文件：（1/3）"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // The music import has the picture import's layout, and its title-bar close during a run
    // only marks the dialog: the batch goes on to its end.
    void importDialogLayoutAndTitleBarClose() {
        store::AlbumStore albums = songAlbum(root() / "close");
        const QString song = QString::fromStdString(tone().string());
        app::TFrmAddM dialog(albums, {song, song, song});
        QCOMPARE(dialog.objectName(), QStringLiteral("FrmAddM"));
        QCOMPARE(dialog.size(), QSize(434, 125));
        auto* label1 = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        auto* label2 = dialog.findChild<QLabel*>(QStringLiteral("Label2"));
        auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
        QVERIFY(label1 && label2 && bar && cancel);
        QCOMPARE(label1->pos(), QPoint(24, 16));
        QCOMPARE(label2->geometry(), QRect(24, 34, 385, 18));
        QCOMPARE(bar->geometry(), QRect(24, 56, 385, 17));
        QCOMPARE(cancel->geometry(), QRect(334, 88, 75, 25));
        QCOMPARE(dialog.Timer1().interval(), 1000);
        QVERIFY(dialog.Timer1().isSingleShot());

        dialog.show();
        QMetaObject::invokeMethod(&dialog, &QDialog::close, Qt::QueuedConnection);
        dialog.Timer1Timer();
        QVERIFY(dialog.closeRequested());
        QCOMPARE(albums.MusicCount(), 3);
        QCOMPARE(bar->value(), 3);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(AudioWidgetsTest)
#include "audio_widgets_test.moc"
