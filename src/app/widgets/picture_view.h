#pragma once
// PictureView: an image control that shows one picture unscaled at its top-left corner over
// black. The picture editor's preview box and its black start picture are two of them; the
// picture shown is kept as an image so callers can copy exactly what is on screen.

#include <QImage>
#include <QWidget>

namespace vistello::app {

class PictureView final : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QWidget* parent = nullptr);

    // Shows `picture` from the next paint on; a null image shows black.
    void setPicture(QImage picture);
    const QImage& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

} // namespace vistello::app
