#include "audio/spectrum.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <tuple>

namespace vistello::audio {
namespace {

SpectrumData withBar0(float value) {
    SpectrumData data{};
    data[SpectrumLevels::kFirstElement] = value;
    return data;
}

TEST(SpectrumLevels, MagnitudeToHeight) {
    SpectrumLevels levels;
    const std::tuple<float, int> cases[] = {
        {0.0f, 0}, {0.1f, 50}, {-0.1f, 50}, {0.0999f, 49}, {0.2f, 100}, {0.9f, 100}, {1e30f, 100},
    };
    for (const auto& [value, height] : cases)
        EXPECT_EQ(levels.heightOf(value), height) << value;
}

TEST(SpectrumLevels, BarsFallByTheirStepAndPeaksByOne) {
    SpectrumLevels levels;
    levels.barFall = 8;
    levels.update(withBar0(0.2f));
    EXPECT_EQ(levels.bars[0], 100);
    EXPECT_EQ(levels.peaks[0], 100);
    for (int frame = 1; frame <= 13; ++frame) {
        levels.update({});
        EXPECT_EQ(levels.bars[0], std::max(100 - 8 * frame, 0)) << frame;
        EXPECT_EQ(levels.peaks[0], 100 - frame) << frame;
    }
    EXPECT_EQ(levels.bars[0], 0); // 100 − 12 × 8 = 4, then 0
    for (int frame = 14; frame <= 100; ++frame)
        levels.update({});
    EXPECT_EQ(levels.peaks[0], 0);
    levels.update({});
    EXPECT_EQ(levels.peaks[0], 0);
}

TEST(SpectrumLevels, BarIReadsElementIPlusFive) {
    SpectrumLevels levels;
    SpectrumData data{};
    data[4] = 1.0f;    // below the first bar: ignored
    data[133] = 0.05f; // the last bar
    data[134] = 1.0f;  // beyond it: ignored
    levels.update(data);
    EXPECT_EQ(levels.bars[128], 25);
    EXPECT_EQ(std::count(levels.bars.begin(), levels.bars.end(), 0), SpectrumLevels::kBars - 1);
}

struct DrawnSpectrum : testing::Test {
    TSpectrum spectrum{177, 121};
    DrawnSpectrum() {
        spectrum.BackColor = 0x000000;
        spectrum.Pen = 0x00FF00;
        spectrum.Peak = 0x00FFFF;
        spectrum.LineWidth = 3;
        spectrum.LineFallOff = 8;
    }
    QRgb at(int x, int y) const { return spectrum.bitmap().pixel(x, y); }
};

TEST_F(DrawnSpectrum, BarsStandLineWidthPlusOneApart) {
    SpectrumData data{};
    data[5] = 0.1f; // bar 0: 50 pixels
    data[6] = 0.1f; // bar 1 at x = 4
    spectrum.Draw(data);
    const QRgb bar = qRgb(0, 255, 0);
    const QRgb back = qRgb(0, 0, 0);
    EXPECT_EQ(at(0, 120), bar);
    EXPECT_EQ(at(2, 121 - 50), bar);
    EXPECT_EQ(at(2, 121 - 51), back);
    EXPECT_EQ(at(3, 120), back); // the gap
    EXPECT_EQ(at(4, 120), bar);
    EXPECT_EQ(at(0, 10), back); // above the 100-pixel maximum stays background
}

TEST_F(DrawnSpectrum, PeakMarkShowsOnlyAboveItsBar) {
    spectrum.Draw(withBar0(0.1f)); // bar and peak at 50: the bar's top row hides the mark
    EXPECT_EQ(at(0, 121 - 50), qRgb(0, 255, 0));
    spectrum.Draw({}); // bar 42, peak 49
    EXPECT_EQ(spectrum.levels().bars[0], 42);
    EXPECT_EQ(at(0, 121 - 49), qRgb(255, 255, 0)); // 0x00FFFF is yellow
    EXPECT_EQ(at(0, 121 - 48), qRgb(0, 0, 0));
    EXPECT_EQ(at(0, 121 - 42), qRgb(0, 255, 0));
}

TEST_F(DrawnSpectrum, CopiesTheFrameOntoTheTarget) {
    QImage surface(177, 121, QImage::Format_RGB32);
    surface.fill(Qt::white);
    QPainter painter(&surface);
    spectrum.Draw(withBar0(0.2f), &painter);
    painter.end();
    EXPECT_EQ(surface.pixel(0, 120), qRgb(0, 255, 0));
    EXPECT_EQ(surface.pixel(100, 10), qRgb(0, 0, 0));
}

} // namespace
} // namespace vistello::audio
