#include "app/picture_editor/motion_rect_overlay.h"

#include "motion/motion_path.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vistello::app {

namespace {

const QColor kStartColour(0x30, 0xD0, 0x50);
const QColor kEndColour(0xFF, 0x8C, 0x1A);

} // namespace

MotionRectOverlay::MotionRectOverlay(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_TranslucentBackground);
}

void MotionRectOverlay::setPicture(QSize pictureSize, QRect shownAt) {
    picture_ = pictureSize;
    shownAt_ = shownAt;
    drag_ = {};
    update();
}

void MotionRectOverlay::setRects(const store::MotionRect& start, const store::MotionRect& end) {
    start_ = start;
    end_ = end;
    drag_ = {};
    update();
}

QRectF MotionRectOverlay::shownRect(Which which) const {
    const store::MotionRect& r = rect(which);
    return {shownAt_.x() + r.x * shownAt_.width(), shownAt_.y() + r.y * shownAt_.height(),
            r.width * shownAt_.width(), r.height * shownAt_.height()};
}

QPointF MotionRectOverlay::toPicture(QPointF at) const {
    if (shownAt_.isEmpty())
        return {};
    return {(at.x() - shownAt_.x()) * picture_.width() / shownAt_.width(),
            (at.y() - shownAt_.y()) * picture_.height() / shownAt_.height()};
}

MotionRectOverlay::Hit MotionRectOverlay::hitOn(Which which, QPointF at) const {
    const QRectF r = shownRect(which);
    const auto near = [&](QPointF corner) {
        return std::abs(at.x() - corner.x()) <= kCornerReach && std::abs(at.y() - corner.y()) <= kCornerReach;
    };
    if (near(r.topLeft()))
        return {which, Grip::TopLeft};
    if (near(r.topRight()))
        return {which, Grip::TopRight};
    if (near(r.bottomLeft()))
        return {which, Grip::BottomLeft};
    if (near(r.bottomRight()))
        return {which, Grip::BottomRight};
    if (r.contains(at))
        return {which, Grip::Move};
    return {which, Grip::None};
}

MotionRectOverlay::Hit MotionRectOverlay::hitAt(QPointF at) const {
    if (picture_.isEmpty() || shownAt_.isEmpty())
        return {};
    // The rectangle on top first; a corner of the one below wins over the inside of the top one,
    // so that a rectangle inside the other can still be resized.
    const Which below = top_ == Which::Start ? Which::End : Which::Start;
    const Hit onTop = hitOn(top_, at);
    const Hit onBelow = hitOn(below, at);
    const auto corner = [](const Hit& hit) { return hit.grip != Grip::None && hit.grip != Grip::Move; };
    if (corner(onTop))
        return onTop;
    if (corner(onBelow))
        return onBelow;
    if (onTop.grip == Grip::Move)
        return onTop;
    return onBelow;
}

store::MotionRect MotionRectOverlay::dragged(QPointF at) const {
    const double pw = picture_.width(), ph = picture_.height();
    const store::MotionRect& r = drag_.initial;
    const QPointF to = toPicture(at);
    if (drag_.hit.grip == Grip::Move) {
        // The size stays exactly as it was; only the place follows the pointer.
        return {std::clamp(r.x + (to.x() - drag_.from.x()) / pw, 0.0, 1 - r.width),
                std::clamp(r.y + (to.y() - drag_.from.y()) / ph, 0.0, 1 - r.height), r.width, r.height};
    }
    // Picture pixels from here on; the result goes back to fractions.
    double x = r.x * pw, y = r.y * ph, w = r.width * pw, h = r.height * ph;
    // A corner: the opposite corner stays, and the size follows the pointer's larger reach.
    const bool left = drag_.hit.grip == Grip::TopLeft || drag_.hit.grip == Grip::BottomLeft;
    const bool top = drag_.hit.grip == Grip::TopLeft || drag_.hit.grip == Grip::TopRight;
    const double ax = left ? x + w : x, ay = top ? y + h : y;
    const double reachX = std::max(0.0, left ? ax - to.x() : to.x() - ax);
    const double reachY = std::max(0.0, top ? ay - to.y() : to.y() - ay);
    const double roomX = left ? ax : pw - ax, roomY = top ? ay : ph - ay;
    const store::MotionRect largest = motion::largestRect(picture_.width(), picture_.height(), aspect_);
    const double minWidth = kMinScale * largest.width * pw;
    double width = std::max(reachX, reachY * aspect_);
    width = std::min({width, roomX, roomY * aspect_});
    width = std::max(width, std::min({minWidth, roomX, roomY * aspect_}));
    const double height = width / aspect_;
    x = left ? ax - width : ax;
    y = top ? ay - height : ay;
    // Rounding may leave the last bit past an edge.
    const store::MotionRect result{std::clamp(x / pw, 0.0, 1.0), std::clamp(y / ph, 0.0, 1.0), width / pw,
                                   height / ph};
    return {std::min(result.x, 1 - result.width), std::min(result.y, 1 - result.height), result.width,
            result.height};
}

void MotionRectOverlay::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const Hit hit = hitAt(event->position());
    if (hit.grip == Grip::None) {
        event->ignore();
        return;
    }
    top_ = hit.which;
    drag_ = {true, hit, toPicture(event->position()), rect(hit.which)};
    update();
    event->accept();
}

void MotionRectOverlay::mouseMoveEvent(QMouseEvent* event) {
    if (!drag_.active) {
        updateCursor(event->position());
        return;
    }
    const store::MotionRect next = dragged(event->position());
    if (next == rect(drag_.hit.which))
        return;
    rectRef(drag_.hit.which) = next;
    update();
    emit rectsChanged();
}

void MotionRectOverlay::mouseReleaseEvent(QMouseEvent* event) {
    if (!drag_.active || event->button() != Qt::LeftButton)
        return;
    mouseMoveEvent(event);
    drag_ = {};
}

void MotionRectOverlay::keyPressEvent(QKeyEvent* event) {
    // Escape during a drag takes the drag back; otherwise it goes on to the dialog.
    if (event->key() == Qt::Key_Escape && drag_.active) {
        const bool changed = rect(drag_.hit.which) != drag_.initial;
        rectRef(drag_.hit.which) = drag_.initial;
        drag_ = {};
        update();
        if (changed)
            emit rectsChanged();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MotionRectOverlay::updateCursor(QPointF at) {
    switch (hitAt(at).grip) {
    case Grip::None:
        unsetCursor();
        break;
    case Grip::Move:
        setCursor(Qt::SizeAllCursor);
        break;
    case Grip::TopLeft:
    case Grip::BottomRight:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case Grip::TopRight:
    case Grip::BottomLeft:
        setCursor(Qt::SizeBDiagCursor);
        break;
    }
}

void MotionRectOverlay::paintEvent(QPaintEvent*) {
    if (picture_.isEmpty() || shownAt_.isEmpty())
        return;
    QPainter painter(this);
    QFont small = font();
    small.setPixelSize(11);
    painter.setFont(small);
    const Which below = top_ == Which::Start ? Which::End : Which::Start;
    for (const Which which : {below, top_}) {
        const QColor colour = which == Which::Start ? kStartColour : kEndColour;
        const QString label = which == Which::Start ? QStringLiteral("起点") : QStringLiteral("终点");
        // Inside the overlay, so that a rectangle along the picture's edge shows its whole line.
        const QRectF r = shownRect(which).adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(colour, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r);
        // The corners that resize.
        for (const QPointF corner : {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()})
            painter.fillRect(QRectF(corner - QPointF(2, 2), QSizeF(5, 5)), colour);
        const QRectF tag(r.left() + 3, r.top() + 3, painter.fontMetrics().horizontalAdvance(label) + 4,
                         painter.fontMetrics().height());
        painter.fillRect(tag, colour);
        painter.setPen(Qt::black);
        painter.drawText(tag, Qt::AlignCenter, label);
    }
}

} // namespace vistello::app
