#pragma once
// TSpectrum draws one block of spectrum magnitudes as 129 vertical bars with falling peak
// marks. SpectrumLevels is its arithmetic alone (how bars rise, sink and leave their peak
// marks behind); TSpectrum adds the off-screen bitmap that each frame is composed in before
// it is copied to the player's surface in one piece. The player makes a new TSpectrum each
// time it is given a file, so levels start from zero per song.

#include "audio/sound_engine.h"

#include <QImage>

#include <array>
#include <cstdint>

class QPainter;

namespace vistello::audio {

struct SpectrumLevels {
    static constexpr int kBars = 129;
    static constexpr int kFirstElement = 5; // bar i shows element i + 5

    int maxHeight = 100; // pixels, whatever the bitmap's height
    int peakFall = 1;    // pixels a peak mark sinks per frame
    int barFall = 0;     // pixels a bar sinks per frame (the player's LineFallOff)
    std::array<int, kBars> bars{};
    std::array<int, kBars> peaks{};

    // Height in pixels that magnitude `value` asks for: |value| × 500, at most maxHeight.
    int heightOf(float value) const;
    // One frame: bars jump up to a louder level and sink by barFall; peaks sink by peakFall.
    void update(const SpectrumData& data);
};

class TSpectrum {
  public:
    // Colours are 0x00BBGGRR.
    TSpectrum(int width, int height);

    std::uint32_t BackColor = 0x000000;
    std::uint32_t Pen = 0xFFFFFF;
    std::uint32_t Peak = 0x00FFFF;
    int LineWidth = 3;
    int LineFallOff = 6;

    // Composes one frame from `data` into the bitmap and, when given, copies it onto
    // `target` at (0, 0).
    void Draw(const SpectrumData& data, QPainter* target = nullptr);

    const QImage& bitmap() const { return bitmap_; }
    const SpectrumLevels& levels() const { return levels_; }

  private:
    QImage bitmap_;
    SpectrumLevels levels_;
};

// 0x00BBGGRR as a Qt colour value.
QRgb rgbFromColorRef(std::uint32_t color);

} // namespace vistello::audio
