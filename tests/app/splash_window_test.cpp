// The splash: on screen before the start-up wait begins and all through it, gone at a click,
// and naming the product as the windows' captions do.

#include "album_fixture.h"
#include "app/application/splash_window.h"
#include "app/main_window/main_window.h"
#include "scripted_dialogs.h"

#include <QLabel>
#include <QTest>

using namespace vistello;
using namespace vistello::app;
using namespace vistello::app::testing;

class SplashWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void staysOnScreenThroughTheWait() {
        TForm1login splash;
        // A clock that takes three readings to pass each whole second.
        int readings = 0;
        int readingsWhileHidden = 0;
        const auto clock = [&]() -> qint64 {
            if (!splash.isVisible())
                ++readingsWhileHidden;
            return 100 + readings++ / 3;
        };
        splash.showAndWait(clock);
        QCOMPARE(readingsWhileHidden, 0);
        // The wait ends at the first reading of 102: the eighth after the start's 100.
        QCOMPARE(readings, 7);
        QVERIFY(splash.isVisible()); // closed only once the main window exists
    }

    void aClickClosesItAndEndsTheWait() {
        TForm1login splash;
        int readings = 0;
        const auto stoppedClock = [&]() -> qint64 {
            if (++readings == 5)
                QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(200, 150));
            return readings < 10000 ? 100 : 200; // the clock moves only if the click did nothing
        };
        splash.showAndWait(stoppedClock);
        QVERIFY(!splash.isVisible());
        QCOMPARE(readings, 5);
    }

    void namesTheProductAsTheWindowsDo() {
        TForm1login splash;
        const auto* name = splash.findChild<QLabel*>(QStringLiteral("LabProduct"));
        QVERIFY(name);
        QCOMPARE(name->text(), QStringLiteral("Lumora"));
        QVERIFY(splash.rect().contains(name->geometry()));
        QTemporaryDir root;
        store::AlbumStore albums(root.path().toStdString());
        ScriptedDialogs dialogs;
        TFrmMain window(albums, dialogs);
        QVERIFY2(window.windowTitle().startsWith(name->text()), qPrintable(window.windowTitle()));
    }
};

QTEST_MAIN(SplashWindowTest)
#include "splash_window_test.moc"
