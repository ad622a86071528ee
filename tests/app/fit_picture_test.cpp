// FitPicture: where the preview panel puts a picture inside its 173 x 138 box.

#include "app/widgets/fit_picture.h"

#include <QTest>

using vistello::app::FitPicture;

class FitPictureTest : public QObject {
    Q_OBJECT
  private slots:
    void placesPictures_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("wide") << QSize(1000, 500) << QRect(0, 26, 173, 86);
        QTest::newRow("tall") << QSize(300, 600) << QRect(52, 0, 69, 138);
        QTest::newRow("half goes to even") << QSize(100, 138) << QRect(36, 0, 100, 138);
        QTest::newRow("same aspect") << QSize(346, 276) << QRect(0, 0, 173, 138);
        QTest::newRow("huge, no overflow") << QSize(2000000, 1000000) << QRect(0, 26, 173, 86);
    }
    void placesPictures() {
        QFETCH(QSize, picture);
        QFETCH(QRect, expected);
        QCOMPARE(FitPicture(picture, QSize(173, 138)).value(), expected);
    }
    void emptyPictureIsNotPlaced() {
        QVERIFY(!FitPicture(QSize(0, 10), QSize(173, 138)));
        QVERIFY(!FitPicture(QSize(10, 0), QSize(173, 138)));
    }
};

QTEST_APPLESS_MAIN(FitPictureTest)
#include "fit_picture_test.moc"
