#include "app/splash_window.h"

#include "app/artwork.h"

#include <QDateTime>
#include <QLabel>
#include <QScreen>
#include <QThread>

namespace vistello::app {

TForm1login::TForm1login(bool waitOnCreate) : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Form1login"));
    const QPixmap picture = splashPicture();
    setFixedSize(picture.size());
    auto* image = new QLabel(this);
    image->setPixmap(picture);
    image->setGeometry(rect());

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

    if (waitOnCreate) {
        // Sleep until the clock's whole seconds reach t0 + 2: between one and two seconds.
        const qint64 t0 = QDateTime::currentMSecsSinceEpoch() / 1000;
        while (QDateTime::currentMSecsSinceEpoch() / 1000 < t0 + 2)
            QThread::msleep(1);
    }
}

void TForm1login::mousePressEvent(QMouseEvent*) {
    close();
}

} // namespace vistello::app
