#pragma once
// TZelScrollText is the ticker: a label whose text moves by Step pixels on each tick of its
// own timer and wraps around once it has left the visible area. The setter rules and the
// tick live in ScrollTextModel; this widget measures the text, runs the timer and draws.

#include "audio/scroll_text.h"

#include <QTimer>
#include <QWidget>

namespace vistello::app {

class TZelScrollText final : public QWidget {
    Q_OBJECT
  public:
    explicit TZelScrollText(QWidget* parent = nullptr);

    void setZelScrollText(const QString& text);
    QString ZelScrollText() const;
    // Background colour (used unless transparent) and text colour, as Qt colours.
    void setColor(const QColor& color);
    void setFontColor(const QColor& color);
    void setTransparent(bool transparent);

    audio::ScrollTextModel& model() { return model_; }
    QTimer& timer() { return timer_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    int textFlags() const;

    QTimer timer_;
    QColor color_;
    QColor fontColor_;
    audio::ScrollTextModel model_;
};

} // namespace vistello::app
