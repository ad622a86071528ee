#include "app/widgets/picture_fitting.h"

#include "app/widgets/picture_view.h"
#include "media/picture_file.h"

#include <QPainter>
#include <cmath>

namespace vistello::app {

namespace {

// a × b / c with the product in integers and the division in floating point, rounded to the
// nearest integer with halves going to the even neighbour (the default rounding mode).
int scaledRound(qint64 a, qint64 b, qint64 c) {
    return static_cast<int>(std::nearbyint(static_cast<double>(a * b) / static_cast<double>(c)));
}

} // namespace

QRect roundedFitRect(QSize picture, QSize box) {
    const qint64 pw = picture.width();
    const qint64 ph = picture.height();
    const qint64 iw = box.width();
    const qint64 ih = box.height();
    if (pw <= 0 || ph <= 0 || iw <= 0 || ih <= 0)
        return {};
    int width = 0;
    int height = 0;
    if (static_cast<double>(iw) / static_cast<double>(ih) >=
        static_cast<double>(pw) / static_cast<double>(ph)) {
        width = scaledRound(pw, ih, ph);
        height = static_cast<int>(ih);
    } else {
        width = static_cast<int>(iw);
        height = scaledRound(ph, iw, pw);
    }
    const int ox = static_cast<int>((iw - width) / 2);
    const int oy = static_cast<int>((ih - height) / 2);
    return {ox, oy, width, height};
}

QImage fitIntoBlackBox(const QImage& picture, QSize box) {
    if (box.isEmpty())
        return {};
    QImage canvas(box, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    const QRect target = roundedFitRect(picture.isNull() ? QSize() : picture.size(), box);
    if (!target.isEmpty()) {
        QPainter painter(&canvas);
        // Nearest-neighbour stretch, as the platform's plain stretch copy does.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(target, picture);
    }
    return canvas.convertToFormat(QImage::Format_BGR888);
}

void LoadPictureFitted(const QString& fileName, PictureView& image, media::MessageSink& messages) {
    // The image takes its parent's client size and keeps it.
    if (const QWidget* parent = image.parentWidget())
        image.setGeometry(parent->contentsRect());
    const QImage picture = media::LoadPictureFile(fileName, messages);
    image.setPicture(fitIntoBlackBox(picture, image.size()));
}

} // namespace vistello::app
