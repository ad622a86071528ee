#include "production/mcl_objects.h"

#include "audio/mp3_decoder.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vistello::production {

QImage& Source::drawFrame(int width, int height) {
    // The spare buffer serves when it is of this size and nothing else shares it.
    if (width <= 0 || height <= 0)
        frame_ = QImage();
    else if (spare_.width() == width && spare_.height() == height &&
             spare_.format() == QImage::Format_BGR888 && spare_.isDetached())
        frame_ = std::move(spare_);
    else
        frame_ = QImage(width, height, QImage::Format_BGR888);
    spare_ = QImage();
    return frame_;
}

void Source::SetDIB(const Dib& frame) {
    if (!frame.bits || frame.width <= 0 || frame.height <= 0 || frame.stride < frame.width * 3) {
        frame_ = QImage();
        return;
    }
    drawFrame(frame.width, frame.height);
    if (frame_.isNull())
        return;
    for (int y = 0; y < frame.height; ++y)
        std::memcpy(frame_.scanLine(y), frame.bits + y * frame.stride,
                    static_cast<std::size_t>(frame.width) * 3);
}

QColor colorFromValue(std::int64_t value) {
    if (value < 0)
        return QColor();
    const auto v = static_cast<std::uint32_t>(value);
    return QColor(v & 0xff, (v >> 8) & 0xff, (v >> 16) & 0xff);
}

namespace {

// The installed face that stands for a requested one: the Song-style faces of the original
// title font are replaced by the Noto serif CJK face, or its sans sibling where only that one
// is installed.
QString resolveFamily(const QString& face) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return face;
    const QStringList installed = QFontDatabase::families();
    if (face == QStringLiteral("宋体") || face.compare(QStringLiteral("SimSun"), Qt::CaseInsensitive) == 0) {
        for (const char* candidate : {"Noto Serif CJK SC", "Noto Sans CJK SC"})
            if (installed.contains(QString::fromLatin1(candidate)))
                return QString::fromLatin1(candidate);
    }
    return face;
}

QRgb rgbaOf(QColor color) {
    return color.isValid() ? color.rgba() : qRgba(0, 0, 0, 0);
}

} // namespace

void Text::SetFont(const QString& face, int size, int antialias, int outlineWidth) {
    family_ = resolveFamily(face);
    size_ = std::clamp(size, 1, 512);
    antialias_ = antialias;
    outline_ = std::clamp(outlineWidth, 0, 16);
}

void Text::SetColor(QColor fill, QColor outline, std::int64_t shadow, std::int64_t background) {
    fill_ = rgbaOf(fill);
    stroke_ = rgbaOf(outline);
    shadow_ = rgbaOf(colorFromValue(shadow));
    background_ = rgbaOf(colorFromValue(background));
}

void Text::Shadow(int distance, int dx, int dy) {
    shadowDx_ = std::clamp(distance * dx, -32, 32);
    shadowDy_ = std::clamp(distance * dy, -32, 32);
}

QString Text::cacheKey(const QString& string) const {
    return QStringLiteral("%1|%2|%3|%4|%5|%6|%7|%8|%9|%10|")
               .arg(family_)
               .arg(size_)
               .arg(antialias_)
               .arg(outline_)
               .arg(fill_)
               .arg(stroke_)
               .arg(shadow_)
               .arg(background_)
               .arg(shadowDx_)
               .arg(shadowDy_) +
           string;
}

void Image::DIBToImg(const Dib& dib) {
    Source copy;
    copy.SetDIB(dib);
    image_ = copy.takeFrame();
}

const Image::Rendered& Image::render(const Text& text, const QString& string, double squeeze, double shift) {
    QString key = text.cacheKey(string);
    if (squeeze != 1 || shift != 0)
        key += QStringLiteral("\n%1 %2").arg(squeeze, 0, 'g', 17).arg(shift, 0, 'g', 17);
    if (auto found = cache_.find(key); found != cache_.end())
        return found->second;
    if (cache_.size() > 64) // titles change once per picture; keep the cache small
        cache_.clear();

    QFont font(text.family_);
    font.setPixelSize(text.size_);
    font.setStyleStrategy(text.antialias_ ? QFont::PreferAntialias : QFont::NoAntialias);
    const QFontMetrics metrics(font);
    // The size is the height of a text cell whose top is at y. The Song-style faces of the
    // titles have their baseline at 0.86 of that cell; the CJK faces that stand in for them
    // have a taller ascent, so the baseline is placed by the original measure to keep the
    // title on its row (and inside the frame at the DVD's row 530).
    const int baseline = std::min(metrics.ascent(), qRound(0.86 * text.size_));
    QPainterPath path;
    path.addText(0, baseline, font, string);

    const int margin = text.outline_ + 2;
    QRect bounds = path.boundingRect().toAlignedRect().adjusted(-margin, -margin, margin, margin);
    bounds |= bounds.translated(text.shadowDx_, text.shadowDy_);
    if (qAlpha(text.background_))
        bounds |= QRect(0, 0, metrics.horizontalAdvance(string), metrics.height());

    // The pixels the squeezed title covers; unsqueezed, its own bounds.
    if (squeeze != 1 || shift != 0)
        bounds =
            QRectF(bounds.left() * squeeze + shift, bounds.top(), bounds.width() * squeeze, bounds.height())
                .toAlignedRect();
    Rendered rendered;
    rendered.offset = bounds.topLeft();
    rendered.overlay = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    rendered.overlay.fill(Qt::transparent);
    if (!rendered.overlay.isNull() && !string.isEmpty()) {
        QPainter painter(&rendered.overlay);
        painter.setRenderHint(QPainter::Antialiasing, text.antialias_ != 0);
        painter.translate(-bounds.topLeft());
        if (squeeze != 1 || shift != 0) {
            // Drawn in square-pixel coordinates through the squeeze: glyphs, outline and
            // shadow are squeezed exactly as the picture is.
            painter.translate(shift, 0);
            painter.scale(squeeze, 1);
        }
        if (qAlpha(text.background_))
            painter.fillRect(QRect(0, 0, metrics.horizontalAdvance(string), metrics.height()),
                             QColor::fromRgba(text.background_));
        const auto strokeAndFill = [&](const QPainterPath& p, QRgb fill, QRgb stroke) {
            if (text.outline_ > 0 && qAlpha(stroke))
                painter.strokePath(p, QPen(QColor::fromRgba(stroke), 2.0 * text.outline_, Qt::SolidLine,
                                           Qt::RoundCap, Qt::RoundJoin));
            painter.fillPath(p, QColor::fromRgba(fill));
        };
        if (qAlpha(text.shadow_) && (text.shadowDx_ || text.shadowDy_))
            strokeAndFill(path.translated(text.shadowDx_, text.shadowDy_), text.shadow_, text.shadow_);
        strokeAndFill(path, text.fill_, text.stroke_);
    }
    return cache_.emplace(key, std::move(rendered)).first->second;
}

void Image::ImgText(const Text& text, int x, int y, const QString& string, double squeeze) {
    if (image_.isNull() || string.isEmpty() || text.family_.isEmpty() || !(squeeze > 0))
        return;
    // Fonts need the GUI application; without one the frame stays as it is.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    const double at = x * squeeze;
    const double whole = std::floor(at);
    const Rendered& rendered = render(text, string, squeeze, at - whole);
    x = static_cast<int>(whole);
    const QImage& overlay = rendered.overlay;
    const int left = x + rendered.offset.x(), top = y + rendered.offset.y();
    const int x0 = std::max(0, left), x1 = std::min(image_.width(), left + overlay.width());
    const int y0 = std::max(0, top), y1 = std::min(image_.height(), top + overlay.height());
    for (int row = y0; row < y1; ++row) {
        const auto* src = reinterpret_cast<const QRgb*>(overlay.constScanLine(row - top)) + (x0 - left);
        std::uint8_t* dst = image_.scanLine(row) + x0 * 3;
        for (int col = x0; col < x1; ++col, ++src, dst += 3) {
            const unsigned a = qAlpha(*src);
            if (a == 0)
                continue;
            // Premultiplied source over the frame; the frame is blue-green-red.
            const unsigned inverse = 255 - a;
            dst[0] = static_cast<std::uint8_t>(qBlue(*src) + (dst[0] * inverse + 127) / 255);
            dst[1] = static_cast<std::uint8_t>(qGreen(*src) + (dst[1] * inverse + 127) / 255);
            dst[2] = static_cast<std::uint8_t>(qRed(*src) + (dst[2] * inverse + 127) / 255);
        }
    }
}

void AudioList::Add(const std::filesystem::path& path, int, int, int) {
    paths_.push_back(path);
}

std::int64_t AudioList::GetSampleCount() const {
    std::int64_t total = 0;
    for (const auto& path : paths_) {
        std::string error;
        if (auto decoder = audio::Mp3Decoder::open(path, {}, error)) {
            const int rate = decoder->sourceFormat().sampleRate;
            if (rate > 0)
                total += decoder->lengthFrames() * 44100 / rate;
        }
    }
    return total;
}

bool AudioList::GetName(int index, std::filesystem::path& name) const {
    if (index < 0 || index >= count())
        return false;
    name = paths_[static_cast<std::size_t>(index)];
    return true;
}

std::string MclMakeTimeStr(double seconds) {
    const auto total = static_cast<long long>(std::isfinite(seconds) && seconds > 0 ? seconds + 0.5 : 0);
    char text[32];
    if (total >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", total / 3600, total / 60 % 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%02lld:%02lld", total / 60, total % 60);
    return text;
}

} // namespace vistello::production
