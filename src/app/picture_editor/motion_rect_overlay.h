#pragma once
// MotionRectOverlay: the start and end rectangles of a custom motion, drawn over the picture in
// the editor's preview box and moved and resized with the mouse. The start rectangle is green
// and labelled "起点", the end one orange and labelled "终点". A drag inside a rectangle moves
// it, a drag at a corner resizes it with the opposite corner held; either way the rectangle
// keeps the frame's display aspect and stays on the picture. Escape during a drag puts the
// rectangle back. The rectangles are in fractions of the picture (store::MotionRect).

#include "store/picture_motion.h"

#include <QRect>
#include <QSize>
#include <QWidget>

namespace vistello::app {

class MotionRectOverlay final : public QWidget {
    Q_OBJECT
  public:
    enum class Which { Start, End };

    explicit MotionRectOverlay(QWidget* parent = nullptr);

    // The picture's size in pixels and where it shows inside the overlay.
    void setPicture(QSize pictureSize, QRect shownAt);
    // The frame's display aspect (width / height) that a dragged rectangle keeps.
    void setAspect(double aspect) { aspect_ = aspect; }
    double aspect() const { return aspect_; }
    void setRects(const store::MotionRect& start, const store::MotionRect& end);
    const store::MotionRect& rect(Which which) const { return which == Which::Start ? start_ : end_; }
    // Where a rectangle shows inside the overlay, in pixels.
    QRectF shownRect(Which which) const;
    // True while a mouse drag is under way.
    bool dragging() const { return drag_.active; }

    // The smallest rectangle a resize leaves, as a part of the largest one of the aspect.
    static constexpr double kMinScale = 0.1;
    // How near a corner (pixels) a press resizes instead of moving.
    static constexpr int kCornerReach = 5;

  signals:
    // A rectangle was moved or resized by the mouse (at every step of a drag).
    void rectsChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    enum class Grip { None, Move, TopLeft, TopRight, BottomLeft, BottomRight };
    struct Hit {
        Which which = Which::Start;
        Grip grip = Grip::None;
    };
    Hit hitAt(QPointF at) const;
    Hit hitOn(Which which, QPointF at) const;
    QPointF toPicture(QPointF at) const; // overlay pixels to picture pixels
    store::MotionRect dragged(QPointF at) const;
    store::MotionRect& rectRef(Which which) { return which == Which::Start ? start_ : end_; }
    void updateCursor(QPointF at);

    QSize picture_;
    QRect shownAt_;
    double aspect_ = 4.0 / 3;
    store::MotionRect start_, end_;
    Which top_ = Which::End; // drawn last, and found first
    struct Drag {
        bool active = false;
        Hit hit;
        QPointF from;              // picture pixels where the press was
        store::MotionRect initial; // the rectangle when the press came
    } drag_;
};

} // namespace vistello::app
