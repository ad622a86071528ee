#pragma once
// StretchView: an image control that either stretches its picture over its whole area or shows
// it unscaled at its top-left corner. With no picture it draws nothing, so what lies under it
// shows through. The production dialog's preview box is one.

#include <QImage>
#include <QWidget>

namespace vistello::app {

class StretchView final : public QWidget {
    Q_OBJECT
  public:
    explicit StretchView(QWidget* parent = nullptr);

    // Shows `picture` from the next paint on; a null image clears the box.
    void setPicture(QImage picture);
    const QImage& picture() const { return picture_; }

    void setStretch(bool stretch);
    bool stretch() const { return stretch_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
    bool stretch_ = false;
};

} // namespace vistello::app
