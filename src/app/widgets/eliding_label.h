#pragma once
// ElidingLabel: a one-line caption panel that draws its text elided in the middle when the
// text is wider than the panel, and asks its layout for no width of its own, so a long
// caption (a long album name) never widens the window. text() stays the whole text.

#include <QLabel>

namespace vistello::app {

class ElidingLabel final : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    // The text as it is drawn at the panel's present width.
    QString displayedText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vistello::app
