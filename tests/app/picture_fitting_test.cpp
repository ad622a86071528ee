// Fitting a picture into an image control.

#include "app/widgets/picture_fitting.h"
#include "app/widgets/picture_view.h"
#include "media/message_sink.h"

#include <QTemporaryDir>
#include <QTest>

using namespace vistello;
using namespace vistello::app;

class PictureFittingTest : public QObject {
    Q_OBJECT

  private slots:
    void roundedFitRect_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QRect>("expected");
        // Height 92.5 rounds to the even 92; the offset 30.5 is cut to 30.
        QTest::newRow("wide into the preview") << QSize(200, 100) << QSize(185, 153) << QRect(0, 30, 185, 92);
        // Width 76.5 rounds to the even 76.
        QTest::newRow("tall into the preview") << QSize(90, 180) << QSize(185, 153) << QRect(54, 0, 76, 153);
        // Width 3.5 rounds to the even 4.
        QTest::newRow("half rounds up to even") << QSize(1, 2) << QSize(7, 7) << QRect(1, 0, 4, 7);
        QTest::newRow("same proportions fill the box")
            << QSize(100, 50) << QSize(200, 100) << QRect(0, 0, 200, 100);
        QTest::newRow("small picture is enlarged") << QSize(3, 2) << QSize(5, 5) << QRect(0, 1, 5, 3);
        QTest::newRow("empty picture") << QSize(0, 0) << QSize(185, 153) << QRect();
        QTest::newRow("picture without height") << QSize(10, 0) << QSize(185, 153) << QRect();
        QTest::newRow("empty box") << QSize(10, 10) << QSize(0, 0) << QRect();
        QTest::newRow("huge sides do not overflow")
            << QSize(60000, 40000) << QSize(60000, 60000) << QRect(0, 10000, 60000, 40000);
    }
    void roundedFitRect() {
        QFETCH(QSize, picture);
        QFETCH(QSize, box);
        QFETCH(QRect, expected);
        QCOMPARE(app::roundedFitRect(picture, box), expected);
    }

    void fitIntoBlackBoxCentresOnBlackWithoutSmoothing() {
        // Two columns, red and blue, stretched to twice their size: no blended pixel appears.
        QImage picture(2, 1, QImage::Format_RGB32);
        picture.setPixelColor(0, 0, Qt::red);
        picture.setPixelColor(1, 0, Qt::blue);
        const QImage fitted = fitIntoBlackBox(picture, QSize(4, 4));
        QCOMPARE(fitted.format(), QImage::Format_BGR888);
        QCOMPARE(fitted.size(), QSize(4, 4));
        for (int x = 0; x < 4; ++x) {
            QCOMPARE(fitted.pixelColor(x, 0), QColor(Qt::black));
            QCOMPARE(fitted.pixelColor(x, 1), QColor(x < 2 ? Qt::red : Qt::blue));
            QCOMPARE(fitted.pixelColor(x, 2), QColor(x < 2 ? Qt::red : Qt::blue));
            QCOMPARE(fitted.pixelColor(x, 3), QColor(Qt::black));
        }
        const QImage black = fitIntoBlackBox(QImage(), QSize(5, 3));
        QCOMPARE(black.size(), QSize(5, 3));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x)
                QCOMPARE(black.pixelColor(x, y), QColor(Qt::black));
        QVERIFY(fitIntoBlackBox(picture, QSize(0, 0)).isNull());
    }

    void loadPictureFittedTakesItsParentsSize() {
        QTemporaryDir folder;
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(Qt::white);
        const QString file = folder.filePath(QStringLiteral("P0.bmp"));
        QVERIFY(picture.save(file, "BMP"));

        QWidget parent;
        parent.resize(30, 30);
        PictureView view(&parent);
        view.resize(5, 5);
        media::MessageList messages;
        LoadPictureFitted(file, view, messages);
        QCOMPARE(view.size(), QSize(30, 30));
        QCOMPARE(view.picture().size(), QSize(30, 30));
        QCOMPARE(view.picture().pixelColor(15, 15), QColor(Qt::white));
        QCOMPARE(view.picture().pixelColor(15, 2), QColor(Qt::black));

        // A missing file shows the black box.
        LoadPictureFitted(folder.filePath(QStringLiteral("gone.jpg")), view, messages);
        QCOMPARE(view.picture().size(), QSize(30, 30));
        QCOMPARE(view.picture().pixelColor(15, 15), QColor(Qt::black));
    }
};

QTEST_MAIN(PictureFittingTest)
#include "picture_fitting_test.moc"
