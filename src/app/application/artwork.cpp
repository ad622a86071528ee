#include "app/application/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace vistello::app {

namespace {

const QColor kGreen(40, 150, 60);
const QColor kDarkGreen(20, 95, 35);

void drawPictureIcon(QPainter& p) {
    // Two frames stacked behind each other, the front one holding a small landscape.
    p.setPen(kDarkGreen);
    p.setBrush(QColor(180, 225, 185));
    p.drawRect(4, 1, 10, 8);
    p.setBrush(kGreen);
    p.drawRect(1, 5, 11, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 250, 230));
    p.drawPolygon(QPolygon({QPoint(3, 12), QPoint(6, 8), QPoint(8, 10), QPoint(9, 9), QPoint(11, 12)}));
    p.setBrush(QColor(250, 230, 90));
    p.drawEllipse(QPoint(9, 7), 1, 1);
}

void drawSongIcon(QPainter& p) {
    // A beamed pair of eighth notes.
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QRectF(1.5, 10.5, 5, 4));
    p.drawEllipse(QRectF(9.5, 8.5, 5, 4));
    p.setPen(QPen(kDarkGreen, 1.6));
    p.drawLine(QPointF(6, 12), QPointF(6, 2.5));
    p.drawLine(QPointF(14, 10), QPointF(14, 0.8));
    p.setPen(QPen(kDarkGreen, 2.4));
    p.drawLine(QPointF(6, 3), QPointF(14, 1.3));
}

void drawAlbumIcon(QPainter& p) {
    // A round disc with a light rim and a hole, like a photo CD.
    QRadialGradient shine(QPointF(6, 5), 9);
    shine.setColorAt(0, QColor(255, 245, 200));
    shine.setColorAt(1, QColor(230, 150, 40));
    p.setPen(QColor(150, 90, 20));
    p.setBrush(shine);
    p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 6, 4, 4));
}

} // namespace

QIcon listIcon(ListIcon which) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case ListIcon::Picture:
        drawPictureIcon(painter);
        break;
    case ListIcon::Song:
        drawSongIcon(painter);
        break;
    case ListIcon::Album:
        drawAlbumIcon(painter);
        break;
    }
    return QIcon(pixmap);
}

QPixmap splashPicture() {
    QPixmap pixmap(414, 285);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 285);
    sky.setColorAt(0, QColor(18, 40, 88));
    sky.setColorAt(1, QColor(70, 130, 200));
    p.fillRect(pixmap.rect(), sky);

    // A fan of three photo prints.
    const QColor paper(250, 248, 240);
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(120, 170);
        p.rotate(-18 + i * 14);
        p.setPen(QPen(QColor(60, 60, 60, 120), 1));
        p.setBrush(paper);
        p.drawRect(-70, -55, 140, 110);
        QLinearGradient scene(0, -45, 0, 35);
        scene.setColorAt(0, QColor(120 + i * 30, 180, 230));
        scene.setColorAt(1, QColor(60, 140 - i * 20, 70));
        p.fillRect(QRect(-62, -47, 124, 82), scene);
        p.restore();
    }
    // A strip of film across the bottom.
    p.fillRect(QRect(0, 238, 414, 34), QColor(20, 20, 20));
    p.setBrush(QColor(235, 235, 235));
    p.setPen(Qt::NoPen);
    for (int x = 6; x < 414; x += 18) {
        p.drawRect(x, 241, 8, 5);
        p.drawRect(x, 264, 8, 5);
    }
    // The product's name is the splash window's own label, over the sky at (220, 20).
    // A pale badge under the version label, which is drawn in blue at (272, 96) over this
    // picture and would not stand out against the dark sky.
    p.setPen(QPen(QColor(232, 115, 12), 1.5));
    p.setBrush(QColor(236, 243, 251));
    p.drawRoundedRect(QRectF(260.5, 88.5, 91, 42), 7, 7);
    QFont subtitle(QStringLiteral("Noto Sans CJK SC"));
    subtitle.setPixelSize(16);
    p.setFont(subtitle);
    p.setPen(QColor(220, 232, 255));
    p.drawText(QRect(222, 140, 190, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("电子相册视频制作"));
    return pixmap;
}

} // namespace vistello::app
