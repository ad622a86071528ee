#include "app/widgets/eliding_label.h"

#include <QPainter>
#include <QStyle>

namespace vistello::app {

QSize ElidingLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

QSize ElidingLabel::sizeHint() const {
    return {0, QLabel::sizeHint().height()};
}

QString ElidingLabel::displayedText() const {
    // The middle goes, so both the start and the end of a caption around a name stay.
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

void ElidingLabel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event); // the panel's frame and background
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(),
                          displayedText(), foregroundRole());
}

} // namespace vistello::app
