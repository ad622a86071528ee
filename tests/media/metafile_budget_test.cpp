// The metafile players' work budget: files built to keep Qt's painting busy (the page painted
// over and over, a pen wider than the page along a long zigzag, dots along a line far past the
// page, a complex clip combined with itself or changed for every shape) are refused like a
// damaged file, while drawings of an honest size next to them, and a clip far wider than the
// page that Qt's antialiasing could not draw quickly, are still drawn.

#include "gui_environment.h"
#include "metafile_builders.h"

#include "media/picture_file.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vistello::media;
using namespace vistello::media::testing;

namespace {

const QRgb kRed = qRgb(255, 0, 0);

std::uint32_t u(int v) {
    return static_cast<std::uint32_t>(v);
}

// 16-bit points for the EMF 16-bit poly records and the WMF ones.
QByteArray points16(const std::vector<QPoint>& points) {
    QByteArray out;
    for (const QPoint& p : points)
        for (int v : {p.x(), p.y()}) {
            out.append(static_cast<char>(v & 0xFF));
            out.append(static_cast<char>((v >> 8) & 0xFF));
        }
    return out;
}

// `count` points that zigzag between the top left and the bottom right corner of a square of `side`.
std::vector<QPoint> zigzag(int count, int side) {
    std::vector<QPoint> out;
    for (int i = 0; i < count; ++i)
        out.push_back(i % 2 ? QPoint(side, side) : QPoint(0, 0));
    return out;
}

// An EMF region of `count` small squares along the diagonal of a square of `side`.
QByteArray staircase(int count, int side) {
    QByteArray out;
    const auto put = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.append(static_cast<char>(v >> (8 * i)));
    };
    for (std::uint32_t v : {32u, 1u, u(count), u(16 * count), 0u, 0u, u(side), u(side)})
        put(v);
    for (int i = 0; i < count; ++i) {
        const int at = i * side / count;
        for (int v : {at, at, at + side / count + 1, at + side / count + 1})
            put(u(v));
    }
    return out;
}

EmfBuilder& repeat(EmfBuilder& emf, int times, const std::function<void(EmfBuilder&)>& step) {
    for (int i = 0; i < times; ++i)
        step(emf);
    return emf;
}

struct Case {
    const char* name;
    QByteArray bytes;
    bool drawn; // an honest drawing next to the hostile ones
};

} // namespace

TEST(MetafileBudget, HostileDrawingsAreRefusedHonestOnesDrawn) {
    constexpr int kSide = 1000;
    const QByteArray region = staircase(400, kSide);
    EmfBuilder pageOverAndOver, pageAFewTimes, wideZigzag, narrowZigzag, dots, clipWithItself, clipPerShape,
        sameClipPerShape;
    repeat(pageOverAndOver.nullPen().solidBrush(1, kRed), 400, [](EmfBuilder& e) {
        e.record(43, {0, 0, kSide, kSide});
    });
    repeat(pageAFewTimes.nullPen().solidBrush(1, kRed), 40, [](EmfBuilder& e) {
        e.record(43, {0, 0, kSide, kSide});
    });
    // Both under a clip to the page, so that the picture keeps the page's size.
    wideZigzag.record(30, {0, 0, kSide, kSide})
        .record(38, {1, 0, 100000, 0, colorRef(kRed)})
        .record(37, {1})
        .record(87, {0, 0, kSide, kSide, 40000}, points16(zigzag(40000, kSide)));
    narrowZigzag.record(30, {0, 0, kSide, kSide})
        .record(38, {1, 0, 1, 0, colorRef(kRed)})
        .record(37, {1})
        .record(87, {0, 0, kSide, kSide, 2000}, points16(zigzag(2000, kSide)));
    dots.record(30, {0, 0, kSide, kSide})
        .record(38, {1, 2, 1, 0, colorRef(kRed)})
        .record(37, {1})
        .record(27, {u(-2000000000), 500})
        .record(54, {2000000000, 500});
    clipWithItself.nullPen().solidBrush(1, kRed).record(75, {u(region.size()), 5}, region);
    repeat(clipWithItself, 40, [&region](EmfBuilder& e) { e.record(75, {u(region.size()), 3}, region); });
    clipWithItself.record(43, {0, 0, kSide, kSide});
    // Each shape under its own clip, an ellipse that must be rasterised.
    const auto clippedShape = [](int inset) {
        return [inset](EmfBuilder& e) {
            e.record(33, {})
                .record(59, {})
                .record(42, {u(inset), 0, u(kSide - inset), kSide})
                .record(60, {})
                .record(67, {1})
                .record(43, {0, 0, 10, 10})
                .record(34, {u(-1)});
        };
    };
    clipPerShape.nullPen().solidBrush(1, kRed);
    for (int i = 0; i < 300; ++i)
        clippedShape(i % 2)(clipPerShape);
    repeat(sameClipPerShape.nullPen().solidBrush(1, kRed), 300, clippedShape(0));
    // A clip millions of pixels wide: drawn (without antialiasing), not refused.
    EmfBuilder farClip;
    farClip.nullPen().solidBrush(1, kRed).record(59, {}).record(42, {0, 0, 7472104, kSide}).record(60, {});
    farClip.record(67, {1}).record(43, {0, 0, 10, 10});

    WmfBuilder wmfPageOverAndOver, wmfPageAFewTimes;
    wmfPageOverAndOver.solidBrush(kRed).record(0x012D, {0});
    for (int i = 0; i < 400; ++i)
        wmfPageOverAndOver.record(0x041B, {kSide, kSide, 0, 0});
    wmfPageAFewTimes.solidBrush(kRed).record(0x012D, {0});
    for (int i = 0; i < 40; ++i)
        wmfPageAFewTimes.record(0x041B, {kSide, kSide, 0, 0});

    const Case cases[] = {
        {"page_over_and_over.emf", pageOverAndOver.bytes(kSide), false},
        {"page_a_few_times.emf", pageAFewTimes.bytes(kSide), true},
        {"pen_wider_than_page_zigzag.emf", wideZigzag.bytes(kSide), false},
        {"thin_pen_zigzag.emf", narrowZigzag.bytes(kSide), true},
        {"dots_far_past_the_page.emf", dots.bytes(kSide), false},
        {"clip_combined_with_itself.emf", clipWithItself.bytes(kSide), false},
        {"complex_clip_changed_per_shape.emf", clipPerShape.bytes(kSide), false},
        {"same_clip_for_every_shape.emf", sameClipPerShape.bytes(kSide), true},
        {"clip_far_wider_than_the_page.emf", farClip.bytes(kSide), true},
        {"page_over_and_over.wmf", wmfPageOverAndOver.bytes(96, {kSide, kSide}), false},
        {"page_a_few_times.wmf", wmfPageAFewTimes.bytes(96, {kSide, kSide}), true},
    };
    for (const Case& c : cases) {
        MessageList messages;
        const QImage picture = decodePicture(c.bytes, c.name, messages);
        if (c.drawn) {
            ASSERT_FALSE(picture.isNull()) << c.name;
            EXPECT_EQ(picture.size(), QSize(kSide, kSide)) << c.name;
            EXPECT_TRUE(messages.messages.isEmpty()) << c.name;
        } else {
            EXPECT_TRUE(picture.isNull()) << c.name;
            EXPECT_FALSE(messages.messages.isEmpty()) << c.name; // said like any unreadable file
        }
    }
}

namespace {

int redPixels(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            count += rgb.pixel(x, y) == kRed;
    return count;
}

// Whether any pixel of `picture` blends red into white, as antialiased edges do.
bool hasBlendedPixels(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb p = rgb.pixel(x, y);
            if (p != kRed && p != qRgb(255, 255, 255))
                return true;
        }
    return false;
}

} // namespace

// Qt's antialiasing rasteriser takes time that grows with the square of the cells a shape's
// edges pass: such shapes are drawn whole but without antialiasing, while ordinary shapes
// keep it.
TEST(MetafileBudget, ShapesTooCostlyToAntialiasAreDrawnSharp) {
    constexpr int kSide = 400;
    // A filled polygon of a thousand points spread over the page.
    std::vector<QPoint> scattered;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 1000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        scattered.emplace_back(int(seed >> 8) % kSide, int(seed >> 20) % kSide);
    }
    EmfBuilder scatteredPolygon;
    scatteredPolygon.nullPen().solidBrush(1, kRed).record(86, {0, 0, kSide, kSide, 1000},
                                                          points16(scattered));
    // An ordinary ellipse with a dashed outline (drawn as the outline of its dashes).
    EmfBuilder ordinary;
    ordinary.record(38, {1, 1, 4, 0, colorRef(kRed)})
        .record(37, {1})
        .record(37, {0x80000005u})
        .record(42, {20, 20, 380, 300});

    const struct {
        const char* name;
        QByteArray bytes;
        bool antialiased;
    } cases[] = {
        {"scattered_polygon.emf", scatteredPolygon.bytes(kSide), false},
        {"dashed_ellipse.emf", ordinary.bytes(kSide), true},
    };
    for (const auto& c : cases) {
        MessageList messages;
        const QImage picture = decodePicture(c.bytes, c.name, messages);
        ASSERT_FALSE(picture.isNull()) << c.name;
        EXPECT_TRUE(messages.messages.isEmpty()) << c.name;
        EXPECT_GT(redPixels(picture), 100) << c.name;
        EXPECT_EQ(hasBlendedPixels(picture), c.antialiased) << c.name;
    }
}
