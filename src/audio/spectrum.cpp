#include "audio/spectrum.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vistello::audio {

QRgb rgbFromColorRef(std::uint32_t color) {
    return qRgb(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>((color >> 16) & 0xFF));
}

int SpectrumLevels::heightOf(float value) const {
    const double scaled = std::fabs(static_cast<double>(value)) * 500.0;
    // NaN and huge values are simply loud; the cast then stays in range.
    if (!(scaled < maxHeight))
        return maxHeight;
    return static_cast<int>(scaled);
}

void SpectrumLevels::update(const SpectrumData& data) {
    for (int i = 0; i < kBars; ++i) {
        const int y = heightOf(data[static_cast<std::size_t>(i + kFirstElement)]);
        peaks[i] = y >= peaks[i] ? y : peaks[i] - peakFall;
        bars[i] = y >= bars[i] ? y : bars[i] - barFall;
        peaks[i] = std::max(peaks[i], 0);
        bars[i] = std::max(bars[i], 0);
    }
}

TSpectrum::TSpectrum(int width, int height)
    : bitmap_(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32) {
    bitmap_.fill(Qt::black);
}

void TSpectrum::Draw(const SpectrumData& data, QPainter* target) {
    levels_.barFall = LineFallOff;
    levels_.update(data);

    const int height = bitmap_.height();
    bitmap_.fill(rgbFromColorRef(BackColor));
    QPainter painter(&bitmap_);
    const QColor peakColor = QColor::fromRgb(rgbFromColorRef(Peak));
    const QColor barColor = QColor::fromRgb(rgbFromColorRef(Pen));
    for (int i = 0; i < SpectrumLevels::kBars; ++i) {
        const int x = i * (LineWidth + 1);
        if (x >= bitmap_.width())
            break; // every later bar lies outside the bitmap as well
        // The peak mark first, so that a bar as high as its peak hides it.
        const int peakY = height - levels_.peaks[i];
        if (LineWidth > 0)
            painter.fillRect(x, peakY, LineWidth, 1, peakColor);
        const int bar = levels_.bars[i];
        if (LineWidth > 0 && bar > 0)
            painter.fillRect(x, height - bar, LineWidth, bar, barColor);
    }
    painter.end();
    if (target != nullptr)
        target->drawImage(0, 0, bitmap_);
}

} // namespace vistello::audio
