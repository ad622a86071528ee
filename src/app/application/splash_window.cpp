#include "app/application/splash_window.h"

#include "app/application/artwork.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QScreen>
#include <QThread>

namespace vistello::app {

TForm1login::TForm1login() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form1login"));
    setWindowTitle(kProductName);
    const QPixmap picture = splashPicture();
    setFixedSize(picture.size());
    auto* image = new QLabel(this);
    image->setPixmap(picture);
    image->setGeometry(rect());

    auto* name = new QLabel(kProductName, this);
    name->setObjectName(QStringLiteral("LabProduct"));
    QFont nameFont(QStringLiteral("Noto Sans CJK SC"));
    nameFont.setPixelSize(40);
    nameFont.setBold(true);
    name->setFont(nameFont);
    name->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    name->setGeometry(220, 20, 190, 60);

    auto* version = new QLabel(QStringLiteral("Var 7.0"), this);
    version->setObjectName(QStringLiteral("LabVersion"));
    QFont font({QStringLiteral("SimHei"), QStringLiteral("黑体"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(19);
    font.setBold(true);
    version->setFont(font);
    version->setStyleSheet(QStringLiteral("color: blue; background: transparent;"));
    version->move(272, 96);
    version->adjustSize();

    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

qint64 TForm1login::wallClockSeconds() {
    return QDateTime::currentMSecsSinceEpoch() / 1000;
}

void TForm1login::showAndWait(const SecondsClock& clock) {
    show();
    repaint();
    QCoreApplication::processEvents();
    // Until the clock's whole seconds reach t0 + 2: between one and two seconds. The events
    // processed in each step keep the splash painted and let a click close it.
    const qint64 t0 = clock();
    while (isVisible() && clock() < t0 + 2) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::msleep(1);
    }
}

void TForm1login::mousePressEvent(QMouseEvent*) {
    close();
}

} // namespace vistello::app
