#include "app/widgets/zel_scroll_text.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace vistello::app {

TZelScrollText::TZelScrollText(QWidget* parent)
    : QWidget(parent), color_(0x00, 0x80, 0x00), fontColor_(0x00, 0xFF, 0xFF) {
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(12);
    setFont(font);
    resize(200, 17);
    model_.setClientSize(width(), height());
    model_.fontHeight = -font.pixelSize();
    model_.measure = [this](const std::string& text, bool wordWrap) {
        const QFontMetrics metrics(this->font());
        const int flags = wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine;
        const QRect box = metrics.boundingRect(rect(), flags, QString::fromStdString(text));
        return audio::TextExtent{box.width(), box.height()};
    };
    model_.OnRepaint = [this] { update(); };
    model_.OnTimerChanged = [this](bool active) {
        if (active)
            timer_.start();
        else
            timer_.stop();
    };
    model_.OnIntervalChanged = [this](int interval) { timer_.setInterval(interval); };
    timer_.setInterval(model_.Interval());
    connect(&timer_, &QTimer::timeout, this, [this] { model_.tick(); });
    if (model_.Active())
        timer_.start();
}

void TZelScrollText::setZelScrollText(const QString& text) {
    model_.setZelScrollText(text.toStdString());
}

QString TZelScrollText::ZelScrollText() const {
    return QString::fromStdString(model_.ZelScrollText());
}

void TZelScrollText::setColor(const QColor& color) {
    color_ = color;
    update();
}

void TZelScrollText::setFontColor(const QColor& color) {
    fontColor_ = color;
    update();
}

void TZelScrollText::setTransparent(bool transparent) {
    model_.Transparent = transparent;
    update();
}

int TZelScrollText::textFlags() const {
    int flags = model_.wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
    switch (model_.Alignment()) {
    case audio::TAlignment::taLeftJustify:
        flags |= Qt::AlignLeft;
        break;
    case audio::TAlignment::taRightJustify:
        flags |= Qt::AlignRight;
        break;
    case audio::TAlignment::taCenter:
        flags |= Qt::AlignHCenter;
        break;
    }
    switch (model_.Layout()) {
    case audio::TTextLayout::tlTop:
        flags |= Qt::AlignTop;
        break;
    case audio::TTextLayout::tlCenter:
        flags |= Qt::AlignVCenter;
        break;
    case audio::TTextLayout::tlBottom:
        flags |= Qt::AlignBottom;
        break;
    }
    return flags;
}

void TZelScrollText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!model_.Transparent)
        painter.fillRect(rect(), color_);
    QRect box = rect();
    const auto direction = model_.ScrollDirection();
    if (direction == audio::TScrollDirect::sdLeft || direction == audio::TScrollDirect::sdRight)
        box.setLeft(box.left() + model_.position());
    else
        box.setTop(box.top() + model_.position());
    // The text keeps its own width when it is pushed past the right or bottom edge.
    box.setWidth(std::max(box.width(), model_.textWidth()));
    box.setHeight(std::max(box.height(), model_.textHeight()));
    painter.setPen(fontColor_);
    painter.setFont(font());
    painter.drawText(box, textFlags(), ZelScrollText());
}

void TZelScrollText::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    model_.setClientSize(width(), height());
}

void TZelScrollText::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        model_.fontHeight = -(font().pixelSize() > 0 ? font().pixelSize() : QFontMetrics(font()).height());
}

} // namespace vistello::app
