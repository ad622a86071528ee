// The EMF and WMF players record by record: map modes and windows, world transforms, paths,
// clipping, saved states, object slots, bitmaps and text, each in a file built here and
// checked by the colours where its drawing must and must not be.

#include "gui_environment.h"
#include "metafile_builders.h"

#include "media/gdi_canvas.h"
#include "media/picture_file.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <vector>

using namespace vistello::media;
using namespace vistello::media::testing;

namespace {

const QRgb kRed = qRgb(255, 0, 0), kGreen = qRgb(0, 255, 0), kBlue = qRgb(0, 0, 255),
           kWhite = qRgb(255, 255, 255);

struct Expect {
    QPoint at;
    QRgb colour;
};

struct Case {
    const char* name;
    QByteArray bytes;
    QSize size;
    std::vector<Expect> expects;
};

std::uint32_t u(int v) {
    return static_cast<std::uint32_t>(v);
}

void check(const Case& c) {
    MessageList messages;
    const QImage picture = decodePicture(c.bytes, c.name, messages);
    ASSERT_FALSE(picture.isNull()) << c.name;
    EXPECT_EQ(picture.size(), c.size) << c.name;
    for (const Expect& e : c.expects) {
        const QRgb got = picture.pixel(e.at) & 0xFFFFFF;
        EXPECT_EQ(got, e.colour & 0xFFFFFF)
            << c.name << " at " << e.at.x() << "," << e.at.y() << " is #" << std::hex << got;
    }
}

} // namespace

TEST(MetafilePlayer, EmfRecords) {
    const QByteArray bitmap = dib(2, 1, {kBlue, kGreen});
    const Case cases[] = {
        {"window.emf",
         EmfBuilder()
             .record(17, {8})
             .record(9, {1000, 1000})
             .record(11, {100, 100})
             .nullPen()
             .solidBrush(1, kRed)
             .record(43, {500, 0, 1000, 500})
             .bytes(),
         {100, 100},
         {{{75, 25}, kRed}, {{25, 75}, kWhite}, {{25, 25}, kWhite}}},
        // Tenths of a millimetre counting upwards: 10 mm square above the viewport origin.
        {"lometric.emf",
         EmfBuilder()
             .record(17, {2})
             .record(12, {0, 100})
             .nullPen()
             .solidBrush(1, kRed)
             .record(43, {0, 0, 100, 100})
             .bytes(),
         {100, 100},
         {{{19, 81}, kRed}, {{19, 40}, kWhite}, {{60, 81}, kWhite}}},
        {"world.emf",
         EmfBuilder()
             .record(35, {floatBits(2), 0, 0, floatBits(2), floatBits(10), floatBits(10)})
             .nullPen()
             .solidBrush(1, kRed)
             .record(43, {0, 0, 20, 20})
             .bytes(),
         {100, 100},
         {{{30, 30}, kRed}, {{60, 60}, kWhite}, {{5, 5}, kWhite}}},
        {"path.emf",
         EmfBuilder()
             .nullPen()
             .solidBrush(1, kRed)
             .record(59, {})
             .record(27, {10, 10})
             .record(54, {90, 10})
             .record(54, {90, 90})
             .record(61, {})
             .record(60, {})
             .record(62, {0, 0, 0, 0})
             .bytes(),
         {100, 100},
         {{{80, 30}, kRed}, {{20, 80}, kWhite}}},
        {"clip.emf",
         EmfBuilder()
             .nullPen()
             .solidBrush(1, kRed)
             .record(30, {0, 0, 50, 100})
             .record(43, {0, 0, 100, 100})
             .bytes(),
         {100, 100},
         {{{25, 50}, kRed}, {{75, 50}, kWhite}}},
        {"saved.emf",
         EmfBuilder()
             .nullPen()
             .solidBrush(1, kRed)
             .record(33, {})
             .solidBrush(2, kGreen)
             .record(34, {u(-1)})
             .record(43, {0, 0, 100, 100})
             .bytes(),
         {100, 100},
         {{{50, 50}, kRed}}},
        {"ellipse.emf",
         EmfBuilder().nullPen().solidBrush(1, kBlue).record(42, {0, 0, 100, 100}).bytes(),
         {100, 100},
         {{{50, 50}, kBlue}, {{4, 4}, kWhite}, {{95, 95}, kWhite}}},
        {"stretchdibits.emf",
         EmfBuilder()
             .record(
                 81,
                 {0, 0, 99, 99, 0, 0, 0, 0, 2, 1, 80, 40, 120, u(bitmap.size() - 40), 0, 0xCC0020, 100, 100},
                 bitmap)
             .bytes(),
         {100, 100},
         {{{25, 50}, kBlue}, {{75, 50}, kGreen}}},
        // A wide pen: PolyBezier leaves the current position where it was, so the line runs
        // along the top; PolylineTo goes on from it.
        {"position.emf",
         EmfBuilder()
             .record(38, {1, 0, 10, 0, colorRef(kRed)})
             .record(37, {1})
             .record(27, {10, 20})
             .record(85, {0, 0, 0, 0, 4, 10 | 90u << 16, 30 | 95u << 16, 70 | 95u << 16, 90 | 90u << 16})
             .record(54, {90, 20})
             .record(89, {0, 0, 0, 0, 1, 90 | 60u << 16})
             .bytes(),
         {100, 100},
         {{{50, 20}, kRed}, {{90, 40}, kRed}, {{50, 60}, kWhite}, {{20, 45}, kWhite}}},
        // The frame says one thing, the drawing lies far away: the drawing is shown.
        {"frame_elsewhere.emf",
         EmfBuilder()
             .record(12, {5000, 5000})
             .nullPen()
             .solidBrush(1, kRed)
             .record(43, {0, 0, 50, 100})
             .bytes(),
         {50, 100},
         {{{25, 50}, kRed}}},
    };
    for (const Case& c : cases)
        check(c);
}

TEST(MetafilePlayer, EmfText) {
    QByteArray face(64, '\0');
    QByteArray chars;
    for (char16_t ch : u"HHHH")
        if (ch)
            chars.append(reinterpret_cast<const char*>(&ch), 2);
    const QByteArray bytes =
        EmfBuilder()
            .record(82, {1, u(-60), 0, 0, 0, 700, 0, 0}, face)
            .record(37, {1})
            .record(24, {colorRef(kRed)})
            .record(18, {1})
            .record(22, {0}) // top left
            .record(84, {0, 0, 0, 0, 1, floatBits(1), floatBits(1), 5, 20, 4, 76, 0, 0, 0, 0, 0, 0}, chars)
            .bytes(200);
    MessageList messages;
    const QImage picture = decodePicture(bytes, "text.emf", messages);
    ASSERT_EQ(picture.size(), QSize(200, 200));
    int red = 0;
    QRect where;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qRed(picture.pixel(x, y)) > 200 && qGreen(picture.pixel(x, y)) < 80) {
                ++red;
                where |= QRect(x, y, 1, 1);
            }
    EXPECT_GT(red, 500);
    // Four letters of 60 units from (5, 20) downwards: inside the upper part of the picture.
    EXPECT_GE(where.top(), 20);
    EXPECT_LE(where.bottom(), 90);
    EXPECT_GE(where.left(), 5);
    EXPECT_GT(where.width(), 60);
}

TEST(MetafilePlayer, WmfRecords) {
    const QByteArray bitmap = dib(2, 1, {kBlue, kGreen});
    const Case cases[] = {
        // A window counting upwards: the square at the bottom of the logical range shows at
        // the bottom of the picture.
        {"upwards.wmf",
         WmfBuilder()
             .record(0x0103, {8})
             .record(0x020B, {100, 0})
             .record(0x020C, {-100, 100})
             .solidBrush(kRed)
             .record(0x012D, {0})
             .record(0x041B, {50, 50, 0, 0})
             .bytes(),
         {100, 100},
         {{{25, 75}, kRed}, {{25, 25}, kWhite}, {{75, 75}, kWhite}}},
        // A new object takes the lowest free slot: the blue brush takes the green one's.
        {"slots.wmf",
         WmfBuilder()
             .record(0x020C, {100, 100})
             .solidBrush(kGreen)
             .solidBrush(kRed)
             .record(0x01F0, {0})
             .solidBrush(kBlue)
             .record(0x012D, {0})
             .record(0x041B, {100, 100, 0, 0})
             .bytes(),
         {100, 100},
         {{{50, 50}, kBlue}}},
        {"stretchdib.wmf",
         WmfBuilder()
             .record(0x020C, {100, 100})
             .record(0x0F43, {0x0020, 0x00CC, 0, 1, 2, 0, 0, 100, 100, 0, 0}, bitmap)
             .bytes(),
         {100, 100},
         {{{25, 50}, kBlue}, {{75, 50}, kGreen}}},
        {"clip.wmf",
         WmfBuilder()
             .record(0x020C, {100, 100})
             .solidBrush(kRed)
             .record(0x012D, {0})
             .record(0x0416, {100, 50, 0, 0})
             .record(0x041B, {100, 100, 0, 0})
             .bytes(),
         {100, 100},
         {{{25, 50}, kRed}, {{75, 50}, kWhite}}},
        {"polypolygon.wmf",
         WmfBuilder()
             .record(0x020C, {100, 100})
             .solidBrush(kGreen)
             .record(0x012D, {0})
             .record(0x0538, {2, 4, 4, 0, 0, 40, 0, 40, 40, 0, 40, 60, 60, 100, 60, 100, 100, 60, 100})
             .bytes(),
         {100, 100},
         {{{20, 20}, kGreen}, {{80, 80}, kGreen}, {{80, 20}, kWhite}}},
        // Placeable at 1440 units an inch: a frame of one inch by half an inch is 96 × 48.
        {"placeable.wmf",
         WmfBuilder()
             .record(0x020C, {720, 1440})
             .solidBrush(kRed)
             .record(0x012D, {0})
             .record(0x041B, {720, 720, 0, 0})
             .bytes(1440, {1440, 720}),
         {96, 48},
         {{{24, 24}, kRed}, {{72, 24}, kWhite}}},
    };
    for (const Case& c : cases)
        check(c);
}

// 8-bit text is in the code page of the selected font's character set, as LibreOffice writes
// Chinese text into a WMF.
TEST(MetafilePlayer, EightBitTextFollowsTheFontsCharacterSet) {
    const struct {
        int charset;
        QString text;
    } cases[] = {{134, QString::fromUtf8("世界")},
                 {0, QString::fromUtf8("ÊÀ½ç")},
                 {204, QString::fromUtf8("КАЅз")},
                 {2, QString::fromLatin1("\xca\xc0\xbd\xe7")}};
    for (const auto& c : cases) {
        gdi::Canvas canvas(gdi::PageRule::WindowAtOrigin, {1, 1});
        gdi::Font font;
        font.charset = c.charset;
        canvas.createObject(0, font);
        canvas.selectObject(0);
        EXPECT_EQ(canvas.decodeText("\xca\xc0\xbd\xe7"), c.text) << c.charset;
    }
}
