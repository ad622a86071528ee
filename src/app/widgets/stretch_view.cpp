#include "app/widgets/stretch_view.h"

#include <QPainter>

namespace vistello::app {

StretchView::StretchView(QWidget* parent) : QWidget(parent) {}

void StretchView::setPicture(QImage picture) {
    picture_ = std::move(picture);
    update();
}

void StretchView::setStretch(bool stretch) {
    if (stretch_ == stretch)
        return;
    stretch_ = stretch;
    update();
}

void StretchView::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    if (stretch_)
        painter.drawImage(rect(), picture_); // nearest neighbour: no smoothing is asked for
    else
        painter.drawImage(QPoint(0, 0), picture_);
}

} // namespace vistello::app
