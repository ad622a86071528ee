#include "app/widgets/picture_view.h"

#include <QPainter>

namespace vistello::app {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::setPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!picture_.isNull())
        painter.drawImage(QPoint(0, 0), picture_);
}

} // namespace vistello::app
